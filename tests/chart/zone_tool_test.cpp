// Places and real zones through the tool: local times of the event log, the
// classic rule, and bad names or a missing tz database.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/guarded.h"
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
      {"day --date 2024-01-15 --place Sydnee", "unknown place 'Sydnee'", "Sydney \u2014 Australia/Sydney"},
      {"day --date 2024-01-15 --place Hamburk", "unknown place 'Hamburk'", "close matches: Hamburg \u2014 Europe/Berlin,"},
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
  // The table's places first, then the town list's.
  EXPECT_EQ(r.out.substr(0, r.out.find("\n", r.out.find("\n") + 1) + 1),
            "Sydney \u2014 Australia/Sydney  -33.8667  151.2167  Australia/Sydney\n"
            "Zurich \u2014 Europe/Zurich  47.3833  8.5333  Europe/Zurich\n");
  EXPECT_NE(r.err.find("warning: zone1970.tab line 3 skipped: coordinates '+3539x13944' malformed"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("warning: zone1970.tab line 5 skipped: fewer than three fields"), std::string::npos) << r.err;
}

// Huge or hostile arguments are quoted short and printable, and the close
// matches of a huge name come at once.
TEST(ZoneToolBadInput, MessagesQuoteInputShortAndPrintable) {
  const std::string huge(100000, 'x');
  const std::string esc = "\"$(printf '\\033[31mX\\033]0;t\\007')\"";
  const struct Case {
    std::string args;
    const char* shown;
  } cases[] = {
      {"ics --from 2024-01-01 --to 2024-01-02 --kinds " + huge, "--kinds: unknown kind 'xxxx"},
      {"day --date 2024-01-15 --place " + huge, "--place: unknown place 'xxxx"},
      {"places " + huge, "no place matches 'xxxx"},
      {"compute --tz " + esc, "unknown time zone '\\x1B[31mX\\x1B]0;t\\x07'"},
      {"day --date " + esc, "--date: '\\x1B[31mX\\x1B]0;t\\x07' is not a date"},
      {"compute --lat " + huge, "--lat: 'xxxx"},
      {"compute " + esc, "unknown argument '\\x1B[31mX\\x1B]0;t\\x07'"},
  };
  vk::test::TempDir dir;
  for (const Case& c : cases) {
    const Result r = RunTool(c.args, dir.path().string());
    EXPECT_EQ(r.status, 2) << c.shown << ": " << r.err.substr(0, 300);
    EXPECT_NE(r.err.find(c.shown), std::string::npos) << r.err.substr(0, 300);
    EXPECT_LT(r.err.size(), 2000u) << c.shown;
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << c.shown;
  }
}

