// Bars of bodies that do not rise and set once each day: circumpolar and
// never-rising days, a lone rise or set, crossings lost where the body only
// grazes the horizon.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chart/day_chart.h"
#include "support/chart_fixtures.h"

namespace vk {
namespace {

using test::Local;
using Spans = std::vector<std::pair<double, double>>;

constexpr double kJun21 = 2460482.5;  // 2024-06-21 00:00

struct Crossing {
  int y, mo, d, h, mi;
  const char* event;  // "Aufgang" or "Untergang"
};

struct Case {
  const char* name;
  std::vector<Crossing> crossings;  // of Jupiter, in order of time
  bool regular;
  Spans spans;                      // hours of 2024-06-21 (only when not regular)
  std::optional<double> picture_h;  // only when not regular
};

const std::vector<Case> kCases = {
    {"up all day: the next set years ahead",
     {{2024, 6, 2, 1, 34, "Untergang"}, {2026, 7, 20, 23, 50, "Untergang"}, {2026, 7, 28, 1, 52, "Aufgang"},
      {2026, 7, 28, 23, 54, "Untergang"}},
     false, {{0.0, 24.0}}, 0.0},
    {"down all day: next rise weeks ahead",
     {{2024, 5, 1, 10, 0, "Untergang"}, {2024, 7, 19, 2, 33, "Aufgang"}, {2024, 7, 19, 22, 0, "Untergang"}},
     false, {}, std::nullopt},
    {"lone rise: up from it to the day's end",
     {{2024, 6, 1, 3, 0, "Untergang"}, {2024, 6, 21, 5, 0, "Aufgang"}, {2024, 8, 1, 3, 0, "Untergang"}},
     false, {{5.0, 24.0}}, 5.0},
    {"lone set: up from the day's start to it",
     {{2024, 3, 1, 3, 0, "Aufgang"}, {2024, 6, 21, 7, 30, "Untergang"}, {2024, 8, 1, 3, 0, "Aufgang"}},
     false, {{0.0, 7.5}}, 0.0},
    {"set and a rise more than a day before the next set",
     {{2024, 6, 20, 3, 0, "Aufgang"}, {2024, 6, 21, 2, 0, "Untergang"}, {2024, 6, 21, 22, 0, "Aufgang"},
      {2024, 6, 23, 1, 0, "Untergang"}},
     false, {{0.0, 2.0}, {22.0, 24.0}}, 22.0},
    {"sets without rises: the body grazed the horizon and stays up",
     {{2024, 6, 18, 23, 0, "Aufgang"}, {2024, 6, 19, 23, 50, "Untergang"}, {2024, 6, 20, 23, 40, "Untergang"},
      {2024, 6, 21, 23, 30, "Untergang"}},
     false, {{0.0, 24.0}}, 0.0},
    {"rises without sets: the body peeked above and stays down",
     {{2024, 6, 19, 12, 0, "Untergang"}, {2024, 6, 20, 12, 0, "Aufgang"}, {2024, 6, 21, 12, 10, "Aufgang"}},
     false, {}, std::nullopt},
    {"no crossings at all", {}, false, {}, std::nullopt},
    {"rise and set within a day of each other: the bar from rise to set",
     {{2024, 6, 21, 21, 40, "Aufgang"}, {2024, 6, 22, 10, 5, "Untergang"}},
     true, {}, std::nullopt},
};

TEST(UpSpans, FromTheBodysOwnCrossings) {
  for (const Case& c : kCases) {
    test::StoreBuilder b;
    // Another body's crossings in between must not count.
    b.add(Local(2024, 6, 1, 0, 0), "Saturn", "Aufgang");
    for (const Crossing& x : c.crossings) b.add(Local(x.y, x.mo, x.d, x.h, x.mi), "Jupiter", x.event);
    b.add(Local(2024, 6, 21, 12, 0), "Saturn", "Untergang");
    std::sort(b.store.Event_Tab.begin() + 1, b.store.Event_Tab.end(),
              [](const tEventData& l, const tEventData& r) { return l.jd_local < r.jd_local; });
    const tRiseSet rs = Find_Rise_Set(b.store, kJun21, Body_Charts[4]);
    EXPECT_EQ(rs.Bar_Regular, c.regular) << c.name;
    if (c.regular) continue;
    ASSERT_EQ(rs.Up_Spans.size(), c.spans.size()) << c.name;
    for (std::size_t k = 0; k < c.spans.size(); ++k) {
      EXPECT_NEAR(rs.Up_Spans[k].first, c.spans[k].first, 1e-6) << c.name;
      EXPECT_NEAR(rs.Up_Spans[k].second, c.spans[k].second, 1e-6) << c.name;
    }
    ASSERT_EQ(rs.Picture_h.has_value(), c.picture_h.has_value()) << c.name;
    if (c.picture_h) {
      EXPECT_NEAR(*rs.Picture_h, *c.picture_h, 1e-6) << c.name;
    }
  }
}

TEST(UpSpans, MemoLineStillNamesTheFarRise) {
  test::StoreBuilder b;
  b.add(Local(2024, 6, 2, 1, 34), "Jupiter", "Untergang");
  b.add(Local(2026, 7, 28, 1, 52, 22), "Jupiter", "Aufgang");
  b.add(Local(2026, 7, 28, 23, 54, 14), "Jupiter", "Untergang");
  const tRiseSet rs = Find_Rise_Set(b.store, kJun21, Body_Charts[4]);
  EXPECT_EQ(rs.line, "JUP A: 2026-07-28  01:52:22  U: 2026-07-28  23:54:14");
  EXPECT_FALSE(rs.Bar_Regular);
  EXPECT_TRUE(rs.Up_Spans.empty());  // the next crossing is a rise: down all day
}

// Jupiter's column and colour.
const std::string kJupiter = "240,240,160";

TEST(UpSpans, WholeDayBarAndNoneDrawn) {
  // Next crossing a rise two years ahead: down all day.
  test::StoreBuilder down;
  down.add(Local(2024, 6, 2, 1, 34), "Jupiter", "Untergang");
  down.add(Local(2026, 7, 28, 1, 52), "Jupiter", "Aufgang");
  down.add(Local(2026, 7, 28, 23, 54), "Jupiter", "Untergang");
  // Next crossing a set two years ahead: up all day.
  test::StoreBuilder up;
  up.add(Local(2024, 6, 2, 1, 34), "Jupiter", "Aufgang");
  up.add(Local(2026, 7, 28, 1, 52), "Jupiter", "Untergang");
  DayChart d, u;
  d.Sel_JD = u.Sel_JD = kJun21;
  ASSERT_TRUE(Render_Day_Chart(d, down.store, {}));
  ASSERT_TRUE(Render_Day_Chart(u, up.store, {}));
  for (int row : {100, test::Row(1, 0), test::Row(12, 0), test::Row(23, 0), 2099}) {
    EXPECT_EQ(test::Rgb(d.Img, 450, row), row < 1100 ? "0,0,0" : "24,24,24") << row;
    EXPECT_EQ(test::Rgb(u.Img, 450, row), kJupiter) << row;
  }
  // Nothing beyond the day's edges.
  EXPECT_EQ(test::Rgb(u.Img, 450, 2100), "24,24,24");
  EXPECT_EQ(test::Rgb(u.Img, 450, 97), "0,0,0");
}

}  // namespace
}  // namespace vk
