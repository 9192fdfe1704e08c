// The session without a window: recomputations on its worker, the newest
// request winning, failures, the chosen day.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <thread>

#include "events/recompute.h"
#include "session/session.h"
#include "support/run_tool.h"
#include "support/workspace.h"
#include "timecalc/calendar.h"

namespace vk {
namespace {

// Runs the event loop until the worker has nothing left (the log included).
bool Settle(const Session& s) {
  QElapsedTimer t;
  t.start();
  while (s.Working() && t.elapsed() < 60000) QTest::qWait(2);
  QCoreApplication::processEvents();
  return !s.Working();
}

Site At(double lat, double lon) {
  Site s;
  s.Site_nLat = lat;
  s.Site_eLon = lon;
  return s;
}

TEST(Session, TheNewestOfRapidRequestsIsTakenAndItsLogIsTheToolsByteForByte) {
  test::Workspace data;
  test::TempDir logs;
  Session s(data.dir.path(), logs.path());
  QSignalSpy taken(&s, &Session::eventsChanged);
  // As a held latitude button asks: a new site before the last one is done.
  for (double lat = 40; lat <= 42; lat += 0.5) {
    s.Set_Site(At(lat, 7.5));
    s.Recompute();
    EXPECT_TRUE(s.Computing());
    QTest::qWait(15);
  }
  ASSERT_TRUE(Settle(s));
  EXPECT_EQ(s.In_Force().site.Site_nLat, 42.0);
  EXPECT_GE(taken.count(), 1);
  EXPECT_LT(taken.count(), 5) << "overtaken computations are dropped";
  // What the tool writes for the site in force, from the same data.
  test::Workspace tool;
  const test::ToolResult r = test::RunTool("compute --lat 42 --lon 7.5 --zone 16 --dir '" + tool.dir.path().string() + "'");
  ASSERT_EQ(r.status, 0) << r.both();
  EXPECT_TRUE(test::ReadFile(s.Log_Path()) == test::ReadFile(EventLogPath(tool.dir.path())))
      << "the log after the last request differs from the tool's";

  // A result that arrives after a newer request is dropped, not taken.
  s.Set_Site(At(30, 7.5));
  s.Recompute();
  std::this_thread::sleep_for(std::chrono::seconds(4));  // its result waits in the queue
  s.Set_Site(At(31, 7.5));
  s.Recompute();
  const int before = static_cast<int>(taken.count());
  ASSERT_TRUE(Settle(s));
  EXPECT_EQ(taken.count(), before + 1) << "the overtaken result was taken too";
  EXPECT_EQ(s.In_Force().site.Site_nLat, 31.0);
}

TEST(Session, AFailedLoadIsToldAndTheTableInForceStays) {
  test::Workspace data;
  test::TempDir logs;
  Session s(data.dir.path(), logs.path());
  s.Set_Site(At(47.5, 7.5));
  s.Recompute();
  ASSERT_TRUE(Settle(s));
  const int events = s.In_Force().events.Event_Count;
  ASSERT_GT(events, 100000);
  std::filesystem::remove(data.dir / "HORIZONS_daten_2022-2032_MAR.bin");
  QSignalSpy failed(&s, &Session::failed);
  s.Set_Site(At(10, 7.5));
  s.Recompute();
  ASSERT_TRUE(Settle(s));
  ASSERT_EQ(failed.count(), 1);
  EXPECT_TRUE(failed[0][0].toString().contains("HORIZONS_daten_2022-2032_MAR.bin")) << failed[0][0].toString().toStdString();
  EXPECT_EQ(s.In_Force().site.Site_nLat, 47.5);
  EXPECT_EQ(s.In_Force().events.Event_Count, events);
  EXPECT_EQ(s.Site_Asked().Site_nLat, 10) << "what was asked for stays asked for (the close saves it)";
  EXPECT_FALSE(s.Computing());
}

TEST(Session, AnUnwritableLogIsToldAfterTheTableIsInForce) {
  test::Workspace data;
  test::TempDir logs;
  const std::filesystem::path blocked = logs / "not-a-folder";
  test::WriteFile(blocked, "");
  Session s(data.dir.path(), blocked);
  QSignalSpy failed(&s, &Session::failed);
  s.Recompute();
  ASSERT_TRUE(Settle(s));
  EXPECT_GT(s.In_Force().events.Event_Count, 100000);
  ASSERT_EQ(failed.count(), 1);
}

TEST(Session, DestroyedWhileComputingEndsPromptlyWithoutTakingAnything) {
  test::Workspace data;
  test::TempDir logs;
  const auto start = std::chrono::steady_clock::now();
  {
    Session s(data.dir.path(), logs.path());
    s.Recompute();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  QCoreApplication::processEvents();  // results queued for the gone session are dropped
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(Session, DaysAreClampedToTheSpanAndStepByTheCalendar) {
  // A folder without the coefficient file: the documented decade's years.
  Session s(".", {});
  ASSERT_TRUE(s.Span_Error().isEmpty()) << s.Span_Error().toStdString();
  const double first = CalendarToJD(2022, 1, 1, 0, 0, 0), last = CalendarToJD(2031, 12, 31, 0, 0, 0);
  EXPECT_EQ(s.First_Day(), first);
  EXPECT_EQ(s.Last_Day(), last);
  QSignalSpy changed(&s, &Session::dayChanged);
  const struct {
    double from;
    int y, m, d;
    double margin;
    double expected;
  } steps[] = {
      {CalendarToJD(2023, 1, 31, 0, 0, 0), 0, 1, 0, 0, CalendarToJD(2023, 3, 3, 0, 0, 0)},
      {CalendarToJD(2024, 2, 29, 0, 0, 0), 1, 0, 0, 0, CalendarToJD(2025, 3, 1, 0, 0, 0)},
      {CalendarToJD(2031, 6, 1, 0, 0, 0), 1, 0, 0, 0, last},
      {CalendarToJD(2022, 6, 1, 0, 0, 0), -1, 0, 0, 0, first},
      {CalendarToJD(2022, 1, 2, 0, 0, 0), 0, 0, -1, kDownKeyMargin, first + kDownKeyMargin},
  };
  for (const auto& c : steps) {
    s.Set_Day(c.from);
    s.Step_Day(c.y, c.m, c.d, c.margin);
    EXPECT_EQ(s.Day(), c.expected) << c.from << " + " << c.y << "/" << c.m << "/" << c.d;
  }
  s.Set_Day(last + 400);
  EXPECT_EQ(s.Day(), last);
  EXPECT_EQ(changed.count(), 11);
  EXPECT_FALSE(s.Computing());
}

// A data folder with the coefficients: the century, a period made into the
// cache with its progress, a making cancelled and one that cannot write.
struct CenturyData {
  test::Workspace ws;
  CenturyData() {
    for (const char* name : {kCoefficientFileName, kConstellationFileName})
      std::filesystem::create_symlink(std::filesystem::absolute(test::kBuildData / name), ws.dir / name);
  }
};

TEST(Session, MovingIntoAnotherPeriodMakesItsTablesOnceAndCancelGoesBack) {
  if (!test::HaveData()) GTEST_SKIP();
  CenturyData data;
  test::TempDir logs, cache;
  Session s(data.ws.dir.path(), logs.path(), nullptr, cache.path());
  EXPECT_EQ(s.Span(), (tDataSpan{1960, 2060}));
  s.Set_Site(At(47.5, 7.5));
  s.Recompute();
  ASSERT_TRUE(Settle(s));
  ASSERT_EQ(s.In_Force().ephemeris.period(), kDocumentedPeriod);

  QSignalSpy making(&s, &Session::making);
  s.Set_Day(CalendarToJD(1961, 6, 1, 0, 0, 0));
  EXPECT_EQ(s.Period_Asked(), (tPeriod{1960, 1962}));
  ASSERT_TRUE(Settle(s));
  ASSERT_EQ(s.In_Force().ephemeris.period(), (tPeriod{1960, 1962}));
  ASSERT_GE(making.count(), 3);
  EXPECT_GE(making.first().at(0).toDouble(), 0.0);
  EXPECT_LT(making.first().at(0).toDouble(), 0.1);
  EXPECT_EQ(making.last().at(0).toDouble(), -1.0) << "the bar is hidden at the end";
  EXPECT_TRUE(std::filesystem::exists(cache / "HORIZONS_daten_1960-1962_SUN.bin"));
  EXPECT_TRUE(std::filesystem::exists(logs / "Vesperkalend_1960-1962_Log.txt"));
  EXPECT_GT(s.In_Force().events.Event_Count, 1000);

  // Into 1962-1972, cancelled while its tables are made: back on 1961-12-31.
  making.clear();
  s.Set_Day(CalendarToJD(1965, 1, 1, 0, 0, 0));
  QElapsedTimer t;
  t.start();
  while (making.count() < 2 && t.elapsed() < 30000) QTest::qWait(2);
  s.Cancel_Making();
  ASSERT_TRUE(Settle(s));
  EXPECT_EQ(s.In_Force().ephemeris.period(), (tPeriod{1960, 1962}));
  EXPECT_EQ(s.Period_Asked(), (tPeriod{1960, 1962}));
  EXPECT_EQ(s.Day(), CalendarToJD(1961, 12, 31, 0, 0, 0));
  for (const auto& entry : std::filesystem::directory_iterator(cache.path()))
    EXPECT_EQ(entry.path().filename().string().find("1962-1972"), std::string::npos) << entry.path();
}

TEST(Session, AnUnwritableCacheIsToldAndTheWindowStaysOnItsPeriod) {
  if (!test::HaveData()) GTEST_SKIP();
  CenturyData data;
  test::TempDir logs, home;
  test::WriteFile(home / "cache", "a file where the folder would be");
  Session s(data.ws.dir.path(), logs.path(), nullptr, home / "cache");
  QSignalSpy failed(&s, &Session::failed);
  s.Recompute();
  ASSERT_TRUE(Settle(s));
  s.Set_Day(CalendarToJD(2045, 3, 20, 0, 0, 0));
  ASSERT_TRUE(Settle(s));
  ASSERT_EQ(failed.count(), 1);
  EXPECT_NE(failed.first().at(0).toString().toStdString().find((home / "cache").string() + ": Not a directory"),
            std::string::npos)
      << failed.first().at(0).toString().toStdString();
  EXPECT_EQ(s.In_Force().ephemeris.period(), kDocumentedPeriod);
  EXPECT_EQ(s.Day(), CalendarToJD(2031, 12, 31, 0, 0, 0));
  EXPECT_EQ(test::ReadFile(home / "cache"), "a file where the folder would be");
}

}  // namespace
}  // namespace vk
