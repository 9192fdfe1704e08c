// Real zones read from the system's tz database, and the classic rule.
#include <gtest/gtest.h>

#include <cmath>

#include "base/error.h"
#include "timecalc/calendar.h"
#include "timecalc/zone_file.h"
#include "timecalc/zone_rule.h"

namespace vk {
namespace {

constexpr double kSecond = 1.0 / 86400;

ZoneRule Real(const std::string& name) {
  return {0.0, std::make_shared<const ZoneTable>(ReadZoneTable("/usr/share/zoneinfo", name))};
}

// Offsets around 2024's switches, from the zones' published rules: each row
// gives an instant in UT and the offset and abbreviation one second before
// and one second after it.
struct Switch {
  const char* zone;
  int y, m, d, h, min;  // UT
  double before_h, after_h;
  const char* before;
  const char* after;
};

const Switch kSwitches[] = {
    // Sydney: summer time ends first Sunday of April 03:00 AEDT, starts first Sunday of October 02:00 AEST.
    {"Australia/Sydney", 2024, 4, 6, 16, 0, 11, 10, "AEDT", "AEST"},
    {"Australia/Sydney", 2024, 10, 5, 16, 0, 10, 11, "AEST", "AEDT"},
    // New York: second Sunday of March 02:00 EST, first Sunday of November 02:00 EDT.
    {"America/New_York", 2024, 3, 10, 7, 0, -5, -4, "EST", "EDT"},
    {"America/New_York", 2024, 11, 3, 6, 0, -4, -5, "EDT", "EST"},
    // Lord Howe Island: half an hour of summer time, switching at 02:00 local.
    {"Australia/Lord_Howe", 2024, 4, 6, 15, 0, 11, 10.5, "+11", "+1030"},
    {"Australia/Lord_Howe", 2024, 10, 5, 15, 30, 10.5, 11, "+1030", "+11"},
    // Berlin: last Sunday of March and of October, 01:00 UT.
    {"Europe/Berlin", 2024, 3, 31, 1, 0, 1, 2, "CET", "CEST"},
    {"Europe/Berlin", 2033, 10, 30, 1, 0, 2, 1, "CEST", "CET"},
};

TEST(RealZone, OffsetsSwitchAtTheInstantsOfThePublishedRules) {
  for (const Switch& s : kSwitches) {
    const ZoneRule rule = Real(s.zone);
    const double t = CalendarToJD(s.y, s.m, s.d, s.h, s.min, 0);
    const ZoneState a = ZoneStateAt(rule, t - kSecond), b = ZoneStateAt(rule, t + kSecond);
    EXPECT_EQ(a.offset_hours, s.before_h) << s.zone << " " << s.m;
    EXPECT_EQ(b.offset_hours, s.after_h) << s.zone << " " << s.m;
    EXPECT_EQ(a.abbreviation, s.before) << s.zone;
    EXPECT_EQ(b.abbreviation, s.after) << s.zone;
    EXPECT_NEAR((ZoneLocalJD(rule, t + kSecond) - t - kSecond) * 24, s.after_h, 1e-6) << s.zone;
  }
}

// Mid-summer and mid-winter of the northern year: zones without summer time stay put.
struct Season {
  const char* zone;
  double january_h, july_h;
  bool summer_in_july;
};

const Season kSeasons[] = {
    {"Asia/Tokyo", 9, 9, false},         {"America/Phoenix", -7, -7, false},
    {"Australia/Brisbane", 10, 10, false}, {"Australia/Sydney", 11, 10, false},
    {"America/New_York", -5, -4, true},  {"Europe/Zurich", 1, 2, true},
    {"Asia/Kolkata", 5.5, 5.5, false},   {"Asia/Kathmandu", 5.75, 5.75, false},
};

TEST(RealZone, ZonesWithoutSummerTimeKeepOneOffsetAllYear) {
  for (const Season& s : kSeasons) {
    const ZoneRule rule = Real(s.zone);
    for (int year : {2021, 2024, 2033}) {
      const ZoneState jan = ZoneStateAt(rule, CalendarToJD(year, 1, 15, 12, 0, 0));
      const ZoneState jul = ZoneStateAt(rule, CalendarToJD(year, 7, 15, 12, 0, 0));
      EXPECT_EQ(jan.offset_hours, s.january_h) << s.zone << " " << year;
      EXPECT_EQ(jul.offset_hours, s.july_h) << s.zone << " " << year;
      EXPECT_EQ(jul.summer, s.summer_in_july) << s.zone << " " << year;
    }
  }
}

TEST(ClassicRule, IsTheFixedOffsetWithTheEuropeanRuleBitForBit) {
  for (double zone : {-12.0, -3.5, 0.0, 1.0, 5.75, 14.0})
    for (double jd = 2459580.5; jd < 2463600; jd += 0.37) {
      double expected = jd + zone / 24;
      if (IsSummerTime(jd)) expected += 1.0 / 24;
      ASSERT_EQ(ZoneLocalJD(ZoneRule{zone, nullptr}, jd), expected) << zone << " " << jd;
    }
}

TEST(ZoneLabel, OffsetTextsAndGermanNames) {
  const std::pair<double, const char*> offsets[] = {{2, "UTC+02:00"}, {10, "UTC+10:00"}, {-9.5, "UTC-09:30"},
                                                   {5.75, "UTC+05:45"}, {0, "UTC+00:00"}, {-0.0, "UTC+00:00"}};
  for (const auto& [h, text] : offsets) EXPECT_EQ(OffsetText(h), text);
  EXPECT_EQ(GermanAbbreviation("CEST"), "MESZ");
  EXPECT_EQ(GermanAbbreviation("CET"), "MEZ");
  EXPECT_EQ(GermanAbbreviation("AEST"), "AEST");
}

TEST(ZoneFile, BadNamesAndFilesFailClearly) {
  for (const char* bad : {"", "/etc/passwd", "../zoneinfo/UTC", "Europe//Berlin", "Europe/Berlin/", "Europe/B erlin"})
    EXPECT_FALSE(IsZoneName(bad)) << bad;
  EXPECT_TRUE(IsZoneName("America/Argentina/Buenos_Aires"));
  EXPECT_TRUE(IsZoneName("Etc/GMT+5"));
  EXPECT_THROW(ReadZoneTable("/usr/share/zoneinfo", "Europe/Berln"), Error);
  EXPECT_THROW(ReadZoneTable("/nonexistent-tz", "Europe/Berlin"), Error);
  EXPECT_THROW(ParseZoneFile("TZif2 but short", "x", 0, 1), Error);
  EXPECT_THROW(ParseZoneFile(std::string(60, 'x'), "x", 0, 1), Error);
  const std::string berlin = [] {
    FILE* f = std::fopen("/usr/share/zoneinfo/Europe/Berlin", "rb");
    std::string s(100000, '\0');
    s.resize(std::fread(s.data(), 1, s.size(), f));
    std::fclose(f);
    return s;
  }();
  for (std::size_t cut : {std::size_t{44}, std::size_t{300}, berlin.size() / 2})
    EXPECT_THROW(ParseZoneFile(berlin.substr(0, cut), "Europe/Berlin", 2459215.5, 2463598.5), Error) << cut;
}

}  // namespace
}  // namespace vk
