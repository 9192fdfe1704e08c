// The first and last local day of a period far from UT: the day's events
// equal those of rows running across the boundary, each once, and the
// written log is the period's rows' alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "base/error.h"
#include "compute.h"
#include "event_passes.h"
#include "period_margins.h"
#include "events/recompute.h"
#include "support/temp_dir.h"
#include "support/workspace.h"
#include "tables/period_tables.h"
#include "timecalc/calendar.h"
#include "timecalc/zone_file.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

struct DayEvent {
  std::string body, event;
  double jd_ut;
};

// The events of local day `day` (00:00 local as a Julian day) in the table.
std::vector<DayEvent> TableDay(const EventStore& s, double day) {
  std::vector<DayEvent> out;
  for (int i = 1; i <= s.Event_Count; ++i) {
    const tEventData& e = s.Event_Tab[static_cast<std::size_t>(i)];
    if (e.jd_local >= day && e.jd_local < day + 1) out.push_back({std::string(e.body), std::string(e.event), e.jd_ut});
  }
  return out;
}

// The events of local day `day` found on rows from two days before the
// boundary of `period` to two days after it, computed as one run.
std::vector<DayEvent> AcrossDay(const HourRowsFn& hour_rows, const tPeriod& period, int boundary_hour,
                                const Site& site, double day) {
  constexpr int kHours = 96;
  static EphemerisStore eph(kHours);
  static BasicTable basic(kHours);
  const std::pair<int, int> hours[] = {{boundary_hour - kHours / 2, boundary_hour + kHours / 2}};
  const std::vector<tEphemerisData> records = hour_rows(period, hours);
  for (int b = 0; b < kBodyCount; ++b)
    for (int k = 1; k <= kHours; ++k) eph.at(b, k) = StoredRow(records[static_cast<std::size_t>(b * kHours + k - 1)]);
  eph.set_rows(period, kHours);
  const ObserverConstants obs = ComputeObserverConstants(site.Site_nLat);
  std::vector<DayEvent> out;
  for (int b = 0; b < kBodyCount; ++b) {
    PrepareBasicValues(eph, b, basic);
    ComputeSiteValues(eph, site, obs, b, basic);
    LogText text;
    LineRecords lines;
    RunEventPasses(eph, basic, site, obs, b, text, Interpolation::Precise, &lines);
    for (const LineRecord& r : lines) {
      const std::string line(text.data() + r.start, r.end);
      if (r.jd_local >= day && r.jd_local < day + 1)
        out.push_back({line.substr(kLineBodyAt, line.find('\t', kLineBodyAt) - kLineBodyAt),
                       line.substr(r.event_at, line.find('\t', r.event_at) - r.event_at), r.jd_ut});
    }
  }
  return out;
}

std::string Describe(const std::vector<DayEvent>& events) {
  std::string s;
  for (const DayEvent& e : events) s += "  " + e.body + " " + e.event + " " + std::to_string(e.jd_ut) + "\n";
  return s;
}

// Each event of `got` matches one of `want` (same body and event) within a
// second, and the counts agree.
void ExpectSameDay(std::vector<DayEvent> got, std::vector<DayEvent> want, const std::string& label) {
  auto order = [](const DayEvent& a, const DayEvent& b) {
    return std::tie(a.body, a.event, a.jd_ut) < std::tie(b.body, b.event, b.jd_ut);
  };
  std::sort(got.begin(), got.end(), order);
  std::sort(want.begin(), want.end(), order);
  ASSERT_EQ(got.size(), want.size()) << label << "\ntable:\n" << Describe(got) << "across:\n" << Describe(want);
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].body + got[i].event, want[i].body + want[i].event) << label;
    EXPECT_NEAR(got[i].jd_ut, want[i].jd_ut, 1.0 / 86400) << label << ": " << got[i].body << " " << got[i].event;
  }
}

std::shared_ptr<const ZoneTable> Zone(const char* name) {
  return std::make_shared<const ZoneTable>(ReadZoneTable(ZoneInfoDir(), name));
}

