// A zone file (TZif): a table for the years of the almanac, or an Error with
// a short message. A table's transitions ascend, its offsets lie within 26
// hours, its abbreviations are printable, and local time follows from it.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "base/error.h"
#include "timecalc/calendar.h"
#include "timecalc/zone_file.h"
#include "timecalc/zone_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const double from = vk::CalendarToJD(vk::kZoneFirstYear, 1, 1, 0, 0, 0) - 1;
  static const double to = vk::CalendarToJD(vk::kZoneLastYear + 1, 1, 1, 0, 0, 0) + 1;
  auto table = std::make_shared<vk::ZoneTable>();
  try {
    *table = vk::ParseZoneFile(std::string(reinterpret_cast<const char*>(data), size), "zone", from, to);
  } catch (const vk::Error& e) {
    if (std::strlen(e.what()) > 400) __builtin_trap();
    for (const char* c = e.what(); *c; ++c)
      if (static_cast<unsigned char>(*c) < 0x20) __builtin_trap();
    return 0;
  }
  const auto& t = table->transitions;
  if (t.empty() || t.front().jd_ut != from) __builtin_trap();
  for (std::size_t k = 0; k < t.size(); ++k) {
    if (k > 0 && !(t[k].jd_ut > t[k - 1].jd_ut && t[k].jd_ut <= to)) __builtin_trap();
    if (t[k].offset_seconds < -26 * 3600 || t[k].offset_seconds > 26 * 3600) __builtin_trap();
    for (const char c : t[k].abbreviation)
      if (c < 0x20 || c > 0x7E) __builtin_trap();
  }
  const vk::ZoneRule rule{0, table};
  for (double jd = from; jd <= to; jd += 97.3) {
    const double local = vk::ZoneLocalJD(rule, jd);
    if (!(local - jd <= 26.0 / 24 + 1e-9 && jd - local <= 26.0 / 24 + 1e-9)) __builtin_trap();
    (void)vk::ZoneStateOnDay(rule, std::floor(jd) + 0.5);
  }
  return 0;
}
