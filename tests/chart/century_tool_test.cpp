// The tool over the century: the span read from the coefficient file, a
// period's tables made once into the cache, the boundary of two periods, and
// the refusals (a day outside, a damaged coefficient file, a cache that
// cannot be written).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ephemeris/period.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"
#include "support/workspace.h"
#include "timecalc/calendar.h"

namespace {

namespace fs = std::filesystem;
using vk::test::RunTool;
using vk::test::TempDir;
using Result = vk::test::ToolResult;

// A data folder seeing the build's data, its own log, and a cache of its own.
struct Century : ::testing::Test {
  vk::test::Workspace ws;
  TempDir cache_home;
  void SetUp() override {
    if (!vk::test::HaveData()) GTEST_SKIP() << "no data in " << vk::test::kBuildData;
    for (const char *name : {vk::kCoefficientFileName, vk::kConstellationFileName})
      fs::create_symlink(fs::absolute(vk::test::kBuildData / name), ws.dir / name);
    ::setenv("XDG_CACHE_HOME", cache_home.path().c_str(), 1);
  }
  void TearDown() override { ::unsetenv("XDG_CACHE_HOME"); }
  Result Day(const std::string &date, const std::string &more = "") {
    return RunTool("day --date " + date + " --daemmerungen --dir '" + ws.dir.path().string() + "' " + more);
  }
  fs::path Cache() const { return cache_home / "vesperkalend"; }
};

TEST_F(Century, DaysOutsideTheSpanExitWith2NamingIt) {
  struct {
    const char *args;
  } const kOutside[] = {{"day --date 1959-12-31"},
                        {"day --date 2060-01-01"},
                        {"render --month 1959-12 --out m.pdf"},
                        {"ics --from 2059-12-30 --to 2060-01-02 --out e.ics"}};
  for (const auto &c : kOutside) {
    const Result r = RunTool(std::string(c.args) + " --dir '" + ws.dir.path().string() + "'", ws.dir.path().string());
    EXPECT_EQ(r.status, 2) << c.args << ": " << r.err;
    EXPECT_NE(r.err.find("is outside 1960-01-01 … 2059-12-31"), std::string::npos) << c.args << ": " << r.err;
  }
  EXPECT_FALSE(fs::exists(Cache())) << "nothing made for a refused day";
}

// The last day of the period 1960-1962 and the first of 1962-1972: each
// period made once, its tables and log under its own names; the day lists
// are whole (the Sun's rise, transit and set on both days).
TEST_F(Century, BoundaryDaysOfTwoPeriods) {
  const Result last = Day("1961-12-31", "--verbose");  // the making's bar told
  ASSERT_EQ(last.status, 0) << last.err;
  EXPECT_NE(last.err.find("Making the tables of 1960-1962"), std::string::npos) << last.err;
  const Result first = Day("1962-01-01", "--verbose");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.err.find("Making the tables of 1962-1972"), std::string::npos);
  for (const char *tag : {"1960-1962", "1962-1972"}) {
    EXPECT_TRUE(fs::exists(Cache() / ("HORIZONS_daten_" + std::string(tag) + "_MOO.bin"))) << tag;
    EXPECT_TRUE(fs::exists(ws.dir / ("Vesperkalend_" + std::string(tag) + "_Log.txt"))) << tag;
  }
  for (const Result *r : {&last, &first}) {
    for (const char *event : {"Sonne  Aufgang", "Sonne  wahrer Mittag", "Sonne  Untergang"})
      EXPECT_NE(r->out.find(event), std::string::npos) << event << " in\n" << r->out;
  }
  const Result again = Day("1961-06-01", "--verbose");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.err.find("Making"), std::string::npos) << "made once: " << again.err;
  // The headline search runs in a made period too: the total lunar eclipse
  // of 1964-12-19, greatest at 02:37 UT, seen whole from the default site.
  const Result eclipse = Day("1964-12-19");
  ASSERT_EQ(eclipse.status, 0) << eclipse.err;
  EXPECT_NE(eclipse.out.find("03:37:18  Mond  Mondfinsternis (total, 1.17)"), std::string::npos) << eclipse.out;
}

