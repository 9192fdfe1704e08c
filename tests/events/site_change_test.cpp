// A change of site on loaded data: the files are loaded and prepared once,
// every later site gives the same log as a run from nothing, and changed,
// missing or short files are loaded again.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <stop_token>
#include <string_view>
#include <thread>
#include <vector>

#include "base/error.h"
#include "compute.h"
#include "event_passes.h"
#include "events/event_kinds.h"
#include "events/recompute.h"
#include "support/temp_dir.h"
#include "support/workspace.h"

namespace vk {
namespace {

using test::HaveData;
using test::Workspace;
namespace fs = std::filesystem;

class SiteChange : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveData()) GTEST_SKIP() << "no data in " << test::kBuildData << " (the build produces it)";
  }
};

// The golden and blue hours' bounds in the table (they are not in the log).
std::ptrdiff_t LightEvents(const Almanac& a) {
  std::ptrdiff_t n = 0;
  for (int i = 1; i <= a.events.Event_Count; ++i) {
    const tEventData& e = a.events.Event_Tab[static_cast<std::size_t>(i)];
    n += CategoryOf(e.body, e.event) == EventCategory::PhotoLight ? 1 : 0;
  }
  return n;
}

// The log of a fresh almanac for the site and mode, as the tool would write it.
std::string FreshLog(const Site& site, Interpolation mode) {
  Workspace ws;
  auto a = std::make_unique<Almanac>();
  a->site = site;
  a->interpolation = mode;
  RunRecomputationChain(*a, ws.dir.path(), nullptr);
  return test::ReadFile(ws.dir / kEventLogName);
}

TEST_F(SiteChange, EverySiteAfterTheFirstGivesTheLogOfARunFromNothing) {
  const struct {
    Site site;
    Interpolation mode;
  } steps[] = {
      {{47.5, 7.5, 1.0, {}}, Interpolation::Precise},
      {{48.0, 7.5, 1.0, {}}, Interpolation::Precise},     // one latitude step
      {{-33.87, 151.21, 10.0, {}}, Interpolation::Classic},
      {{69.65, 18.96, 1.0, {}}, Interpolation::Precise},  // polar day and night
      {{47.5, 7.5, 1.0, {}}, Interpolation::Classic},
      {{48.0, 7.5, 2.0, {}}, Interpolation::Classic},     // the transits of the same longitude, another zone
      {{48.0, 7.5, 2.0, {}}, Interpolation::Precise},     // the same longitude in the other mode
  };
  Workspace ws;
  auto a = std::make_unique<Almanac>();
  for (const auto& s : steps) {
    a->site = s.site;
    a->interpolation = s.mode;
    RunRecomputationChain(*a, ws.dir.path(), nullptr);
    ASSERT_TRUE(a->prepared.has_value());
    EXPECT_TRUE(test::ReadFile(ws.dir / kEventLogName) == FreshLog(s.site, s.mode))
        << "site " << s.site.Site_nLat << " " << s.site.Site_eLon;
  }
}

