// Every event of the decade on the shipped data, checked as a person would
// check them in an almanac.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "compute.h"
#include "events/event_kinds.h"
#include "events/recompute.h"
#include "support/temp_dir.h"
#include "support/workspace.h"
#include "timecalc/calendar.h"

namespace vk {
namespace {

const std::filesystem::path kData = test::kBuildData;
using test::HaveData;
using test::Workspace;

Almanac& Shared() {
  static Almanac a;
  return a;
}

std::map<std::string, int> CountByBodyAndEvent(const EventStore& s) {
  std::map<std::string, int> n;
  for (int i = 1; i <= s.Event_Count; ++i) ++n[std::string(s.Event_Tab[i].body) + "|" + std::string(s.Event_Tab[i].event)];
  return n;
}

// Whether an event of the body and name has its local time on the local calendar day.
bool OnDay(const EventStore& s, const std::string& body, const std::string& event, int y, int m, int d) {
  const double day = CalendarToJD(y, m, d, 0, 0, 0);
  for (int i = 1; i <= s.Event_Count; ++i) {
    const tEventData& e = s.Event_Tab[i];
    if (e.jd_local >= day && e.jd_local < day + 1 && e.body == body && e.event == event) return true;
  }
  return false;
}

// Where a body's rises and sets do not alternate: a rise after a rise, or a
// set after a set, in time order, as "body: UT Julian day" of the second.
std::vector<std::string> AlternationBreaks(const EventStore& s) {
  std::map<std::string, std::vector<std::pair<double, bool>>> by_body;
  for (int i = 1; i <= s.Event_Count; ++i) {
    const tEventData& e = s.Event_Tab[i];
    if (e.event == EventName(EventKind::Aufgang) || e.event == EventName(EventKind::Untergang))
      by_body[std::string(e.body)].emplace_back(e.jd_ut, e.event == EventName(EventKind::Aufgang));
  }
  std::vector<std::string> breaks;
  for (auto& [body, list] : by_body) {
    std::sort(list.begin(), list.end());
    for (std::size_t i = 1; i < list.size(); ++i)
      if (list[i].second == list[i - 1].second) breaks.push_back(body + ": " + std::to_string(list[i].first));
  }
  return breaks;
}

// The UT Julian day of a calendar instant.
double UT(int y, int mo, int d, int h, int mi) { return CalendarToJD(y, mo, d, h, mi, 0); }

// Whether the store holds the body's event within `seconds` of jd_ut.
bool Near(const EventStore& s, std::string_view body, std::string_view event, double jd_ut, double seconds) {
  for (int i = 1; i <= s.Event_Count; ++i) {
    const tEventData& e = s.Event_Tab[i];
    if (e.body == body && e.event == event && std::fabs(e.jd_ut - jd_ut) * 86400 <= seconds) return true;
  }
  return false;
}

class RealData : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveData()) GTEST_SKIP() << "no data in " << kData << " (the build produces it)";
  }
};

TEST_F(RealData, MidEuropeanSiteHasEveryDailyAndYearlyEvent) {
  Workspace ws;
  Almanac& a = Shared();
  a.site = Site{47.5, 7.5, 1.0, {}};
  RunRecomputationChain(a, ws.dir.path(), nullptr);
  auto n = CountByBodyAndEvent(a.events);
  EXPECT_EQ(n["Sonne|Aufgang"], 3652);
  EXPECT_EQ(n["Sonne|Untergang"], 3652);
  EXPECT_EQ(n["Mond|Vollmond"], 124);
  for (const char* season : {"Frühlingsanfang", "Sommeranfang", "Herbstanfang", "Winteranfang"})
    for (const char* variant : {" (Ekliptik)", " (Äquator)"})
      EXPECT_EQ(n[std::string("Sonne|") + season + variant], 10) << season << variant;
  // Winter nights are dark enough for every twilight, morning and evening.
  for (int y = 2022; y <= 2031; ++y)
    for (int d = 1; d <= 31; ++d)
      for (const char* tw : {"MAstrD", "AAstrD", "MNautD", "ANautD", "MBurgD", "ABurgD"})
        ASSERT_TRUE(OnDay(a.events, "Sonne", tw, y, 12, d)) << tw << " missing on " << y << "-12-" << d;
  // Every name in the log is a kind of the table, and every kind occurs over
  // the decade (the brightness maxima only where the data rounds them into view, the
  // central solar eclipses only where they pass).
  std::map<std::string, int> kinds;
  for (int i = 1; i <= a.events.Event_Count; ++i) {
    ASSERT_TRUE(FindEventKind(a.events.Event_Tab[i].event)) << "unknown kind '" << a.events.Event_Tab[i].event << "'";
    ++kinds[std::string(a.events.Event_Tab[i].event)];
  }
  for (const tEventKind& k : EventKinds) {
    if (k.name.find("Helligkeit") != std::string_view::npos) continue;
    // No annular or total solar eclipse passes the site in the decade.
    if (k.kind == EventKind::SonnenfinsternisRingfoermig || k.kind == EventKind::SonnenfinsternisTotal) continue;
    // The golden and blue hours only when asked for (SiteChange checks them).
    if (k.category == EventCategory::PhotoLight) continue;
    EXPECT_GT(kinds[std::string(k.name)], 0) << k.name;
  }
  // In time order after the sort.
  for (int i = 2; i <= a.events.Event_Count; ++i)
    ASSERT_LE(a.events.Event_Tab[i - 1].jd_local, a.events.Event_Tab[i].jd_local) << "entry " << i;
  // 2024-04-08: full solar eclipse day elsewhere; here the new Moon of that day at 18:20 UT.
  EXPECT_TRUE(OnDay(a.events, "Mond", "Neumond", 2024, 4, 8));
  std::cout << "[ events  ] " << a.events.Event_Count << " events at 47.5 N 7.5 E, zone 16\n";
}

