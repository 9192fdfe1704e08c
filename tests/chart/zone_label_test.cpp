// The day label under real zones: abbreviation and offset at local noon of
// the chosen day, German names for the central European zones.
#include <gtest/gtest.h>

#include "chart/day_chart.h"
#include "support/chart_fixtures.h"
#include "timecalc/zone_file.h"

namespace vk {
namespace {

using test::Local;

TEST(ZoneLabel, StateOfTheChosenDayUnderRealZones) {
  const struct {
    const char* zone;
    int y, m, d;
    const char* label;
  } rows[] = {
      {"Australia/Sydney", 2024, 1, 15, "(AEDT, UTC+11:00)"}, {"Australia/Sydney", 2024, 7, 15, "(AEST, UTC+10:00)"},
      {"Australia/Sydney", 2024, 4, 7, "(AEST, UTC+10:00)"},  // switch at 03:00: noon is standard time
      {"Australia/Sydney", 2024, 4, 6, "(AEDT, UTC+11:00)"},  {"America/New_York", 2024, 3, 9, "(EST, UTC-05:00)"},
      {"America/New_York", 2024, 3, 10, "(EDT, UTC-04:00)"},  {"America/New_York", 2024, 11, 3, "(EST, UTC-05:00)"},
      {"Australia/Lord_Howe", 2024, 7, 15, "(+1030, UTC+10:30)"}, {"Asia/Tokyo", 2024, 7, 15, "(JST, UTC+09:00)"},
      {"America/Phoenix", 2024, 7, 15, "(MST, UTC-07:00)"},   {"Europe/Berlin", 2024, 7, 15, "(MESZ, UTC+02:00)"},
      {"Europe/Berlin", 2024, 1, 15, "(MEZ, UTC+01:00)"},     {"Asia/Kathmandu", 2031, 12, 30, "(+0545, UTC+05:45)"},
      {"America/St_Johns", 2022, 1, 1, "(NST, UTC-03:30)"},
  };
  for (const auto& r : rows) {
    const ZoneTable t = ReadZoneTable("/usr/share/zoneinfo", r.zone);
    EXPECT_EQ(Day_Fields(Local(r.y, r.m, r.d, 0, 0), &t).DST_Text, r.label) << r.zone << " " << r.m << "-" << r.d;
  }
  // Without a real zone the classic texts stay.
  EXPECT_EQ(Day_Fields(Local(2024, 7, 15, 0, 0), nullptr).DST_Text, "(+01:00 Sommerzeit)");
  EXPECT_EQ(Day_Fields(Local(2024, 1, 15, 0, 0), nullptr).DST_Text, "(Normalzeit)");
}

}  // namespace
}  // namespace vk