TEST_F(SiteChange, ChangedShortAndMissingFilesAreLoadedAgain) {
  Workspace ws;
  auto a = std::make_unique<Almanac>();
  a->site = Site{47.5, 7.5, 1.0, {}};
  RunRecomputationChain(*a, ws.dir.path(), nullptr);
  const fs::path sun = ws.dir / BinaryFileName(Sun);
  // A short file in place of the Sun's: the load fails and names it.
  fs::remove(sun);
  test::WriteFile(sun, std::string(100, '\0'));
  try {
    RunRecomputationChain(*a, ws.dir.path(), nullptr);
    ADD_FAILURE() << "a short file was not read";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("Read beyond end of file"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(a->prepared.has_value()) << "tables of a failed load count as loaded";
  // A missing file.
  fs::remove(sun);
  EXPECT_THROW(RunRecomputationChain(*a, ws.dir.path(), nullptr), Error);
  EXPECT_FALSE(a->prepared.has_value());
  // The file back: the same log as before.
  fs::create_symlink(fs::absolute(test::kBuildData / BinaryFileName(Sun)), sun);
  RunRecomputationChain(*a, ws.dir.path(), nullptr);
  EXPECT_TRUE(test::ReadFile(ws.dir / kEventLogName) == FreshLog(a->site, a->interpolation));
}

TEST_F(SiteChange, ThePhaseTableIsReadAgainOnlyWhenItsFileChanged) {
  Workspace ws;
  auto a = std::make_unique<Almanac>();
  RunRecomputationChain(*a, ws.dir.path(), nullptr);
  ASSERT_EQ(a->phases.Phase_Count, kPhaseDays);
  const fs::path phases = ws.dir / kPhaseFileName;
  // Replaced by a shorter file: read again at the next site change.
  fs::remove(phases);
  test::WriteFile(phases, "2459580.5 1 2 3\r\n2459581.5 4 5 6\r\n");
  a->site.Site_nLat = 48;
  RunRecomputationChain(*a, ws.dir.path(), nullptr);
  EXPECT_EQ(a->phases.Phase_Count, 2);
  EXPECT_EQ(a->phases.Phase_Tab[2].moon, 4);
  // Rewritten in place, same size, other digits, a new modification time.
  fs::last_write_time(phases, fs::last_write_time(phases) - std::chrono::seconds(10));
  test::WriteFile(phases, "2459580.5 7 2 3\r\n2459581.5 8 5 6\r\n");
  RunRecomputationChain(*a, ws.dir.path(), nullptr);
  EXPECT_EQ(a->phases.Phase_Tab[2].moon, 8);
  // Missing: the reading fails as it always did, and the next one reads the file that is back.
  fs::remove(phases);
  EXPECT_THROW(RunRecomputationChain(*a, ws.dir.path(), nullptr), Error);
  fs::create_symlink(fs::absolute(test::kBuildData / kPhaseFileName), phases);
  RunRecomputationChain(*a, ws.dir.path(), nullptr);
  EXPECT_EQ(a->phases.Phase_Count, kPhaseDays);
}

TEST_F(SiteChange, AnotherFolderWithOtherDataIsLoaded) {
  // The Moon's rows in place of the Sun's: another folder, other files, another log.
  Workspace first, second;
  const fs::path sun = second.dir / BinaryFileName(Sun);
  fs::remove(sun);
  fs::copy_file(test::kBuildData / BinaryFileName(Moon), sun);
  auto a = std::make_unique<Almanac>();
  a->site = Site{47.5, 7.5, 1.0, {}};
  RunRecomputationChain(*a, first.dir.path(), nullptr);
  RunRecomputationChain(*a, second.dir.path(), nullptr);
  const std::string other = test::ReadFile(second.dir / kEventLogName);
  EXPECT_FALSE(other == test::ReadFile(first.dir / kEventLogName));
  // The same folder with the file rewritten in place (same size, new contents).
  test::WriteFile(sun, test::ReadFile(test::kBuildData / BinaryFileName(Sun)));
  RunRecomputationChain(*a, second.dir.path(), nullptr);
  EXPECT_TRUE(test::ReadFile(second.dir / kEventLogName) == test::ReadFile(first.dir / kEventLogName));
}

TEST_F(SiteChange, TheSiteStepGivesTheSameBytesOnOneCoreAndOnTwo) {
  Workspace ws;
  auto a = std::make_unique<Almanac>();
  LoadAndPrepare(a->ephemeris, *a->basic, ws.dir.path(), 1);
  const Site site{-33.87, 151.21, 10.0, {}};
  ComputeEventLog(a->ephemeris, *a->basic, site, ws.dir / "one.txt", nullptr, 1);
  ComputeEventLog(a->ephemeris, *a->basic, site, ws.dir / "two.txt", nullptr, 2);
  EXPECT_TRUE(test::ReadFile(ws.dir / "one.txt") == test::ReadFile(ws.dir / "two.txt"));
}

// The status texts name the bodies in order, one call at a time, on one core
// as on several; the pieces are the same bytes. A stop requested as body
// `stop_at` starts leaves out every body that starts after it; the next
// complete computation gives the same bytes again.
TEST_F(SiteChange, StatusInBodyOrderAndAStopLeavesOutTheBodiesNotStarted) {
  auto a = std::make_unique<Almanac>();
  LoadAndPrepare(a->ephemeris, *a->basic, test::kBuildData, 2);
  const Site site{-33.87, 151.21, 10.0, {}};
  std::vector<LogText> first;
  const struct {
    unsigned threads;
    int stop_at;  // -1: no stop
  } runs[] = {{1, -1}, {2, -1}, {3, -1}, {1, 4}, {2, 4}, {3, 0}};
  for (const auto& r : runs) {
    std::stop_source stop;
    std::string status, expected;
    std::atomic<int> inside{0};
    bool overlapped = false;
    const ProgressFn progress = [&](std::string_view text, StatusColour c) {
      overlapped |= inside.fetch_add(1) != 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));  // a slow status bar
      status += std::string(text) + (c == StatusColour::Yellow ? "" : " (not yellow)") + "|";
      if (text.back() - '0' == r.stop_at) stop.request_stop();
      --inside;
    };
    ComputeEventLines(a->ephemeris, *a->basic, site, progress, r.threads, Interpolation::Precise, a->lines,
                      stop.get_token());
    const int told = static_cast<int>(std::count(status.begin(), status.end(), '|'));
    for (int b = 0; b < told; ++b) expected += "Computing basic values... " + std::to_string(b) + "|";
    EXPECT_EQ(status, expected) << r.threads << " threads";
    EXPECT_FALSE(overlapped) << r.threads << " threads";
    if (r.stop_at < 0) {
      EXPECT_EQ(told, kBodyCount);
      if (first.empty()) first = a->lines.pieces;
      EXPECT_TRUE(a->lines.pieces == first) << r.threads << " threads";
    } else {
      EXPECT_EQ(told, r.stop_at + 1) << r.threads << " threads: a body started after the stop";
      for (int b = told; b < kBodyCount; ++b) EXPECT_TRUE(a->lines.pieces[static_cast<std::size_t>(b)].empty());
    }
  }
  ComputeEventLines(a->ephemeris, *a->basic, site, nullptr, 2, Interpolation::Precise, a->lines);
  EXPECT_TRUE(a->lines.pieces == first) << "after a stopped computation";
}