TEST(PeriodMargins, BoundaryDaysFarFromUtEqualRowsAcrossTheBoundary) {
  if (!test::HaveData()) GTEST_SKIP() << "no data in " << test::kBuildData;
  const HourRowsFn hour_rows = ephemgen::HourRowsOfFolder(test::kBuildData);
  ASSERT_TRUE(hour_rows);
  // Periods of a year around 1972 and after the documented decade, made
  // as the program makes other periods; the documented decade's own files.
  test::TempDir cache;
  const struct {
    const char* label;
    tPeriod period;
    Site site;
    int year, month, day;  // the local day checked
    const char* first_event;  // an event of the day the period's rows alone miss
  } kCases[] = {
      {"1971-12-31, 151.2 E, UT+11", {1971, 1972}, {-33.9, 151.2, 11, {}}, 1971, 12, 31, nullptr},
      {"1972-01-01, 151.2 E, UT+11", {1972, 1973}, {-33.9, 151.2, 11, {}}, 1972, 1, 1, "Aufgang"},
      {"1971-12-31, 118 W, UT-8", {1971, 1972}, {34.05, -118.0, -8, {}}, 1971, 12, 31, "AAstrD"},
      {"1972-01-01, 118 W, UT-8", {1972, 1973}, {34.05, -118.0, -8, {}}, 1972, 1, 1, nullptr},
      {"2031-12-31, Australia/Sydney", kDocumentedPeriod, {-33.9, 151.2, 10, Zone("Australia/Sydney")}, 2031, 12, 31,
       nullptr},
      {"2032-01-01, Australia/Sydney", {2032, 2033}, {-33.9, 151.2, 10, Zone("Australia/Sydney")}, 2032, 1, 1,
       "Aufgang"},
      {"2031-12-31, America/Los_Angeles", kDocumentedPeriod, {34.05, -118.0, -8, Zone("America/Los_Angeles")}, 2031,
       12, 31, "AAstrD"},
      {"2032-01-01, America/Los_Angeles", {2032, 2033}, {34.05, -118.0, -8, Zone("America/Los_Angeles")}, 2032, 1, 1,
       nullptr},
  };
  static Almanac a, own;  // large: not on the stack; `own` without the margins
  a.hour_rows = hour_rows;
  for (const auto& c : kCases) {
    const fs::path dir = ephemgen::PeriodTablesDir(test::kBuildData, cache.path(), c.period);
    for (Almanac* x : {&a, &own}) {
      x->site = c.site;
      x->period = c.period;
      RunRecomputationChain(*x, dir, nullptr, cache.path());
    }
    const double day = CalendarToJD(c.year, c.month, c.day, 0, 0, 0);
    // Hour 0 of the boundary: the first day of the period, or the day after its last.
    const int boundary = c.month == 1 ? 0 : c.period.days() * 24;
    const std::vector<DayEvent> table = TableDay(a.events, day);
    ExpectSameDay(table, AcrossDay(hour_rows, c.period, boundary, c.site, day), c.label);
    if (c.first_event) {
      const auto sun = [&](const std::vector<DayEvent>& v) {
        return std::count_if(v.begin(), v.end(), [&](const DayEvent& e) { return e.body == "Sonne" && e.event == c.first_event; });
      };
      EXPECT_EQ(sun(table), 1) << c.label;
      EXPECT_EQ(sun(TableDay(own.events, day)), 0) << c.label << ": the period's rows alone lack it";
    }
  }
}

// The documented decade's written log stays the period's rows' alone in
// both modes, while its table holds the margins' events as well; hours that
// cannot be made leave the table as without them.
TEST(PeriodMargins, TheLogIsThePeriodsRowsAloneAndMissingHoursChangeNothing) {
  if (!test::HaveData()) GTEST_SKIP() << "no data in " << test::kBuildData;
  const HourRowsFn failing = [](const tPeriod&, std::span<const std::pair<int, int>>) -> std::vector<tEphemerisData> {
    throw Error("de405_1960-2060.bin: damaged");
  };
  const struct {
    const char* label;
    HourRowsFn hour_rows;
    Interpolation mode;
    bool more_events;  // the table holds more events than without margins
  } kCases[] = {
      {"classic with margins", ephemgen::HourRowsOfFolder(test::kBuildData), Interpolation::Classic, true},
      {"precise with margins", ephemgen::HourRowsOfFolder(test::kBuildData), Interpolation::Precise, true},
      {"precise, hours failing", failing, Interpolation::Precise, false},
  };
  test::TempDir logs;
  static Almanac a;
  const Site far{-33.9, 151.2, 11, {}};
  for (const auto& c : kCases) {
    a.site = far;
    a.interpolation = c.mode;
    a.hour_rows = {};
    a.prepared.reset();
    RunRecomputationChain(a, test::kBuildData, nullptr, logs.path());
    const std::string plain = test::ReadFile(logs / EventLogName(kDocumentedPeriod));
    const int plain_count = a.events.Event_Count;
    a.hour_rows = c.hour_rows;
    a.prepared.reset();
    RunRecomputationChain(a, test::kBuildData, nullptr, logs.path());
    const std::string log = test::ReadFile(logs / EventLogName(kDocumentedPeriod));
    EXPECT_TRUE(log == plain) << c.label << ": " << log.size() << " bytes, " << plain.size() << " without margins";
    if (c.more_events)
      EXPECT_GT(a.events.Event_Count, plain_count) << c.label;
    else
      EXPECT_EQ(a.events.Event_Count, plain_count) << c.label;
  }
}

// A margin whose hours cannot be made (beyond the coefficients, a damaged
// file) stays empty; the other one is made. The coefficients reach past the
// span's ends: its first and last periods get both.
TEST(PeriodMargins, AMarginThatCannotBeMadeStaysEmpty) {
  if (!test::HaveData()) GTEST_SKIP() << "no data in " << test::kBuildData;
  const HourRowsFn real = ephemgen::HourRowsOfFolder(test::kBuildData);
  auto failing_where = [&](bool before) {
    return [=](const tPeriod& p, std::span<const std::pair<int, int>> hours) {
      for (const auto& [first, end] : hours)
        if ((first < 0) == before) throw Error("de405_1960-2060.bin: no such hours");
      return real(p, hours);
    };
  };
  const struct {
    tPeriod period;
    HourRowsFn hour_rows;
    bool before, after;
  } kCases[] = {{{1960, 1962}, real, true, true},
                {{2052, 2060}, real, true, true},
                {{1962, 1972}, failing_where(true), false, true},
                {{1962, 1972}, failing_where(false), true, false}};
  static PeriodMargins m;
  for (const auto& c : kCases) {
    m.Load(c.period, c.hour_rows);
    EXPECT_TRUE(m.Tried(c.period)) << c.period.tag();
    EXPECT_EQ(m.Before(), c.before) << c.period.tag();
    EXPECT_EQ(m.After(), c.after) << c.period.tag();
  }
}

}  // namespace
}  // namespace vk