// places '' lists every place; a zone table that is damaged, a FIFO or a
// device exits 1 with its path (and line), at once; a damaged zone file is
// named as damaged with its path and reason, not as an unknown zone.
TEST(ZoneToolBadInput, DamagedOrSpecialTablesAndZoneFiles) {
  const Result all = RunTool("places ''"), plain = RunTool("places");
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out, plain.out);
  EXPECT_GT(std::count(all.out.begin(), all.out.end(), '\n'), 300);

  vk::test::TempDir tz;
  const std::string table = tz.path().string() + "/zone1970.tab";
  const auto run = [&](const std::string& args) {
    std::string out;
    SetTzDir(tz.path().c_str());
    const std::string text = vk::test::Guarded([&] {
      const Result r = RunTool(args);
      return std::to_string(r.status) + " " + r.err;
    });
    SetTzDir(nullptr);
    return text;
  };
  vk::test::WriteFile(tz / "zone1970.tab", "#codes\tcoordinates\tTZ\nDE\t+5230+01322\tEurope/Berlin\nXX\t+0000+00000\tEtc/\x1b[2J\n");
  std::string r = run("places");
  EXPECT_EQ(r.rfind("1 ", 0), 0u) << r;
  EXPECT_NE(r.find(table + ", line 3: Damaged table: control character in 'XX\\t+0000+00000\\tEtc/\\x1B[2J'"), std::string::npos) << r;
  std::filesystem::remove(tz / "zone1970.tab");
  ASSERT_EQ(::mkfifo(table.c_str(), 0644), 0);
  for (const char* args : {"places", "day --date 2024-01-15 --place Berlin", "compute --tz Europe/Berlin"}) {
    r = run(args);
    EXPECT_EQ(r.rfind("1 ", 0), 0u) << args << ": " << r;
    EXPECT_NE(r.find(table + ": Not a regular file (a FIFO)"), std::string::npos) << args << ": " << r;
  }
  std::filesystem::remove(tz / "zone1970.tab");
  std::filesystem::create_symlink("/dev/zero", tz / "zone1970.tab");
  r = run("places");
  EXPECT_NE(r.find(table + ": Not a regular file (a character device)"), std::string::npos) << r;
  std::filesystem::remove(tz / "zone1970.tab");
  vk::test::WriteFile(tz / "zone1970.tab", "DE\t+5230+01322\tEurope/Berlin\n" + std::string(1 << 20, '#'));
  r = run("places");
  EXPECT_NE(r.find(table + ": File too large: 1048605 bytes, at most 1048576"), std::string::npos) << r;

  // Berlin's file with the UT offset of its first local time type set to 2^31 - 1 s.
  std::filesystem::remove(tz / "zone1970.tab");
  vk::test::WriteFile(tz / "zone1970.tab", "DE\t+5230+01322\tEurope/Berlin\n");
  std::string berlin = vk::test::ReadFile("/usr/share/zoneinfo/Europe/Berlin");
  const std::size_t v2 = berlin.find("TZif", 4);
  ASSERT_NE(v2, std::string::npos);
  const auto count = [&](std::size_t at) {
    return static_cast<std::size_t>(static_cast<unsigned char>(berlin[at]) << 24 | static_cast<unsigned char>(berlin[at + 1]) << 16 |
                                    static_cast<unsigned char>(berlin[at + 2]) << 8 | static_cast<unsigned char>(berlin[at + 3]));
  };
  const std::size_t types = v2 + 44 + count(v2 + 32) * 9;
  berlin.replace(types, 4, "\x7f\xff\xff\xff");
  vk::test::WriteFile(tz / "Europe" / "Berlin", berlin);
  r = run("compute --tz Europe/Berlin");
  EXPECT_EQ(r.rfind("1 ", 0), 0u) << r;
  EXPECT_NE(r.find(tz.path().string() + "/Europe/Berlin: Damaged time-zone file: UT offset 2147483647 s beyond 26 hours"),
            std::string::npos) << r;
  EXPECT_EQ(r.find("unknown time zone"), std::string::npos) << r;
}

// Zone files as "zic -b slim" writes them (the rule in the footer only) give
// the zone's switches.
TEST_F(ZoneTool, SlimZoneFilesWork) {
  vk::test::TempDir tz;
  ASSERT_EQ(std::system(("zic -b slim -d '" + tz.path().string() + "' /usr/share/zoneinfo/tzdata.zi").c_str()), 0);
  std::filesystem::copy_file("/usr/share/zoneinfo/zone1970.tab", tz / "zone1970.tab");
  Workspace ws;
  SetTzDir(tz.path().c_str());
  const Result summer = RunTool("day --tz Europe/Berlin --date 2031-07-15 --dir .", ws.dir.path().string());
  const Result winter = RunTool("day --place Sydney --date 2031-07-15 --dir .", ws.dir.path().string());
  SetTzDir(nullptr);
  EXPECT_EQ(summer.out.substr(0, summer.out.find('\n')), "Zeitzone Europe/Berlin (MESZ, UTC+02:00)") << summer.err;
  EXPECT_EQ(winter.out.substr(0, winter.out.find('\n')), "Zeitzone Australia/Sydney (AEST, UTC+10:00)") << winter.err;
}

}  // namespace
