// The zone-file reader: slim files (the rule in the footer only) against fat
// ones built by zic from the same source, and damaged files refused with
// their path and the reason.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "base/error.h"
#include "support/temp_dir.h"
#include "timecalc/calendar.h"
#include "timecalc/places.h"
#include "timecalc/zone_file.h"

namespace vk {
namespace {

const std::filesystem::path kSystemZones = "/usr/share/zoneinfo";

// The tz database compiled by zic from the system's tzdata.zi, "slim" or "fat".
std::filesystem::path Compiled(const test::TempDir& dir, const char* bloat) {
  const auto out = dir / bloat;
  const std::string cmd = std::string("zic -b ") + bloat + " -d '" + out.string() + "' " +
                          (kSystemZones / "tzdata.zi").string() + " 2>&1";
  return std::system(cmd.c_str()) == 0 ? out : std::filesystem::path();
}

TEST(ZoneFile, SlimFilesGiveTheTablesOfFatOnes) {
  if (!std::filesystem::exists(kSystemZones / "tzdata.zi") || std::system("command -v zic >/dev/null") != 0)
    GTEST_SKIP() << "no zic or tzdata.zi";
  test::TempDir dir;
  const auto slim = Compiled(dir, "slim"), fat = Compiled(dir, "fat");
  ASSERT_FALSE(slim.empty() || fat.empty());
  const PlaceList places = ReadPlaces(kSystemZones);
  ASSERT_GT(places.places.size(), 300u);
  int switching = 0;
  for (const Place& p : places.places) {
    const ZoneTable s = ReadZoneTable(slim, p.zone), f = ReadZoneTable(fat, p.zone);
    ASSERT_EQ(s.transitions.size(), f.transitions.size()) << p.zone;
    for (std::size_t k = 0; k < s.transitions.size(); ++k) {
      const ZoneTransition &a = s.transitions[k], &b = f.transitions[k];
      ASSERT_TRUE(a.jd_ut == b.jd_ut && a.offset_seconds == b.offset_seconds && a.summer == b.summer &&
                  a.abbreviation == b.abbreviation)
          << p.zone << " transition " << k << ": " << a.abbreviation << " " << a.jd_ut << " against "
          << b.abbreviation << " " << b.jd_ut;
    }
    switching += s.transitions.size() > 20;
  }
  EXPECT_GT(switching, 100) << "zones with summer time every year";
  // Berlin's last switch of the span, from the footer alone.
  const ZoneTable berlin = ReadZoneTable(slim, "Europe/Berlin");
  EXPECT_EQ(berlin.transitions.back().jd_ut, CalendarToJD(kZoneLastYear, 10, 30, 1, 0, 0));
  EXPECT_EQ(berlin.transitions.back().abbreviation, "CET");
}

// Real zones over the century: their history before 1970 and their footer's
// rule after the last transition; the classic rows keep their fixed rule.
TEST(ZoneFile, HistoryBefore1970AndTheFooterRuleToTheSpansEnd) {
  if (!std::filesystem::exists(kSystemZones / "America/Chicago")) GTEST_SKIP() << "no tz database";
  const struct {
    const char* zone;
    int y, m, d;
    double offset_hours;
    const char* abbreviation;
  } kDays[] = {
      {"America/Chicago", 1969, 7, 20, -5, "CDT"},    {"America/Chicago", 1969, 1, 15, -6, "CST"},
      {"Europe/Zurich", 1965, 6, 14, 1, "CET"},       {"Europe/Zurich", 1990, 6, 14, 2, "CEST"},
      {"Australia/Sydney", 2059, 12, 31, 11, "AEDT"}, {"Australia/Sydney", 1960, 1, 1, 10, "AEST"},
  };
  for (const auto& c : kDays) {
    ZoneRule rule;
    rule.table = std::make_shared<const ZoneTable>(ReadZoneTable(kSystemZones, c.zone));
    const ZoneState s = ZoneStateAt(rule, CalendarToJD(c.y, c.m, c.d, 12, 0, 0));
    EXPECT_EQ(s.offset_hours, c.offset_hours) << c.zone << " " << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(s.abbreviation, c.abbreviation) << c.zone << " " << c.y;
  }
  // The classic row: summer time by the European rule in 1965 as in 2045.
  for (const int year : {1965, 2045})
    EXPECT_EQ(ZoneStateAt(ZoneRule{1.0, nullptr}, CalendarToJD(year, 7, 1, 12, 0, 0)).offset_hours, 2.0) << year;
}

// A version 2 zone file: an empty first block, then the transitions, types
// and abbreviations given, and the footer line.
struct TzifSpec {
  std::vector<std::int64_t> times;
  std::vector<std::uint8_t> index;
  std::vector<std::pair<std::int32_t, std::uint8_t>> types;  // offset, abbreviation index (no summer flag)
  std::string chars;
  std::string footer;  // the whole footer, newlines included
};

std::string Be(std::int64_t v, int width) {
  std::string out;
  for (int i = width - 1; i >= 0; --i) out += static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i) & 0xFF);
  return out;
}

