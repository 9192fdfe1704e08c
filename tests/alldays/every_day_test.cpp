// Every day of the period at six sites, from the Alps to Svalbard, Sydney,
// Quito and Reykjavik: the chart's texts (title, next rises and sets, Sun
// spans, the day's event list with every filter on) come out without an error
// and every listed time lies inside its day.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>

#include "chart/day_chart.h"
#include "events/recompute.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

constexpr double kFirst = 2459580.5;  // 2022-01-01
constexpr double kLast = 2463230.5;   // 2031-12-30

struct SiteCase {
  const char* name;
  double lat, lon, zone_hours;
};

class EveryDay : public ::testing::TestWithParam<SiteCase> {};

// "HH:MM:SS" with HH 00 … 23. Returns: the seconds of the day, or -1.
int SecondsOfDay(const std::string& t) {
  int h = 0, m = 0, s = 0;
  char tail = 0;
  if (t.size() != 8 || std::sscanf(t.c_str(), "%2d:%2d:%2d%c", &h, &m, &s, &tail) != 3) return -1;
  if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return -1;
  return h * 3600 + m * 60 + s;
}

TEST_P(EveryDay, TextsOfEveryDayStayInsideTheDay) {
  const SiteCase site = GetParam();
  static Almanac almanac;
  almanac.site.Site_nLat = site.lat;
  almanac.site.Site_eLon = site.lon;
  almanac.site.Site_TZ_Hours = site.zone_hours;
  test::TempDir logs;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_NO_THROW(RunRecomputationChain(almanac, VK_DATA_DIR, nullptr, logs.path()));
  const EventStore& store = almanac.events;
  ASSERT_GT(store.Event_Count, 50000);

  int days = 0, listed = 0, bad = 0;
  for (double day = kFirst; day <= kLast; day += 1.0, ++days) {
    if (bad > 10) break;
    try {
      ASSERT_FALSE(Chart_Title(day).empty());
      (void)Find_Sun_Times(store, day);
      if (!Sun_Day_Is_Regular(store, day)) {
        std::optional<double> noon;
        if (const auto n = Find_Event(store, 1, day, "Sonne", "wahrer Mittag");
            n && store.Event_Tab[static_cast<std::size_t>(*n)].jd_local < day + 1.0)
          noon = Time_Of_Day_Hours(store.Event_Tab[static_cast<std::size_t>(*n)].jd_local);
        for (const tSunSpan& s : Find_Sun_Spans(store, day, noon)) {
          if (s.from) {
            EXPECT_TRUE(*s.from >= 0 && *s.from <= 24) << Date_Time_Text(day) << " " << *s.from;
          }
          if (s.to) {
            EXPECT_TRUE(*s.to >= 0 && *s.to <= 24) << Date_Time_Text(day) << " " << *s.to;
          }
        }
      }
      for (const tBodyChart& body : Body_Charts) {
        const tRiseSet rs = Find_Rise_Set(store, day, body);
        if (rs.Rise_h) {
          EXPECT_TRUE(*rs.Rise_h >= 0 && *rs.Rise_h < 24) << Date_Time_Text(day) << " " << rs.line;
        }
        if (rs.Set_h) {
          EXPECT_TRUE(*rs.Set_h >= 0 && *rs.Set_h < 48) << Date_Time_Text(day) << " " << rs.line;
        }
      }
      for (const tListedEvent& item : List_Day_Events(store, day, true, true, true)) {
        ++listed;
        const tEventData& e = store.Event_Tab[static_cast<std::size_t>(item.index)];
        const int shown = SecondsOfDay(item.time);
        const double exact = (e.jd_local - day) * 86400.0;
        const bool inside = e.jd_local >= day && e.jd_local < day + 1.0;
        // Shown to the nearest second, the day's last half-second at 23:59:59.
        const bool agrees = shown >= 0 && std::fabs(shown - exact) <= 0.5005 + (shown == 86399 ? 0.5 : 0.0);
        if (!inside || !agrees) {
          ++bad;
          ADD_FAILURE() << site.name << " " << Date_Time_Text(day) << ": '" << item.time << "' " << item.body << " "
                        << item.text << " at " << Date_Time_Text(e.jd_local);
        }
      }
    } catch (const std::exception& ex) {
      ++bad;
      ADD_FAILURE() << site.name << " " << Date_Time_Text(day) << ": " << ex.what();
    }
  }
  EXPECT_EQ(days, 3651);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %d days, %d listed events, %d events in the table, %.1f s\n", site.name, days, listed,
              store.Event_Count, seconds);
}

INSTANTIATE_TEST_SUITE_P(Sites, EveryDay,
                         ::testing::Values(SiteCase{"Basel", 47.5, 7.5, 1}, SiteCase{"Tromsoe", 69.65, 18.96, 1},
                                           SiteCase{"Longyearbyen", 78.22, 15.65, 1},
                                           SiteCase{"Sydney", -33.87, 151.21, 10}, SiteCase{"Quito", -0.18, -78.47, -5},
                                           SiteCase{"Reykjavik", 64.1, -21.9, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vk