// A stop before the events are complete: ComputeSiteEvents says so and
// leaves the table in force alone; a stop within the preparation leaves no
// tables that count as prepared, and the next computation prepares them and
// gives the log of a run from nothing.
TEST_F(SiteChange, AStoppedComputationLeavesTheTableInForceAndNothingHalfPrepared) {
  Workspace ws;
  auto a = std::make_unique<Almanac>();
  RunRecomputationChain(*a, ws.dir.path(), nullptr);
  const int count = a->events.Event_Count;
  const Site other{-33.87, 151.21, 10.0, {}};
  std::stop_source stop;
  stop.request_stop();
  EXPECT_FALSE(ComputeSiteEvents(*a, other, a->interpolation, ws.dir.path(), nullptr, stop.get_token()));
  EXPECT_TRUE(a->prepared.has_value()) << "the prepared tables stay right";
  EXPECT_EQ(a->events.Event_Count, count);
  EXPECT_EQ(a->site.Site_nLat, 47.5);
  a->prepared.reset();  // as after a change of the files
  EXPECT_FALSE(ComputeSiteEvents(*a, other, a->interpolation, ws.dir.path(), nullptr, stop.get_token()));
  EXPECT_FALSE(a->prepared.has_value()) << "a stopped preparation counts as prepared";
  a->site = other;
  RunRecomputationChain(*a, ws.dir.path(), nullptr);
  EXPECT_TRUE(test::ReadFile(ws.dir / kEventLogName) == FreshLog(other, a->interpolation));
}

// The site-independent events found by the first computation serve every
// later site and zone: the bytes are those of passes that find them anew,
// and preparing the rows again forgets them.
TEST_F(SiteChange, EventsKeptFromTheFirstComputationGiveTheBytesOfPassesThatFindThemAnew) {
  auto a = std::make_unique<Almanac>();
  LoadAndPrepare(a->ephemeris, *a->basic, test::kBuildData, 2);
  const Site sites[] = {{47.5, 7.5, 1.0, {}}, {-33.87, 151.21, 10.0, {}}};
  std::vector<LogText> kept[2];
  for (int s = 0; s < 2; ++s) kept[s] = ComputeEventLines(a->ephemeris, *a->basic, sites[s], nullptr, 2);
  for (int s = 0; s < 2; ++s) {
    const ObserverConstants obs = ComputeObserverConstants(sites[s].Site_nLat);
    for (int b = 0; b < kBodyCount; ++b) {
      ASSERT_NE(a->basic->fixed_events(b), nullptr) << "body " << b;
      PrepareBasicValues(a->ephemeris, b, *a->basic);
      EXPECT_EQ(a->basic->fixed_events(b), nullptr) << "body " << b;
      ComputeSiteValues(a->ephemeris, sites[s], obs, b, *a->basic);
      LogText anew;
      RunEventPasses(a->ephemeris, *a->basic, sites[s], obs, b, anew, Interpolation::Precise);
      EXPECT_TRUE(anew == kept[s][static_cast<std::size_t>(b)]) << "site " << s << ", body " << b;
    }
    ComputeEventLines(a->ephemeris, *a->basic, sites[s], nullptr, 2);  // finds them again
  }
}