// The eclipses and occultations a user in Central Europe sees in the decade
// reach the table in both modes at the same instants; the classic log leaves them out.
TEST_F(RealData, HeadlineEventsInBothModesAndThePreciseLogAlone) {
  const struct {
    const char* body;
    EventKind kind;
    int y, m, d;
  } seen[] = {{"Sonne", EventKind::SonnenfinsternisPartiell, 2022, 10, 25},
              {"Sonne", EventKind::SonnenfinsternisPartiell, 2025, 3, 29},
              {"Sonne", EventKind::SonnenfinsternisPartiell, 2026, 8, 12},
              {"Sonne", EventKind::SonnenfinsternisPartiell, 2027, 8, 2},
              {"Sonne", EventKind::SonnenfinsternisPartiell, 2028, 1, 26},
              {"Sonne", EventKind::SonnenfinsternisPartiell, 2030, 6, 1},
              {"Mond", EventKind::MondfinsternisTotal, 2022, 5, 16},
              {"Mond", EventKind::MondfinsternisPartiell, 2023, 10, 28},
              {"Mond", EventKind::MondfinsternisPartiell, 2024, 9, 18},
              {"Mond", EventKind::MondfinsternisTotal, 2025, 3, 14},
              {"Mond", EventKind::MondfinsternisTotal, 2025, 9, 7},
              {"Mond", EventKind::MondfinsternisTotal, 2028, 12, 31},
              {"Mond", EventKind::MondfinsternisTotal, 2029, 6, 26},
              {"Mond", EventKind::MondfinsternisTotal, 2029, 12, 20},
              {"Saturn", EventKind::VomMondBedeckt, 2024, 8, 21},
              {"Saturn", EventKind::VomMondBedeckt, 2025, 1, 4},
              {"Mars", EventKind::VomMondBedeckt, 2022, 12, 8},
              {"Mond", EventKind::BeiJupiter, 2024, 1, 18}};
  Workspace ws;
  Almanac& a = Shared();
  std::vector<double> instants[2];
  for (const Interpolation mode : {Interpolation::Classic, Interpolation::Precise}) {
    SCOPED_TRACE(mode == Interpolation::Precise ? "precise" : "classic");
    a.site = Site{47.5, 7.5, 1.0, {}};
    a.interpolation = mode;
    RunRecomputationChain(a, ws.dir.path(), nullptr);
    for (const auto& e : seen)
      EXPECT_TRUE(OnDay(a.events, e.body, std::string(EventName(e.kind)), e.y, e.m, e.d))
          << e.body << " " << EventName(e.kind) << " " << e.y << "-" << e.m << "-" << e.d;
    EXPECT_EQ(a.events.headlines.solar.size(), 6u);
    for (int i = 1; i <= a.events.Event_Count; ++i)
      if (CategoryOf(a.events.Event_Tab[i].body, a.events.Event_Tab[i].event) == EventCategory::Eclipse ||
          a.events.Event_Tab[i].event.starts_with("bei "))
        instants[mode == Interpolation::Precise].push_back(a.events.Event_Tab[i].jd_ut);
    const std::string log = test::ReadFile(ws.dir / kEventLogName);
    EXPECT_EQ(log.find("finsternis") != std::string::npos, mode == Interpolation::Precise);
    EXPECT_EQ(log.find("vom Mond bedeckt") != std::string::npos, mode == Interpolation::Precise);
  }
  EXPECT_GT(instants[0].size(), 300u);
  EXPECT_EQ(instants[0], instants[1]);
}

