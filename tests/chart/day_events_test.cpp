#include <gtest/gtest.h>

#include <algorithm>

#include "support/chart_fixtures.h"
#include "chart/day_chart.h"

namespace vk {
namespace {

using test::Local;
using test::Row;

constexpr double kJan1 = 2459580.5;  // 2022-01-01 00:00

// One event of every kind the filters look at, on 2022-01-01, and one on the next day.
test::StoreBuilder FilterDay() {
  test::StoreBuilder b;
  b.add(Local(2021, 12, 31, 23, 0), "Mond", "Aufgang");  // the day before: never listed
  b.add(Local(2022, 1, 1, 6, 0), "Sonne", "MAstrD");
  b.add(Local(2022, 1, 1, 7, 0), "Mond", "Untergang");
  b.add(Local(2022, 1, 1, 8, 0), "Sonne", "Aufgang");
  b.add(Local(2022, 1, 1, 10, 0), "Mars", "im Meridian");
  b.add(Local(2022, 1, 1, 12, 0), "Sonne", "wahrer Mittag");
  b.add(Local(2022, 1, 1, 14, 0), "Mond", "Vollmond");
  b.add(Local(2022, 1, 1, 16, 0), "Sonne", "Untergang");
  b.add(Local(2022, 1, 1, 17, 0), "Sonne", "ABurgD");
  b.add(Local(2022, 1, 1, 20, 0), "Venus", "Aufgang");
  b.add(Local(2022, 1, 2, 0, 0), "Jupiter", "Aufgang");  // the next day: the list ends before it
  return b;
}

std::vector<std::string> Listed(const EventStore& s, bool d, bool a, bool m, double sel = kJan1) {
  std::vector<std::string> out;
  for (const auto& e : List_Day_Events(s, sel, d, a, m)) out.push_back(e.time + " " + e.body + " " + e.text);
  return out;
}

TEST(DayEvents, StartUpFlagsListRisesAndSetsOfMoonAndPlanets) {
  const auto b = FilterDay();
  EXPECT_EQ(Listed(b.store, false, true, false),
            (std::vector<std::string>{"07:00:00 Mond Untergang", "12:00:00 Sonne wahrer Mittag",
                                      "14:00:00 Mond Vollmond", "20:00:00 Venus Aufgang"}));
}

TEST(DayEvents, AllFlagsClearedKeepNoonAndOtherEvents) {
  const auto b = FilterDay();
  EXPECT_EQ(Listed(b.store, false, false, false),
            (std::vector<std::string>{"12:00:00 Sonne wahrer Mittag", "14:00:00 Mond Vollmond"}));
}

TEST(DayEvents, AllFlagsSetListEverythingOfTheDay) {
  const auto b = FilterDay();
  const auto all = Listed(b.store, true, true, true);
  ASSERT_EQ(all.size(), 9u);
  EXPECT_EQ(all[0], "06:00:00 Sonne Morgen: Beginn der astronomischen Dämmerung (Sonne über -18°)");
  EXPECT_EQ(all[2], "08:00:00 Sonne Aufgang");
  EXPECT_EQ(all[3], "10:00:00 Mars im Meridian");
  EXPECT_EQ(all[7], "17:00:00 Sonne Abend: Ende der bürgerlichen Dämmerung (Sonne unter -6°)");
}

TEST(DayEvents, EachFlagAlone) {
  const auto b = FilterDay();
  const auto twilight = Listed(b.store, true, false, false);
  EXPECT_EQ(twilight.size(), 6u);  // MAstrD, Aufgang, noon, Vollmond, Untergang, ABurgD
  const auto meridian = Listed(b.store, false, false, true);
  EXPECT_EQ(meridian, (std::vector<std::string>{"10:00:00 Mars im Meridian", "12:00:00 Sonne wahrer Mittag",
                                                "14:00:00 Mond Vollmond"}));
}

TEST(DayEvents, TwilightTexts) {
  tEventData e;
  e.note = "\t";
  const std::pair<const char*, const char*> cases[] = {
      {"MAstrD", "Morgen: Beginn der astronomischen Dämmerung (Sonne über -18°)"},
      {"MNautD", "Morgen: Beginn der nautischen Dämmerung (Sonne über -12°)"},
      {"MBurgD", "Morgen: Beginn der bürgerlichen Dämmerung (Sonne über -6°)"},
      {"ABurgD", "Abend: Ende der bürgerlichen Dämmerung (Sonne unter -6°)"},
      {"ANautD", "Abend: Ende der nautischen Dämmerung (Sonne unter -12°)"},
      {"AAstrD", "Abend: Ende der astronomischen Dämmerung (Sonne unter -18°)"}};
  for (const auto& [name, text] : cases) {
    e.event = name;
    EXPECT_EQ(Event_Text(e), text);
  }
}

TEST(DayEvents, ValueTexts) {
  tEventData e;
  e.event = "Perigäum";
  e.note = "\t";
  EXPECT_EQ(Event_Text(e), "Perigäum");
  e.au = 0.00238;
  e.km = 356571.25;
  e.earth_radii = 55.9;
  EXPECT_EQ(Event_Text(e), "Perigäum 0.00238 AU 356571.25 km 55.9 ERad");

  tEventData c;
  c.event = "Konjunktion";
  c.angle = "1.5";
  c.diameter = 33.26f;
  c.magnitude = -4.6f;
  c.note = "Leo\t";
  EXPECT_EQ(Event_Text(c), "Konjunktion 1.5° 33.3\" -4.60 mag (Leo\t)");

  tEventData d;
  d.event = "Nördlichste Deklination";
  d.angle = "+28:13:49";
  d.note = "\t";
  EXPECT_EQ(Event_Text(d), "Nördlichste Deklination +28:13:49°");
}

TEST(DayEvents, GeneralFormat) {
  EXPECT_EQ(Format_General(1.0), "1");
  EXPECT_EQ(Format_General(0.5), "0.5");
  EXPECT_EQ(Format_General(-2.25), "-2.25");
  EXPECT_EQ(Format_General(0.1 + 0.2), "0.3");
  EXPECT_EQ(Format_General(147101432.0), "147101432");
  EXPECT_EQ(Format_General(0.98331234), "0.98331234");
  EXPECT_EQ(Format_General(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(Format_General(0.00001), "0.00001");
  EXPECT_EQ(Format_General(1e-7), "1E-7");
  EXPECT_EQ(Format_General(1.5e20), "1.5E20");
  EXPECT_EQ(Format_General(0.0), "0");
}

TEST(DayEvents, LabelsPushedDown32AndReturnAfter100) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 10, 0), "Sonne", "wahrer Mittag");
  b.add(Local(2022, 1, 1, 10, 5), "Mond", "Vollmond");
  for (int k = 0; k < 5; ++k) b.add(Local(2022, 1, 1, 10, 6 + k), "Mars", "Opposition");
  const auto listed = List_Day_Events(b.store, kJan1, false, true, false);
  ASSERT_EQ(listed.size(), 7u);
  const int y0 = Row(10, 0);
  EXPECT_EQ(listed[0].marker_y, y0);
  EXPECT_EQ(listed[0].label_y, y0);
  EXPECT_EQ(listed[1].marker_y, Row(10, 5));
  EXPECT_EQ(listed[1].label_y, y0 + 32);
  for (std::size_t k = 2; k < 5; ++k) EXPECT_EQ(listed[k].label_y, listed[k - 1].label_y + 32) << k;
  // Entry 4 sits at y0 + 128; entry 5's own row (10:09, y0 + 12) lies more
  // than 100 below it: it returns to its own height.
  EXPECT_EQ(listed[4].label_y, y0 + 128);
  EXPECT_EQ(listed[5].label_y, Row(10, 9));
  EXPECT_EQ(listed[6].label_y, Row(10, 9) + 32);
}

TEST(DayEvents, MarkerStaysAtItsOwnRowAndIsDrawnLime) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 4, 0), "Sonne", "wahrer Mittag");
  b.add(Local(2022, 1, 1, 4, 5), "Mond", "Vollmond");
  DayChart chart;
  chart.Sel_JD = kJan1;
  ASSERT_TRUE(Render_Day_Chart(chart, b.store, PhaseTable{}));
  ASSERT_EQ(chart.Listed_Events.size(), 2u);
  const auto lime_rows = [&](int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = 995; x < 1012; ++x)
        if (chart.Img.pixel(x, y) == qRgb(0, 255, 0)) ++n;
    return n;
  };
  // The "-" glyph lies a few pixels above the event's own row.
  EXPECT_GT(lime_rows(Row(4, 0) - 26, Row(4, 0) + 6), 0);
  EXPECT_GT(lime_rows(Row(4, 5) - 12, Row(4, 5) + 6), 0);
  // White text of the pushed label 32 px below the first.
  int white = 0;
  for (int y = Row(4, 0) + 32 - 24; y < Row(4, 0) + 32 + 10; ++y)
    for (int x = 1265; x < 1500; ++x)
      if (chart.Img.pixel(x, y) == qRgb(255, 255, 255)) ++white;
  EXPECT_GT(white, 50);
}

