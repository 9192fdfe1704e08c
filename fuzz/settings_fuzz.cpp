// The settings file: read over the defaults, its fields taken out as the
// window does.
#include <cstdint>

#include "programfiles/settings_file.h"
#include "timecalc/time_zones.h"
#include "fuzz_file.h"
#include "base/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vk::SettingsRecord rec = vk::DefaultSettings("1.0.0.0");
  try {
    vk::ReadSettingsFile(vk::fuzz::InputFile(data, size), rec);
  } catch (const vk::Error&) {
    return 0;
  }
  (void)vk::SettingsVersion(rec);
  const int zone = rec.zone;
  const double lat = rec.latitude, lon = rec.longitude;
  const int row = zone >= 0 && zone < vk::kZoneCount ? zone : vk::kDefaultZone;
  (void)vk::TimeZones[static_cast<std::size_t>(row)];
  (void)lat;
  (void)lon;
  return 0;
}
