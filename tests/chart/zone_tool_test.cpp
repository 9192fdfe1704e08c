// Places and real zones through the tool: local times of the event log, the
// classic rule, and bad names or a missing tz database.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_dir.h"
#include "support/workspace.h"

namespace {

using vk::test::HaveData;
using vk::test::RunTool;
using vk::test::Workspace;
using Result = vk::test::ToolResult;

struct LogLine {
  double jd_ut, jd_local;
  std::string body, event;
};

std::vector<LogLine> ReadLog(const std::filesystem::path& file) {
  std::vector<LogLine> out;
  std::istringstream in(vk::test::ReadFile(file));
  for (std::string l; std::getline(in, l);) {
    std::istringstream f(l);
    std::string ut, local, body, event;
    std::getline(f, ut, '\t');
    std::getline(f, local, '\t');
    std::getline(f, body, '\t');
    std::getline(f, event, '\t');
    out.push_back({std::strtod(ut.c_str(), nullptr), std::strtod(local.c_str(), nullptr), body, event});
  }
  return out;
}

// Julian day of a Gregorian date at 00:00 (Meeus, Astronomical Algorithms, ch. 7).
double JD(int y, int m, int d) {
  if (m <= 2) {
    --y;
    m += 12;
  }
  const int a = y / 100, b = 2 - a + a / 4;
  return std::floor(365.25 * (y + 4716)) + std::floor(30.6001 * (m + 1)) + d + b - 1524.5;
}

std::vector<LogLine> Compute(const Workspace& ws, const std::string& site) {
  const Result r = RunTool("compute " + site + " --dir .", ws.dir.path().string());
  EXPECT_EQ(r.status, 0) << site << ": " << r.err;
  return ReadLog(ws.dir / "Vesperkalend_2022-2032_Log.txt");
}

class ZoneTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveData()) GTEST_SKIP() << "no data in " << vk::test::kBuildData << " (the build produces it)";
  }
};

// Sunrise on a local day: the offset of local time from UT by the zones'
// published rules, and a morning hour (a wrong sign or a day off leaves it).
struct Sunrise {
  const char* place;
  int y, m, d;
  double offset_h;
};

const Sunrise kSunrises[] = {
    {"Sydney", 2024, 1, 15, 11},     {"Sydney", 2024, 7, 15, 10},       {"New York", 2024, 3, 9, -5},
    {"New York", 2024, 3, 10, -4},   {"New York", 2024, 11, 2, -4},     {"New York", 2024, 11, 3, -5},
    {"Lord Howe", 2024, 1, 15, 11},  {"Lord Howe", 2024, 7, 15, 10.5},  {"Tokyo", 2024, 7, 15, 9},
    {"Phoenix", 2024, 7, 15, -7},    {"Tokyo", 2024, 1, 15, 9},         {"Phoenix", 2024, 1, 15, -7},
};

TEST_F(ZoneTool, SunrisesFollowTheRealZonesOffsetsAndSwitches) {
  std::map<std::string, std::vector<LogLine>> logs;
  for (const Sunrise& s : kSunrises) {
    auto& log = logs[s.place];
    if (log.empty()) {
      Workspace ws;
      log = Compute(ws, std::string("--place '") + s.place + "'");
    }
    const double day = JD(s.y, s.m, s.d);
    int found = 0;
    for (const LogLine& e : log) {
      if (e.body != "Sonne" || e.event != "Aufgang" || e.jd_local < day || e.jd_local >= day + 1) continue;
      ++found;
      EXPECT_NEAR((e.jd_local - e.jd_ut) * 24, s.offset_h, 1e-6) << s.place << " " << s.m << "-" << s.d;
      const double hour = (e.jd_local - day) * 24;
      EXPECT_TRUE(hour > 4 && hour < 8) << s.place << " " << s.m << "-" << s.d << ": " << hour;
    }
    EXPECT_EQ(found, 1) << s.place << " " << s.m << "-" << s.d;
  }
}

TEST_F(ZoneTool, ClassicRuleIsTheFixedOffsetWithEuropeanSummerTime) {
  Workspace ws;
  const auto log = Compute(ws, "--lat 47.5 --lon 7.5 --zone 16");
  ASSERT_GT(log.size(), 100000u);
  // Summer time from the last Sunday of March to the last Sunday of October, 01:00 UT.
  const auto last_sunday = [](int y, int m) {
    double jd = JD(y, m + 1, 1) - 1;
    while (static_cast<long>(std::floor(jd + 1.5)) % 7 != 0) jd -= 1;
    return jd;
  };
  for (const LogLine& e : log) {
    const int year = 2021 + static_cast<int>((e.jd_ut - JD(2021, 1, 1)) / 365.2425);
    int y = year;
    if (e.jd_ut >= JD(y + 1, 1, 1)) ++y;
    if (e.jd_ut < JD(y, 1, 1)) --y;
    const bool summer = e.jd_ut > last_sunday(y, 3) + 1.0 / 24 && e.jd_ut <= last_sunday(y, 10) + 1.0 / 24;
    ASSERT_NEAR((e.jd_local - e.jd_ut) * 24, summer ? 2.0 : 1.0, 1e-6) << e.body << " " << e.event << " " << e.jd_ut;
  }
  // Zurich's real zone gives the same local times in these years (to the
  // log's 15 digits).
  Workspace zurich;
  const auto real = Compute(zurich, "--lat 47.5 --lon 7.5 --tz Europe/Zurich");
  ASSERT_EQ(real.size(), log.size());
  for (std::size_t i = 0; i < log.size(); ++i) ASSERT_NEAR(real[i].jd_local, log[i].jd_local, 2e-8) << i;
}