std::string Tzif(const TzifSpec& z) {
  const auto header = [](std::size_t times, std::size_t types, std::size_t chars) {
    return std::string("TZif2") + std::string(15, '\0') + Be(0, 4) + Be(0, 4) + Be(0, 4) +
           Be(static_cast<std::int64_t>(times), 4) + Be(static_cast<std::int64_t>(types), 4) +
           Be(static_cast<std::int64_t>(chars), 4);
  };
  std::string out = header(0, 1, 4) + Be(0, 4) + '\0' + '\0' + std::string("UTC", 4);
  out += header(z.times.size(), z.types.size(), z.chars.size());
  for (std::int64_t t : z.times) out += Be(t, 8);
  for (std::uint8_t i : z.index) out += static_cast<char>(i);
  for (const auto& [offset, abbr] : z.types) out += Be(offset, 4) + '\0' + static_cast<char>(abbr);
  return out + z.chars + z.footer;
}

TEST(ZoneFile, DamagedFilesAreRefusedWithTheReason) {
  const TzifSpec good{{1600000000, 1700000000}, {1, 0}, {{3600, 0}, {7200, 4}}, std::string("CET\0CEST\0", 9),
                      "\nCET-1CEST,M3.5.0,M10.5.0/3\n"};
  const double from = CalendarToJD(2021, 1, 1, 0, 0, 0), to = CalendarToJD(2034, 1, 1, 0, 0, 0);
  ASSERT_NO_THROW(ParseZoneFile(Tzif(good), "good", from, to));
  const struct Case {
    const char* what;
    TzifSpec spec;
    const char* text;
  } cases[] = {
      {"an offset of 2^31 - 1 s", {good.times, good.index, {{3600, 0}, {2147483647, 4}}, good.chars, good.footer},
       "Damaged time-zone file: UT offset 2147483647 s beyond 26 hours"},
      {"an offset of -26 h - 1 s", {good.times, good.index, {{-93601, 0}, {7200, 4}}, good.chars, good.footer},
       "Damaged time-zone file: UT offset -93601 s beyond 26 hours"},
      {"transitions out of order", {{1700000000, 1600000000}, good.index, good.types, good.chars, good.footer},
       "Damaged time-zone file: transition 2 does not follow the one before"},
      {"a repeated transition", {{1600000000, 1600000000}, good.index, good.types, good.chars, good.footer},
       "Damaged time-zone file: transition 2 does not follow the one before"},
      {"an abbreviation with a terminal's escape", {good.times, good.index, good.types, std::string("CET\0\x1b[31m\0", 10), good.footer},
       "Damaged time-zone file: abbreviation '\\x1B[31m' not printable ASCII"},
      {"an abbreviation without its end", {good.times, good.index, good.types, std::string("CET\0CEST", 8), good.footer},
       "Damaged time-zone file: an abbreviation without its end"},
      {"no footer", {good.times, good.index, good.types, good.chars, ""}, "Damaged time-zone file: no footer line"},
      {"a malformed footer", {good.times, good.index, good.types, good.chars, "\nCET-1CEST,M3.5.0,M13.5.0\n"},
       "Damaged time-zone file: footer 'CET-1CEST,M3.5.0,M13.5.0': end of summer time malformed"},
      {"a footer's offset of 99 h", {good.times, good.index, good.types, good.chars, "\nXYZ-99\n"},
       "Damaged time-zone file: footer 'XYZ-99': no offset of standard time"},
  };
  for (const Case& c : cases) {
    try {
      ParseZoneFile(Tzif(c.spec), "/zones/Europe/X", from, to);
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), std::string(c.text)) << c.what;
      EXPECT_EQ(e.file(), "/zones/Europe/X") << c.what;
    }
  }
  // Through the folder: the file's path, not "unknown zone".
  test::TempDir dir;
  test::WriteFile(dir / "Europe" / "X", Tzif(cases[0].spec));
  try {
    ReadZoneTable(dir.path(), "Europe/X");
    ADD_FAILURE() << "accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.file(), (dir / "Europe" / "X").string());
  }
}

