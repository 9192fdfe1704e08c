// The day's light in the event list (the Moon at noon, the day length) and
// the chart drawn in print colours.
#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "chart/day_chart.h"
#include "support/chart_fixtures.h"

namespace vk {
namespace {

using test::Local;
using test::Row;

const double kDay = Local(2024, 7, 19, 0, 0);

// The Sun's rise and set at (days from kDay, hour, minute, second), and the
// Moon's light at the day's noon, when given.
struct tLightDay {
  double rise[4], set[4];
  std::optional<tMoonLight> moon;
};

test::StoreBuilder Light_Store(const tLightDay& d) {
  test::StoreBuilder b;
  const auto at = [](const double (&t)[4]) { return kDay + t[0] + (t[1] * 3600 + t[2] * 60 + t[3]) / 86400.0; };
  const bool rise_first = at(d.rise) < at(d.set);
  b.add(rise_first ? at(d.rise) : at(d.set), "Sonne", rise_first ? "Aufgang" : "Untergang");
  b.add(rise_first ? at(d.set) : at(d.rise), "Sonne", rise_first ? "Untergang" : "Aufgang");
  b.store.moon_days.first_day = kDay;
  b.store.moon_days.days = {d.moon};
  return b;
}

TEST(DayLightLabels, DayLengthWithPolarWordingAndMoonAtNoon) {
  const struct {
    const char* name;
    tLightDay day;
    const char* length;  // the day length's text
    const char* moon;    // the Moon's text; null: no Moon label
  } cases[] = {
      {"regular day", {{0, 6, 0, 0}, {0, 17, 46, 27}, tMoonLight{1.0, 14.43}}, "Tageslänge 11:46",
       "100.0 % beleuchtet, Alter 14.4 Tage"},
      {"polar day", {{-3, 12, 0, 0}, {5, 12, 0, 0}, tMoonLight{0.0314, 1.96}}, "Tageslänge 24:00 (Polartag)",
       "3.1 % beleuchtet, Alter 2.0 Tage"},
      {"polar night", {{5, 12, 0, 0}, {-3, 12, 0, 0}, tMoonLight{0.5, std::nullopt}}, "Tageslänge 00:00 (Polarnacht)",
       "50.0 % beleuchtet, Alter -- Tage"},
      {"up all but ten seconds", {{0, 0, 0, 5}, {0, 23, 59, 55}, std::nullopt}, "Tageslänge 24:00", nullptr},
      {"down all but a minute", {{0, 11, 59, 30}, {0, 12, 0, 30}, std::nullopt}, "Tageslänge 00:01", nullptr},
  };
  for (const auto& c : cases) {
    const auto b = Light_Store(c.day);
    const std::vector<tListedEvent> labels = Day_Light_Labels(b.store, kDay);
    ASSERT_EQ(labels.size(), c.moon ? 2u : 1u) << c.name;
    EXPECT_EQ(labels[0].body + " " + labels[0].text, std::string("Sonne ") + c.length) << c.name;
    EXPECT_FALSE(labels[0].marked) << c.name;
    EXPECT_EQ(labels[0].label_y, kLabelTop) << c.name;
    if (!c.moon) continue;
    EXPECT_EQ(labels[1].time + " " + labels[1].body + " " + labels[1].text, std::string("12:00:00 Mond ") + c.moon)
        << c.name;
    EXPECT_TRUE(labels[1].marked) << c.name;
    EXPECT_EQ(labels[1].marker_y, Row(12, 0)) << c.name;
  }
  // A table without events: the Moon's label alone.
  EventStore empty;
  empty.moon_days = Light_Store(cases[0].day).store.moon_days;
  const auto moon_only = Day_Light_Labels(empty, kDay);
  ASSERT_EQ(moon_only.size(), 1u);
  EXPECT_EQ(moon_only[0].body, "Mond");
}

// Five rises within a few minutes of noon and one right after midnight
// crowd the two labels of the day's light.
test::StoreBuilder Crowded_Noon() {
  test::StoreBuilder b;
  b.store.moon_days.first_day = kDay;
  b.store.moon_days.days = {tMoonLight{1.0, 14.43}};
  b.add(Local(2024, 7, 19, 0, 1), "Mars", "Aufgang");
  b.add(Local(2024, 7, 19, 6, 0), "Sonne", "Aufgang");
  for (const char* body : {"Merkur", "Venus"}) b.add(Local(2024, 7, 19, 11, 59), body, "Aufgang");
  for (const char* body : {"Jupiter", "Saturn"}) b.add(Local(2024, 7, 19, 12, 0), body, "Aufgang");
  b.add(Local(2024, 7, 19, 17, 46, 27), "Sonne", "Untergang");
  return b;
}

DayChart Rendered(const EventStore& store, bool aids, const tChartPalette& colours = Screen_Palette()) {
  DayChart chart;
  chart.Sel_JD = kDay;
  chart.Show_Leaders = chart.Show_Legend = aids ? 1 : 0;
  chart.Colours = colours;
  EXPECT_TRUE(Render_Day_Chart(chart, store, PhaseTable{}));
  return chart;
}

TEST(DayLightLabels, InTheSpreadListWithTheAidsOnlyAndDrawn) {
  const auto b = Crowded_Noon();
  ASSERT_EQ(b.store.Event_Tab.size(), 8u);
  const DayChart on = Rendered(b.store, true), off = Rendered(b.store, false);
  // Off: the list and the picture as without the Moon's light.
  auto dark = Crowded_Noon();
  dark.store.moon_days = {};
  EXPECT_EQ(off.Listed_Events.size(), 5u);  // the Sun's rise and set not listed
  EXPECT_TRUE(off.Img == Rendered(dark.store, false).Img);
  // On: both labels among the events, every label apart and in time order.
  ASSERT_EQ(on.Listed_Events.size(), 7u);
  const tListedEvent& length = on.Listed_Events[0];
  EXPECT_EQ(length.text, "Tageslänge 11:46");
  EXPECT_EQ(length.label_y, kLabelTop);
  const auto moon = std::find_if(on.Listed_Events.begin(), on.Listed_Events.end(),
                                 [](const tListedEvent& e) { return e.body == "Mond"; });
  ASSERT_NE(moon, on.Listed_Events.end());
  EXPECT_EQ(moon - on.Listed_Events.begin(), 6) << "after the rises of 11:59 and 12:00";
  for (std::size_t k = 1; k < on.Listed_Events.size(); ++k)
    EXPECT_GE(on.Listed_Events[k].label_y - on.Listed_Events[k - 1].label_y, kLabelSpacing) << k;
  // The texts are drawn in the list's column; no marker stands at the day length.
  const auto ink_in = [&](int x1, int x2, int y1, int y2, bool lime) {
    int n = 0;
    for (int x = x1; x < x2; ++x)
      for (int y = y1; y < y2; ++y) {
        const QColor c = test::Pixel(on.Img, x, y);
        n += lime ? (c.green() > 150 && c.red() < 100) : c.lightness() > 150;
      }
    return n;
  };
  EXPECT_GT(ink_in(1400, 1700, moon->label_y - 24, moon->label_y + 8, false), 100);
  EXPECT_GT(ink_in(1400, 1600, kLabelTop - 24, kLabelTop + 8, false), 100);
  EXPECT_EQ(ink_in(990, 1060, kLabelTop - 24, kLabelTop + 8, true), 0);
}

// Every layer of the chart: bands and spans of the light, bars, the noon
// line, the list with leaders, the legend and the present time.
TEST(PrintPalette, DrawnChartMatchesTheRecolouredScreenChart) {
  const auto b = Crowded_Noon();
  const auto render = [&](const tChartPalette& colours) {
    DayChart chart;
    chart.Sel_JD = kDay;
    chart.Show_Leaders = chart.Show_Legend = chart.Show_Daemmerungen = 1;
    chart.Now_Local_JD = kDay + 0.3;
    chart.Pictures = ShippedChartPictures();
    chart.Colours = colours;
    Render_Day_Chart(chart, b.store, test::Phases(kDay, 2, 10, 5, 20));
    return chart.Img;
  };
  const QImage old_way = Print_Colours_Image(render(Screen_Palette()));
  const QImage drawn = render(Print_Palette());
  ASSERT_EQ(drawn.size(), old_way.size());
  int largest = 0, differing = 0;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) {
      const QRgb a = drawn.pixel(x, y), o = old_way.pixel(x, y);
      const int d = std::max({std::abs(qRed(a) - qRed(o)), std::abs(qGreen(a) - qGreen(o)), std::abs(qBlue(a) - qBlue(o))});
      largest = std::max(largest, d);
      differing += d > 2;
    }
  // Only the edges of antialiased text and lines may differ, by a rounding.
  EXPECT_LE(largest, 4);
  EXPECT_LT(differing, 100);
  EXPECT_EQ(QColor(drawn.pixel(2400, 50)), QColor(255, 255, 255)) << "paper";
}

}  // namespace
}  // namespace vk