TEST_F(ZoneTool, DayNamesTheZoneAndItsStateAndExplicitCoordinatesOverrideThePlace) {
  Workspace ws;
  const Result r = RunTool("day --place Sydney --date 2024-07-15 --dir .", ws.dir.path().string());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Zeitzone Australia/Sydney (AEST, UTC+10:00)");
  const Result berlin = RunTool("day --tz Europe/Berlin --date 2024-07-15 --dir .", ws.dir.path().string());
  EXPECT_EQ(berlin.out.substr(0, berlin.out.find('\n')), "Zeitzone Europe/Berlin (MESZ, UTC+02:00)");
  // --lat/--lon win over the place's; its zone stays: the same UT sunrise would
  // be shifted by the site, not the zone.
  const auto here = Compute(ws, "--place Sydney --lat 47.5 --lon 7.5");
  for (const auto& e : here) {
    if (e.body == "Sonne" && e.event == "Aufgang" && e.jd_local >= JD(2024, 7, 15) && e.jd_local < JD(2024, 7, 16)) {
      EXPECT_NEAR((e.jd_local - JD(2024, 7, 15)) * 24, 3.8 + 10, 0.3);  // 03:48 UT at 47.5° N, 7.5° E in July
    }
  }
}

void SetTzDir(const char* dir) {
  if (dir)
    ::setenv("TZDIR", dir, 1);
  else
    ::unsetenv("TZDIR");
}

TEST(ZoneToolBadInput, UnknownNamesExit2WithCloseMatches) {
  struct Case {
    const char* args;
    const char* named;
    const char* match;
  };
  const Case cases[] = {
      {"day --date 2024-01-15 --place Sidney", "unknown place 'Sidney'", "Sydney \u2014 Australia/Sydney"},
      {"day --date 2024-01-15 --tz Europe/Berln", "unknown time zone 'Europe/Berln'", "Europe/Berlin"},
      {"compute --tz Mars/Olympus", "unknown time zone 'Mars/Olympus'", "close matches: "},
      {"compute --tz ../../etc/passwd", "unknown time zone '../../etc/passwd'", "close matches: "},
      {"render --date 2024-01-15 --out x.png --place Zurch", "unknown place 'Zurch'", "Zurich \u2014 Europe/Zurich"},
      {"places Xyzzyq", "no place matches 'Xyzzyq'", "close matches: "},
      {"compute --place Europe", "'Europe' fits", "Andorra \u2014 Europe/Andorra"},
      {"compute --zone 16 --tz Europe/Berlin", "--tz and --zone exclude each other", "--tz"},
  };
  vk::test::TempDir dir;
  for (const Case& c : cases) {
    const Result r = RunTool(c.args, dir.path().string());
    EXPECT_EQ(r.status, 2) << c.args << ": " << r.err;
    EXPECT_NE(r.err.find(c.named), std::string::npos) << c.args << ": " << r.err;
    EXPECT_NE(r.err.find(c.match), std::string::npos) << c.args << ": " << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
  EXPECT_FALSE(std::filesystem::exists(dir / "Vesperkalend_2022-2032_Log.txt"));
}

TEST(ZoneToolBadInput, NoTzDatabaseExits1ForPlaceAndTzOnly) {
  vk::test::TempDir empty;
  SetTzDir(empty.path().c_str());
  const Result place = RunTool("day --date 2024-01-15 --place Sydney");
  const Result tz = RunTool("compute --tz Australia/Sydney");
  const Result list = RunTool("places");
  const Result classic = RunTool("compute --zone 16 --dir '" + empty.path().string() + "'");
  SetTzDir(nullptr);
  for (const Result* r : {&place, &tz, &list}) {
    EXPECT_EQ(r->status, 1) << r->err;
    EXPECT_NE(r->err.find("no time-zone database"), std::string::npos) << r->err;
    EXPECT_NE(r->err.find("zone1970.tab"), std::string::npos) << r->err;
  }
  // The classic rule needs no database: it fails only for the missing ephemerides.
  EXPECT_EQ(classic.err.find("time-zone"), std::string::npos) << classic.err;
}

TEST(ZoneToolBadInput, CorruptTableLinesAreSkippedWithAWarning) {
  vk::test::TempDir tz;
  vk::test::WriteFile(tz / "zone1970.tab",
                      "#codes\tcoordinates\tTZ\n"
                      "AU\t-3352+15113\tAustralia/Sydney\tNew South Wales\n"
                      "JP\t+3539x13944\tAsia/Tokyo\n"
                      "CH\t+4723+00832\tEurope/Zurich\n"
                      "US\t+404251");
  SetTzDir(tz.path().c_str());
  const Result r = RunTool("places");
  SetTzDir(nullptr);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Sydney \u2014 Australia/Sydney  -33.8667  151.2167  Australia/Sydney\n"
            "Zurich \u2014 Europe/Zurich  47.3833  8.5333  Europe/Zurich\n");
  EXPECT_NE(r.err.find("warning: zone1970.tab line 3 skipped: coordinates '+3539x13944' malformed"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("warning: zone1970.tab line 5 skipped: fewer than three fields"), std::string::npos) << r.err;
}

}  // namespace