// The footer's rule for the years after the last transition: every form of
// the switch day and times before midnight and past 24 h, against the
// instants the rules give.
TEST(ZoneFile, FooterRulesGiveTheSwitches) {
  const struct Case {
    const char* footer;
    int y, m, d, h, min;  // UT of a switch in the span
    int before, after;    // offsets in seconds
    const char* abbreviation;  // after the switch
  } cases[] = {
      {"CET-1CEST,M3.5.0,M10.5.0/3", 2024, 3, 31, 1, 0, 3600, 7200, "CEST"},
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", 2024, 4, 6, 16, 0, 39600, 36000, "AEST"},
      {"<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", 2024, 10, 5, 15, 30, 37800, 39600, "+11"},
      {"<-04>4<-03>,M9.1.6/24,M4.1.6/24", 2024, 9, 8, 4, 0, -14400, -10800, "-03"},
      {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", 2024, 3, 31, 1, 0, -7200, -3600, "-01"},
      {"EST5EDT,J60/2,J300/2", 2024, 3, 1, 7, 0, -18000, -14400, "EDT"},
      {"EST5EDT,59/2,299/2", 2024, 2, 29, 7, 0, -18000, -14400, "EDT"},
      {"JST-9", 2024, 7, 1, 0, 0, 32400, 32400, "JST"},
      {"EST5EDT,0/0,J365/25", 2024, 1, 1, 5, 0, -14400, -14400, "EDT"},  // summer time all year
  };
  const double from = CalendarToJD(2021, 1, 1, 0, 0, 0), to = CalendarToJD(2034, 1, 1, 0, 0, 0);
  for (const Case& c : cases) {
    const TzifSpec slim{{}, {}, {{0, 0}}, std::string("LMT\0", 4), std::string("\n") + c.footer + "\n"};
    const ZoneTable t = ParseZoneFile(Tzif(slim), c.footer, from, to);
    const double at = CalendarToJD(c.y, c.m, c.d, c.h, c.min, 0);
    const auto state = [&](double jd) {
      const ZoneTransition* in_force = &t.transitions.front();
      for (const ZoneTransition& z : t.transitions)
        if (z.jd_ut <= jd) in_force = &z;
      return in_force;
    };
    EXPECT_EQ(state(at - 1.0 / 86400)->offset_seconds, c.before) << c.footer;
    EXPECT_EQ(state(at + 1.0 / 86400)->offset_seconds, c.after) << c.footer;
    EXPECT_EQ(state(at + 1.0 / 86400)->abbreviation, c.abbreviation) << c.footer;
    for (std::size_t k = 1; k < t.transitions.size(); ++k)
      ASSERT_LT(t.transitions[k - 1].jd_ut, t.transitions[k].jd_ut) << c.footer;
  }
}

}  // namespace
}  // namespace vk