TEST(DayEvents, TableEndingInsideTheDayStopsAtEventCount) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 9, 0), "Mond", "Vollmond");
  b.add(Local(2022, 1, 1, 11, 0), "Sonne", "wahrer Mittag");
  // Entries beyond Event_Count that a careless reader might take.
  b.store.Event_Tab.push_back(b.store.Event_Tab.back());
  const auto listed = List_Day_Events(b.store, kJan1, false, false, false);
  EXPECT_EQ(listed.size(), 2u);
  EXPECT_TRUE(List_Day_Events(b.store, kJan1 + 1, true, true, true).empty());
}

TEST(DayEvents, TimeNeverShowsSixtySeconds) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 9, 59, 59.7), "Mond", "Vollmond");
  const auto listed = List_Day_Events(b.store, kJan1, false, false, false);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].time, "10:00:00");
}

}  // namespace
}  // namespace vk

namespace vk {
namespace {

TEST(DayEvents, TheLastHalfSecondOfTheDayStaysInTheDay) {
  // An Uranus set at 23:59:59.94 local time (Quito, 2031-07-04) used to be
  // shown as 00:00:00 at the bottom of its day.
  const double day = test::Local(2031, 7, 4, 0, 0);
  const struct {
    double second;
    const char* shown;
  } cases[] = {{59.94, "23:59:59"}, {59.5, "23:59:59"}, {59.49, "23:59:59"}, {58.49, "23:59:58"}};
  for (const auto& c : cases) {
    test::StoreBuilder b;
    b.add(test::Local(2031, 7, 4, 12, 0), "Sonne", "wahrer Mittag");
    b.add(test::Local(2031, 7, 4, 23, 59, c.second), "Uranus", "Untergang");
    b.add(test::Local(2031, 7, 5, 0, 0, 0.2), "Mond", "Aufgang");
    const auto listed = List_Day_Events(b.store, day, true, true, true);
    ASSERT_EQ(listed.size(), 2u) << c.second;
    EXPECT_EQ(listed[1].time, c.shown) << c.second;
    EXPECT_EQ(listed[1].body, "Uranus");
    // The next day's list starts with the Moon at 00:00:00.
    const auto next = List_Day_Events(b.store, day + 1, true, true, true);
    ASSERT_FALSE(next.empty());
    EXPECT_EQ(next[0].time, "00:00:00");
  }
}

}  // namespace
}  // namespace vk