// A calendar across the boundary of 1962-1972 and 1972-1982 far from UT:
// every event once, every day's Sun whole, and the full Moon of 1971-12-31
// 20:19 UT (before the rows of 1972-1982, on 1 January in Sydney) on its
// local day. Without the hours around the periods, Sydney's 1 January
// lacked its morning and Los Angeles' 31 December its evening.
TEST_F(Century, CalendarAcrossTwoPeriodsListsEachEventOnce) {
  const struct {
    const char *where;
    const char *full_moon_day;  // local
  } kSites[] = {{"--lat -33.9 --lon 151.2 --tz Australia/Sydney", "1972-01-01"},
                {"--lat 34.05 --lon -118 --tz America/Los_Angeles", "1971-12-31"}};
  for (const auto &c : kSites) {
    const Result r = RunTool(std::string("ics --from 1971-12-30 --to 1972-01-02 --kinds all ") + c.where + " --dir '" +
                             ws.dir.path().string() + "' --out '" + (ws.dir / "edge.ics").string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    std::string ics = vk::test::ReadFile(ws.dir / "edge.ics");
    for (std::size_t at; (at = ics.find("\r\n ")) != std::string::npos;) ics.erase(at, 3);  // unfolded
    // Per summary, the starts ("YYYYMMDDTHHMMSSZ") and the local dates of the description.
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> events;
    for (std::size_t at = 0; (at = ics.find("BEGIN:VEVENT", at)) != std::string::npos; ++at) {
      auto field = [&](const std::string &name) {
        const std::size_t from = ics.find("\r\n" + name + ":", at) + name.size() + 3;
        return ics.substr(from, ics.find("\r\n", from) - from);
      };
      const std::string description = field("DESCRIPTION");
      const std::size_t local = description.find("Ortszeit: ");
      events[field("SUMMARY")].push_back({field("DTSTART"), description.substr(local + 10, 10)});
    }
    // The Sun's rise, noon, set, twilights and golden hours: 13 kinds, each on all four days.
    int sun_kinds = 0;
    auto daily = [](const std::string &summary) {
      if (summary.rfind("Sonne: ", 0) != 0) return false;
      for (const char *word : {"Dämmerung", "Stunde", "Aufgang", "Untergang", "Mittag"})
        if (summary.find(word) != std::string::npos) return true;
      return false;
    };
    for (const auto &[summary, starts] : events)
      if (daily(summary)) {
        ++sun_kinds;
        EXPECT_EQ(starts.size(), 4u) << c.where << ": " << summary;
      }
    EXPECT_EQ(sun_kinds, 13) << c.where;
    auto jd = [](const std::string &t) {  // of "YYYYMMDDTHHMMSSZ"
      auto n = [&](std::size_t at, std::size_t len) { return std::stoi(t.substr(at, len)); };
      return vk::CalendarToJD(n(0, 4), n(4, 2), n(6, 2), n(9, 2), n(11, 2), n(13, 2));
    };
    for (const auto &[summary, starts] : events)
      for (std::size_t i = 0; i < starts.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
          EXPECT_GT(std::fabs(jd(starts[i].first) - jd(starts[j].first)), 1.0 / 24)
              << c.where << ": " << summary << " twice, " << starts[j].first << " and " << starts[i].first;
    const auto &full = events["Mond: Vollmond"];
    EXPECT_EQ(full.size(), 1u) << c.where;
    if (full.size() != 1) continue;
    EXPECT_EQ(full[0].first.substr(0, 13), "19711231T2019") << c.where;
    EXPECT_EQ(full[0].second, c.full_moon_day) << c.where;
  }
}

TEST_F(Century, DamagedCoefficientsAreRefusedAndNothingIsMade) {
  fs::remove(ws.dir / vk::kCoefficientFileName);
  std::string bytes = vk::test::ReadFile(vk::test::kBuildData / vk::kCoefficientFileName);
  bytes[bytes.size() / 2] ^= 0x40;
  vk::test::WriteFile(ws.dir / vk::kCoefficientFileName, bytes);
  const Result r = Day("1969-07-20");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find((ws.dir / vk::kCoefficientFileName).string() + ": Damaged DE405 extract: checksum mismatch"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(Cache()));
}

TEST_F(Century, UnwritableCacheIsNamedAndLeavesNoTable) {
  vk::test::WriteFile(cache_home / "vesperkalend", "a file where the folder would be");
  const Result r = Day("2045-03-20");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find((cache_home / "vesperkalend").string() + ": Not a directory"), std::string::npos) << r.err;
  EXPECT_EQ(vk::test::ReadFile(cache_home / "vesperkalend"), "a file where the folder would be");
}

}  // namespace
