// The 40 time zones offered for the site, with their offsets from UT.
#pragma once
#include <array>
#include <string_view>

namespace vk {

struct tTZone_Ary {
  double offset_hours;            // offset from UT, hours
  std::string_view label;         // "UTC+01:00"; entry 15 is "UTC" and six blanks
  std::string_view abbreviations; // "UTC+01      CET; DFT; …"
};

inline constexpr int kZoneCount = 40;
inline constexpr int kDefaultZone = 16;  // UTC+01:00

extern const std::array<tTZone_Ary, kZoneCount> TimeZones;

// The label without surrounding blanks, as the zone list shows it ("UTC" for entry 15).
std::string_view ZoneListText(int zone);

}  // namespace vk
