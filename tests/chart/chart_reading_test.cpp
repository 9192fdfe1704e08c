// The golden and blue hour bands and the reading aids of a crowded chart:
// labels spread without overlaps, the legend, the present moment, and the
// bars and pictures found under the pointer.
#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "chart/day_chart.h"
#include "support/chart_fixtures.h"

namespace vk {
namespace {

using test::Local;
using test::Rgb;
using test::Row;
using Spans = std::vector<std::pair<double, double>>;

constexpr double kJul19 = 2460510.5;  // 2024-07-19 00:00

TEST(SpreadLabelRows, NeverCloserThanTheSpacingAndNearTheirRows) {
  const struct {
    const char* name;
    std::vector<int> wanted;
    int top, bottom;
    std::vector<int> rows;
  } cases[] = {
      {"apart: each at its own row", {200, 400, 600}, 30, 2190, {200, 400, 600}},
      {"two at one row: one up, one down", {500, 500}, 30, 2190, {484, 516}},
      {"three within a few rows: spread around their middle", {500, 502, 504}, 30, 2190, {470, 502, 534}},
      {"a crowd and a free label below it: the crowd stays put above it", {500, 500, 500, 700}, 30, 2190,
       {468, 500, 532, 700}},
      {"a crowd reaches its neighbour: all three spread together", {500, 500, 540}, 30, 2190, {481, 513, 545}},
      {"at the top: moved down, never above the first row", {30, 30, 30}, 30, 2190, {30, 62, 94}},
      {"at the bottom: moved up, never below the last row", {2190, 2190}, 30, 2190, {2158, 2190}},
      {"more than fit: evenly from top to bottom", {10, 10, 10, 10, 10}, 0, 64, {0, 16, 32, 48, 64}},
      {"none", {}, 30, 2190, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Spread_Label_Rows(c.wanted, 32, c.top, c.bottom), c.rows);
  }
}

TEST(SpreadLabelRows, ACrowdedDayKeepsEveryLabelApartWithinTheChart) {
  // Sixty labels, most of them in two bursts.
  std::vector<int> wanted;
  for (int k = 0; k < 25; ++k) wanted.push_back(300 + k);
  for (int k = 0; k < 25; ++k) wanted.push_back(1900 + 4 * k);
  for (int k = 0; k < 10; ++k) wanted.push_back(2050 + k);
  const std::vector<int> rows = Spread_Label_Rows(wanted, kLabelSpacing, kLabelTop, kLabelBottom);
  ASSERT_EQ(rows.size(), wanted.size());
  EXPECT_GE(rows.front(), kLabelTop);
  EXPECT_LE(rows.back(), kLabelBottom);
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_GE(rows[i] - rows[i - 1], kLabelSpacing) << "label " << i;
}

// The Sun's crossings of -6°, -4° and +6° around 2024-07-19, in time order.
struct Crossing {
  int d, h, mi;
  const char* event;
};

test::StoreBuilder LightStore(const std::vector<Crossing>& crossings) {
  test::StoreBuilder b;
  for (const Crossing& c : crossings) b.add(Local(2024, 7, c.d, c.h, c.mi), "Sonne", c.event);
  return b;
}

TEST(LightSpans, GoldenAndBlueHoursFromTheDaysCrossings) {
  const struct {
    const char* name;
    std::vector<Crossing> crossings;
    Spans golden, blue;
  } cases[] = {
      {"a day at middle latitudes",
       {{19, 4, 0, "MBurgD"}, {19, 4, 30, "MGoldB"}, {19, 5, 45, "MGoldE"}, {19, 19, 0, "AGoldB"},
        {19, 20, 15, "AGoldE"}, {19, 20, 45, "ABurgD"}, {20, 4, 0, "MBurgD"}},
       {{4.5, 5.75}, {19.0, 20.25}},
       {{4.0, 4.5}, {20.25, 20.75}}},
      {"the Sun stays above -6° all night: the blue hour runs over midnight",
       {{10, 1, 0, "ABurgD"}, {10, 2, 0, "MBurgD"}, {19, 1, 30, "MGoldB"}, {19, 6, 0, "MGoldE"},
        {19, 20, 0, "AGoldB"}, {19, 23, 0, "AGoldE"}, {30, 1, 0, "ABurgD"}},
       {{1.5, 6.0}, {20.0, 23.0}},
       {{0.0, 1.5}, {23.0, 24.0}}},
      {"the Sun stays below +6°: one golden span around noon",
       {{1, 12, 0, "AGoldB"}, {19, 9, 0, "MBurgD"}, {19, 10, 0, "MGoldB"}, {19, 14, 0, "AGoldE"},
        {19, 15, 0, "ABurgD"}, {31, 12, 0, "MGoldE"}},
       {{10.0, 14.0}},
       {{9.0, 10.0}, {14.0, 15.0}}},
      {"no crossing at all: neither", {}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto b = LightStore(c.crossings);
    const tLightSpans spans = Find_Light_Spans(b.store, kJul19);
    ASSERT_EQ(spans.golden.size(), c.golden.size());
    ASSERT_EQ(spans.blue.size(), c.blue.size());
    for (std::size_t k = 0; k < c.golden.size(); ++k) {
      EXPECT_NEAR(spans.golden[k].first, c.golden[k].first, 1e-6);
      EXPECT_NEAR(spans.golden[k].second, c.golden[k].second, 1e-6);
    }
    for (std::size_t k = 0; k < c.blue.size(); ++k) {
      EXPECT_NEAR(spans.blue[k].first, c.blue[k].first, 1e-6);
      EXPECT_NEAR(spans.blue[k].second, c.blue[k].second, 1e-6);
    }
  }
}

DayChart Rendered(const EventStore& store, void (*set)(DayChart&)) {
  DayChart chart;
  chart.Sel_JD = kJul19;
  set(chart);
  EXPECT_TRUE(Render_Day_Chart(chart, store, PhaseTable{}));
  return chart;
}

TEST(LightSpans, BandsAndListedBoundsOnlyWithTheFlag) {
  const auto b = LightStore({{19, 4, 0, "MBurgD"}, {19, 4, 30, "MGoldB"}, {19, 5, 45, "MGoldE"},
                             {19, 19, 0, "AGoldB"}, {19, 20, 15, "AGoldE"}, {19, 20, 45, "ABurgD"}});
  const DayChart off = Rendered(b.store, [](DayChart&) {});
  const DayChart on = Rendered(b.store, [](DayChart& c) { c.Show_Fotolicht = 1; });
  // Rows inside the morning blue and golden hours and the evening ones, in
  // the plot between the bars, over the civil twilight's colour.
  for (const int blue : {Row(4, 15), Row(20, 30)}) {
    const QColor b_off = test::Pixel(off.Img, 500, blue), b_on = test::Pixel(on.Img, 500, blue);
    EXPECT_GT(b_on.blue(), b_off.blue() + 80) << Rgb(b_off) << " " << Rgb(b_on);
  }
  for (const int golden : {Row(5, 0), Row(19, 30)}) {
    const QColor g_off = test::Pixel(off.Img, 500, golden), g_on = test::Pixel(on.Img, 500, golden);
    EXPECT_GT(g_on.green(), g_off.green() + 40) << Rgb(g_off) << " " << Rgb(g_on);
    EXPECT_LT(g_on.blue(), 60) << Rgb(g_on);
  }
  // Outside them the chart is the same.
  for (const int row : {Row(3, 50), Row(6, 0), Row(12, 0), Row(20, 50)})
    EXPECT_EQ(Rgb(on.Img, 500, row), Rgb(off.Img, 500, row)) << row;
  EXPECT_TRUE(off.Listed_Events.empty());
  ASSERT_EQ(on.Listed_Events.size(), 4u);
  EXPECT_EQ(on.Listed_Events[0].text, "Morgen: Ende der blauen, Beginn der goldenen Stunde (Sonne über -4°)");
  EXPECT_EQ(on.Listed_Events[3].text, "Abend: Ende der goldenen, Beginn der blauen Stunde (Sonne unter -4°)");
}

TEST(NowLine, OnTheChosenDayAloneAtItsMinute) {
  const struct {
    const char* name;
    double now;
    std::optional<int> row;
  } cases[] = {
      {"the day before", kJul19 - 1e-6, std::nullopt},
      {"midnight", kJul19, 100},
      {"noon", kJul19 + 0.5, 1100},
      {"the last second", kJul19 + 86399.5 / 86400, 2100},
      {"the next day", kJul19 + 1.0, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(Now_Row(kJul19, c.now), c.row) << c.name;
  test::StoreBuilder b;
  const DayChart off = Rendered(b.store, [](DayChart&) {});
  const DayChart at_noon = Rendered(b.store, [](DayChart& c) { c.Now_Local_JD = kJul19 + 0.5; });
  const DayChart tomorrow = Rendered(b.store, [](DayChart& c) { c.Now_Local_JD = kJul19 + 1.5; });
  EXPECT_EQ(Rgb(at_noon.Img, 500, 1100), Rgb(kNowColour));
  EXPECT_EQ(Rgb(off.Img, 500, 1100), Rgb(off.Img, 500, 1150));
  EXPECT_TRUE(tomorrow.Img == off.Img);
}

// Five events within two minutes at 09:00, and one alone at 15:00.
test::StoreBuilder CrowdedMorning() {
  test::StoreBuilder b;
  for (const char* body : {"Mond", "Merkur", "Venus", "Mars", "Jupiter"}) b.add(Local(2024, 7, 19, 9, 0), body, "Aufgang");
  b.add(Local(2024, 7, 19, 15, 0), "Saturn", "Aufgang");
  return b;
}

TEST(Leaders, CrowdedLabelsSpreadAroundTheirRowWithLines) {
  const auto b = CrowdedMorning();
  const DayChart off = Rendered(b.store, [](DayChart&) {});
  const DayChart on = Rendered(b.store, [](DayChart& c) { c.Show_Leaders = 1; });
  ASSERT_EQ(on.Listed_Events.size(), 7u);  // the day length heads the list
  EXPECT_FALSE(on.Listed_Events[0].marked);
  // Without: pushed down only, from the event's row on.
  EXPECT_EQ(off.Listed_Events[0].label_y, Row(9, 0));
  // With: spread up and down around it, the lone label at its own row.
  const int row = Row(9, 0);
  EXPECT_EQ(on.Listed_Events[1].label_y, row - 64);
  EXPECT_EQ(on.Listed_Events[5].label_y, row + 64);
  EXPECT_EQ(on.Listed_Events[6].label_y, Row(15, 0));
  // A lime leader runs from the markers towards the label moved up, none to the lone label.
  const auto lime_in = [&](const DayChart& c, int y1, int y2) {
    int n = 0;
    for (int x = 1014; x < kLeaderTextX - 8; ++x)
      for (int y = y1; y < y2; ++y) n += test::Pixel(c.Img, x, y).green() > 150 ? 1 : 0;
    return n;
  };
  EXPECT_GT(lime_in(on, row - 60, row - 20), 0);
  EXPECT_EQ(lime_in(off, row - 60, row - 20), 0);
  EXPECT_EQ(lime_in(on, Row(15, 0) - 40, Row(15, 0) + 10), 0);
}

TEST(Legend, NamesBelowTheColumnsOnlyWithTheFlag) {
  test::StoreBuilder b;
  const DayChart off = Rendered(b.store, [](DayChart&) {});
  const DayChart on = Rendered(b.store, [](DayChart& c) { c.Show_Legend = 1; });
  for (const tBodyChart& body : Body_Charts) {
    const int x = (body.bar_x1 + body.bar_x2) / 2;
    EXPECT_EQ(Rgb(on.Img, x, kLegendTop + 6), Rgb(body.colour)) << BodyNames[body.body];
    EXPECT_NE(Rgb(off.Img, x, kLegendTop + 6), Rgb(body.colour)) << BodyNames[body.body];
  }
}

TEST(Hotspots, TheBodyUnderThePointerWithItsRiseAndSet) {
  test::StoreBuilder b;
  b.add(Local(2024, 7, 19, 10, 0), "Mond", "Aufgang");
  b.add(Local(2024, 7, 19, 16, 0), "Mond", "Untergang");
  b.add(Local(2024, 7, 19, 22, 0), "Mars", "Aufgang");
  b.add(Local(2024, 7, 20, 3, 0), "Mars", "Untergang");
  const DayChart chart = Rendered(b.store, [](DayChart&) {});
  const std::vector<tChartHotspot> spots = Chart_Hotspots(chart);
  const struct {
    const char* name;
    QPoint at;
    std::optional<int> body;  // index of Body_Charts
  } cases[] = {
      {"the Moon's bar at noon", {850, Row(12, 0)}, 0},
      {"beside the Moon's bar, before its rise", {850, Row(9, 0)}, std::nullopt},
      {"Mars's thin bar, a few pixels off", {342, Row(23, 0)}, 3},
      {"Mars past midnight, at the top of the chart", {350, Row(2, 0)}, 3},
      {"between the columns", {500, Row(12, 0)}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(Body_At(spots, c.at), c.body) << c.name;
  EXPECT_EQ(Body_Tooltip(chart, 0), "Mond\nAufgang: 2024-07-19  10:00:00\nUntergang: 2024-07-19  16:00:00");
}

}  // namespace
}  // namespace vk