// A log that cannot be written ends the chain with the system's text; the
// old log stays, and the table, read from the same bytes, holds the new site's events.
TEST_F(SiteChange, ALogThatCannotBeWrittenIsAnErrorAndTheOldLogStays) {
  Workspace ws;
  auto a = std::make_unique<Almanac>();
  RunRecomputationChain(*a, ws.dir.path(), nullptr);
  const std::string old_log = test::ReadFile(ws.dir / kEventLogName);
  const fs::path blocked = ws.dir / kEventLogName / "folder";  // a file stands where the folder should be
  a->site = {-33.87, 151.21, 10.0, {}};
  try {
    RunRecomputationChain(*a, ws.dir.path(), nullptr, blocked);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(e.describe().find("Not a directory"), std::string::npos) << e.describe();
  }
  EXPECT_TRUE(test::ReadFile(ws.dir / kEventLogName) == old_log);
  const std::string fresh = FreshLog(a->site, a->interpolation);
  EXPECT_EQ(a->events.Event_Count - LightEvents(*a), std::count(fresh.begin(), fresh.end(), '\n'));
}

// The golden and blue hours' bounds, when asked for, reach the table in both
// modes and never the log, which keeps its bytes; at 47.5 N the Sun's
// crossings of -6°, -4°, the horizon and +6° follow each other in the same
// order every day. Not asked for, none is computed.
TEST_F(SiteChange, GoldenAndBlueHoursReachTheTableButNotTheLog) {
  static const std::vector<std::string_view> kDay = {"MBurgD", "MGoldB", "Aufgang", "MGoldE",
                                                     "AGoldB", "Untergang", "AGoldE", "ABurgD"};
  for (const Interpolation mode : {Interpolation::Precise, Interpolation::Classic}) {
    Workspace ws;
    auto a = std::make_unique<Almanac>();
    a->site = {47.5, 7.5, 1.0, {}};
    a->interpolation = mode;
    RunRecomputationChain(*a, ws.dir.path(), nullptr);
    EXPECT_EQ(LightEvents(*a), 0);
    const std::string without = test::ReadFile(ws.dir / kEventLogName);
    a->photo_light = true;
    RunRecomputationChain(*a, ws.dir.path(), nullptr);
    const std::string log = test::ReadFile(ws.dir / kEventLogName);
    EXPECT_TRUE(log == without);
    // The classic log leaves the headline events out as well.
    if (mode == Interpolation::Precise)
      EXPECT_EQ(a->events.Event_Count - LightEvents(*a), std::count(log.begin(), log.end(), '\n'));
    std::vector<std::string_view> sequence;
    for (int i = 1; i <= a->events.Event_Count; ++i) {
      const tEventData& e = a->events.Event_Tab[static_cast<std::size_t>(i)];
      if (e.body == BodyNames[Sun] && std::find(kDay.begin(), kDay.end(), e.event) != kDay.end())
        sequence.push_back(e.event);
    }
    // The table starts and ends within a day: whole days from the first MBurgD on.
    const auto first = std::find(sequence.begin(), sequence.end(), kDay[0]);
    const std::size_t days = static_cast<std::size_t>(sequence.end() - first) / kDay.size();
    EXPECT_GE(days, 3650u);
    for (std::size_t k = 0; k < days * kDay.size(); ++k)
      ASSERT_EQ(first[static_cast<std::ptrdiff_t>(k)], kDay[k % kDay.size()]) << "crossing " << k;
  }
}

}  // namespace
}  // namespace vk

namespace vk {
namespace {

TEST_F(SiteChange, TheHiddenCopyOfAnEarlierLogGoesWhenItIsAPlainFile) {
  const struct {
    const char* what;
    bool folder;
    bool gone;
  } spares[] = {{"a plain file", false, true}, {"a folder", true, false}};
  for (const auto& s : spares) {
    Workspace ws;
    const fs::path spare = ws.dir / ("." + std::string(kEventLogName) + ".vk-spare");
    if (s.folder)
      fs::create_directory(spare);
    else
      test::WriteFile(spare, "an old log");
    auto a = std::make_unique<Almanac>();
    RunRecomputationChain(*a, ws.dir.path(), nullptr);
    EXPECT_EQ(!fs::exists(spare), s.gone) << s.what;
    EXPECT_TRUE(fs::exists(ws.dir / kEventLogName));
  }
}

}  // namespace
}  // namespace vk