TEST_F(RealData, TheSameSiteTwiceAndOnOneCoreGivesTheSameBytes) {
  Workspace ws;
  Almanac& a = Shared();
  a.site = Site{47.5, 7.5, 1.0, {}};
  ComputeAllData(a.ephemeris, *a.basic, a.site, ws.dir.path(), nullptr, 2);
  const std::string first = test::ReadFile(ws.dir / kEventLogName);
  ComputeAllData(a.ephemeris, *a.basic, a.site, ws.dir.path(), nullptr, 2);
  EXPECT_TRUE(first == test::ReadFile(ws.dir / kEventLogName)) << "a second run differs";
  ComputeAllData(a.ephemeris, *a.basic, a.site, ws.dir.path(), nullptr, 1);
  EXPECT_TRUE(first == test::ReadFile(ws.dir / kEventLogName)) << "a run on one core differs";
}

TEST_F(RealData, ArcticSiteHasWhiteNightsAndAPolarNight) {
  Workspace ws;
  Almanac& a = Shared();
  a.site = Site{69.65, 18.96, 1.0, {}};  // Tromsø
  a.interpolation = Interpolation::Precise;
  RunRecomputationChain(a, ws.dir.path(), nullptr);
  for (int y = 2022; y <= 2031; ++y) {
    for (int d = 1; d <= 30; ++d) EXPECT_FALSE(OnDay(a.events, "Sonne", "MAstrD", y, 6, d)) << y << "-06-" << d;
    for (int d = 5; d <= 25; ++d) EXPECT_FALSE(OnDay(a.events, "Sonne", "Aufgang", y, 12, d)) << y << "-12-" << d;
    for (int d = 1; d <= 30; ++d) EXPECT_FALSE(OnDay(a.events, "Sonne", "Untergang", y, 6, d)) << y << "-06-" << d;
  }
  auto n = CountByBodyAndEvent(a.events);
  EXPECT_GT(n["Sonne|wahrer Mittag"], 3600) << "the Sun still culminates every day";
  // Precise instants find every crossing: a body below (or above) the horizon
  // for less than two rows, only the upper limb crossing, both crossings of
  // a twilight level within one hour. Instants of both independent
  // references, to the minute.
  const struct {
    const char* body;
    const char* event;
    double ut;
  } grazes[] = {
      {"Uranus", "Aufgang", UT(2024, 8, 10, 17, 59)},  {"Uranus", "Aufgang", UT(2024, 8, 11, 17, 55)},
      {"Uranus", "Aufgang", UT(2024, 8, 12, 17, 51)},  {"Mars", "Aufgang", UT(2022, 8, 27, 16, 59)},
      {"Sonne", "Untergang", UT(2022, 1, 18, 11, 57)}, {"Sonne", "Aufgang", UT(2022, 1, 15, 10, 29)},
      {"Sonne", "Untergang", UT(2022, 1, 15, 11, 17)}, {"Mond", "Aufgang", UT(2022, 1, 27, 5, 17)},
      {"Mond", "Untergang", UT(2022, 1, 27, 6, 36)},   {"Sonne", "ABurgD", UT(2023, 4, 28, 22, 24)},
      {"Sonne", "MBurgD", UT(2023, 4, 28, 22, 57)},    {"Sonne", "AAstrD", UT(2026, 9, 16, 22, 36)},
      {"Sonne", "MAstrD", UT(2026, 9, 16, 22, 42)},
  };
  for (const auto& g : grazes)
    EXPECT_TRUE(Near(a.events, g.body, g.event, g.ut + 30.0 / 86400, 60)) << g.body << " " << g.event << " at JD " << g.ut;
  const std::vector<std::string> breaks = AlternationBreaks(a.events);
  EXPECT_TRUE(breaks.empty()) << breaks.size() << " breaks, the first at " << breaks.front();
}

TEST_F(RealData, RisesAndSetsAlternateAt78North) {
  Workspace ws;
  Almanac& a = Shared();
  a.site = Site{78.2, 15.6, 1.0, {}};  // Longyearbyen
  a.interpolation = Interpolation::Precise;
  RunRecomputationChain(a, ws.dir.path(), nullptr);
  const std::vector<std::string> breaks = AlternationBreaks(a.events);
  EXPECT_TRUE(breaks.empty()) << breaks.size() << " breaks, the first at " << breaks.front();
  EXPECT_GT(CountByBodyAndEvent(a.events)["Sonne|Aufgang"], 1200);
}

}  // namespace
}  // namespace vk
