#include "mainwindow/place_options.h"

#include "mainwindow/options_file.h"

namespace vk {
namespace {

constexpr const char* kPlaceKey = "Ort/Name";
constexpr const char* kZoneKey = "Ort/Zeitzone";

}  // namespace

PlaceOptions ReadPlaceOptions(const std::filesystem::path& ini) {
  auto values = ReadOptionValues(ini, {kPlaceKey, kZoneKey});
  return {values[kPlaceKey], values[kZoneKey]};
}

void WritePlaceOptions(const std::filesystem::path& ini, const PlaceOptions& options) {
  WriteOptionValues(ini, {{kPlaceKey, options.place}, {kZoneKey, options.zone}});
}

}  // namespace vk
