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

TEST(Session, DaysAreClampedToThePeriodAndStepByTheCalendar) {
  Session s(".", {});
  QSignalSpy changed(&s, &Session::dayChanged);
  const struct {
    double from;
    int y, m, d;
    double first;
    double expected;
  } steps[] = {
      {CalendarToJD(2023, 1, 31, 0, 0, 0), 0, 1, 0, kFirstDay, CalendarToJD(2023, 3, 3, 0, 0, 0)},
      {CalendarToJD(2024, 2, 29, 0, 0, 0), 1, 0, 0, kFirstDay, CalendarToJD(2025, 3, 1, 0, 0, 0)},
      {CalendarToJD(2031, 6, 1, 0, 0, 0), 1, 0, 0, kFirstDay, kLastDay},
      {CalendarToJD(2022, 6, 1, 0, 0, 0), -1, 0, 0, kFirstDay, kFirstDay},
      {CalendarToJD(2022, 1, 2, 0, 0, 0), 0, 0, -1, kFirstDayDownKey, kFirstDayDownKey},
  };
  for (const auto& c : steps) {
    s.Set_Day(c.from);
    s.Step_Day(c.y, c.m, c.d, c.first);
    EXPECT_EQ(s.Day(), c.expected) << c.from << " + " << c.y << "/" << c.m << "/" << c.d;
  }
  s.Set_Day(kLastDay + 400);
  EXPECT_EQ(s.Day(), kLastDay);
  EXPECT_EQ(changed.count(), 11);
  EXPECT_FALSE(s.Computing());
}

}  // namespace
}  // namespace vk
