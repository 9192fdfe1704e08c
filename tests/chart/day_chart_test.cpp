#include "chart/day_chart.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>

#include "support/chart_fixtures.h"

namespace vk {
namespace {

using test::Local;
using test::Rgb;
using test::Row;

constexpr double kJan1 = 2459580.5;  // 2022-01-01 00:00

const std::string kBlack = "0,0,0";
const std::string kAfternoon = "24,24,24";
const std::string kAstro = "0,0,80";
const std::string kNaut = "32,0,128";
const std::string kCivil = "160,64,0";
const std::string kDay = "160,160,0";
const std::string kNoon = "255,255,0";
const std::string kGrey = "160,160,160";

// A winter day's nine Sun events on 2022-01-01.
void AddWinterSun(test::StoreBuilder& b) {
  test::AddSunDay(b, 2022, 1, {{{1, 6, 0}, {1, 6, 40}, {1, 7, 20}, {1, 8, 0}, {1, 12, 20}, {1, 16, 40}, {1, 17, 20},
                                {1, 18, 0}, {1, 18, 40}}});
}

DayChart Rendered(const EventStore& store, const PhaseTable& phases = {}, double sel = kJan1) {
  DayChart chart;
  chart.Sel_JD = sel;
  EXPECT_TRUE(Render_Day_Chart(chart, store, phases));
  return chart;
}

TEST(ChartY, MinutesToRowsWithHalvesToEven) {
  EXPECT_EQ(Chart_Y(0), 100);
  EXPECT_EQ(Chart_Y(720), 1100);
  EXPECT_EQ(Chart_Y(1440), 2100);
  EXPECT_EQ(Chart_Y(9), 112);   // 112.5
  EXPECT_EQ(Chart_Y(27), 138);  // 137.5
  EXPECT_EQ(Chart_Y(1), 101);
  EXPECT_EQ(Hours_To_Minute(23.9925), 1440);
}

TEST(ChartTitle, DateAndWeekday) {
  EXPECT_EQ(Chart_Title(2459580.5), "2022-01-01  Samstag");
  EXPECT_EQ(Chart_Title(2459581.5), "2022-01-02  Sonntag");
  EXPECT_EQ(Chart_Title(Local(2024, 4, 8, 0, 0)), "2024-04-08  Montag");
}

TEST(ChartTitle, DrawnWhiteAtTheTopLeft) {
  test::StoreBuilder b;
  const DayChart chart = Rendered(b.store);
  int white = 0;
  for (int y = 5; y < 75; ++y)
    for (int x = 100; x < 700; ++x)
      if (chart.Img.pixel(x, y) == qRgb(255, 255, 255)) ++white;
  EXPECT_GT(white, 500);
  // Nothing right of the title's end ("2022-01-01  Samstag" is some 550 px wide).
  for (int x = 900; x < 1000; ++x) EXPECT_NE(chart.Img.pixel(x, 40), qRgb(255, 255, 255));
}

TEST(DateTimeText, RoundsToWholeSecondsFirst) {
  EXPECT_EQ(Date_Time_Text(Local(2022, 1, 1, 10, 12, 7.2)), "2022-01-01  10:12:07");
  EXPECT_EQ(Date_Time_Text(Local(2022, 1, 1, 10, 12, 59.7)), "2022-01-01  10:13:00");
  EXPECT_EQ(Date_Time_Text(Local(2022, 12, 31, 23, 59, 59.6)), "2023-01-01  00:00:00");
}

TEST(Background, MorningBlackAfternoonLighterListGreyer) {
  test::StoreBuilder b;
  const DayChart chart = Rendered(b.store);
  EXPECT_EQ(Rgb(chart.Img, 500, 600), kBlack);
  EXPECT_EQ(Rgb(chart.Img, 500, 1500), kAfternoon);
  EXPECT_EQ(Rgb(chart.Img, 2400, 1500), "40,40,40");
  EXPECT_EQ(Rgb(chart.Img, 2400, 600), kBlack);
  EXPECT_EQ(Rgb(chart.Img, 500, 2150), kAfternoon);
}

// A bar beside the time scale from the first contact to the last, local
// time, cut at the day's end: lunar red, solar orange, occultations blue.
TEST(HeadlineMarks, FromFirstToLastContactInLocalTime) {
  test::StoreBuilder b;
  SiteHeadlines& h = b.store.headlines;
  h.site = Site{47.5, 7.5, 1.0, {}};  // UT + 1 h in January
  SolarEclipse solar{};
  solar.contact = {kJan1 + 9.0 / 24, kNoInstant, kNoInstant, kJan1 + 10.5 / 24};  // 10:00 … 11:30 local
  h.solar.push_back(solar);
  SiteLunarEclipse lunar{};
  lunar.eclipse.contact = {kJan1 + 21.0 / 24, kNoInstant, kNoInstant, kNoInstant, kNoInstant, kJan1 + 26.0 / 24};
  h.lunar.push_back(lunar);  // 22:00 … 03:00 the next day
  h.occultations.push_back({Saturn, kJan1 + 4.0 / 24, kJan1 + 5.0 / 24, 10, 12});  // 05:00 … 06:00
  const DayChart chart = Rendered(b.store);
  const struct {
    int h, mi;
    std::string colour;
  } rows[] = {{9, 50, kBlack},      {10, 10, "255,140,0"}, {11, 20, "255,140,0"}, {11, 40, kBlack},
              {21, 50, kAfternoon}, {22, 10, "200,0,0"},   {23, 50, "200,0,0"},   {5, 30, "120,190,255"},
              {6, 10, kBlack}};
  for (const auto& r : rows) EXPECT_EQ(Rgb(chart.Img, 110, Row(r.h, r.mi)), r.colour) << r.h << ":" << r.mi;
  // The bar is 14 pixels wide.
  EXPECT_EQ(Rgb(chart.Img, 125, Row(10, 30)), kBlack);
}

TEST(SunBands, WinterDayColoursAtKnownRows) {
  test::StoreBuilder b;
  AddWinterSun(b);
  const DayChart chart = Rendered(b.store);
  const QImage& img = chart.Img;
  EXPECT_EQ(Rgb(img, 500, Row(5, 0)), kBlack);
  EXPECT_EQ(Rgb(img, 500, Row(6, 20)), kAstro);
  EXPECT_EQ(Rgb(img, 500, Row(7, 0)), kNaut);
  EXPECT_EQ(Rgb(img, 500, Row(7, 40)), kCivil);
  EXPECT_EQ(Rgb(img, 500, Row(10, 0)), kDay);
  EXPECT_EQ(Rgb(img, 500, Row(17, 0)), kCivil);
  EXPECT_EQ(Rgb(img, 500, Row(17, 40)), kNaut);
  EXPECT_EQ(Rgb(img, 500, Row(18, 20)), kAstro);
  EXPECT_EQ(Rgb(img, 500, Row(20, 0)), kAfternoon);
  // Band edges: the first line of a band covers its row and the one above.
  EXPECT_EQ(Rgb(img, 500, Row(6, 0)), kAstro);
  EXPECT_EQ(Rgb(img, 500, Row(6, 0) - 1), kAstro);
  EXPECT_EQ(Rgb(img, 500, Row(6, 0) - 2), kBlack);
  EXPECT_EQ(Rgb(img, 500, Row(18, 40)), kAstro);
  EXPECT_EQ(Rgb(img, 500, Row(18, 40) + 1), kAfternoon);
  // Bands run across the plot only.
  EXPECT_EQ(Rgb(img, 150, Row(10, 0)), kDay);
  EXPECT_EQ(Rgb(img, 902, Row(10, 25)), kBlack);
  EXPECT_EQ(Rgb(img, 1200, Row(10, 0)), kBlack);
  // The shared boundary goes to the later band.
  EXPECT_EQ(Rgb(img, 500, Row(6, 40)), kNaut);
}

TEST(SunBands, NoonLineTwoRowsYellow) {
  test::StoreBuilder b;
  AddWinterSun(b);
  const DayChart chart = Rendered(b.store);
  const int y = Row(12, 20);
  EXPECT_EQ(Rgb(chart.Img, 500, y), kNoon);
  EXPECT_EQ(Rgb(chart.Img, 500, y - 1), kNoon);
  EXPECT_EQ(Rgb(chart.Img, 500, y + 1), kDay);
  EXPECT_EQ(Rgb(chart.Img, 500, y - 2), kDay);
  ASSERT_TRUE(chart.Sun_Times[WahrerMittag]);
  EXPECT_NEAR(*chart.Sun_Times[WahrerMittag], 12 + 20 / 60.0, 1e-6);
}

TEST(SunBands, AstronomicalEndAfterMidnightWrapsToTheTop) {
  test::StoreBuilder b;
  test::AddSunDay(b, 2022, 6, {{{21, 2, 0}, {21, 3, 0}, {21, 4, 0}, {21, 5, 0}, {21, 13, 0}, {21, 21, 0}, {21, 22, 0},
                                {21, 23, 0}, {22, 0, 30}}});
  const DayChart chart = Rendered(b.store, {}, Local(2022, 6, 21, 0, 0));
  ASSERT_TRUE(chart.Sun_Times[AAstrD]);
  EXPECT_NEAR(*chart.Sun_Times[AAstrD], 24.5, 1e-6);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(23, 30)), kAstro);
  EXPECT_EQ(Rgb(chart.Img, 500, 2099), kAstro);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(0, 10)), kAstro);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(0, 30)), kAstro);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(0, 50)), kBlack);
}

TEST(SunBands, CivilEndAfterMidnightStaysWithinOneDay) {
  test::StoreBuilder b;
  test::AddSunDay(b, 2022, 6, {{{21, 1, 0}, {21, 2, 0}, {21, 2, 30}, {21, 3, 30}, {21, 12, 0}, {21, 22, 30},
                                {22, 0, 20}, {22, 1, 30}, {22, 2, 30}}});
  const DayChart chart = Rendered(b.store, {}, Local(2022, 6, 21, 0, 0));
  EXPECT_TRUE(chart.Sun_Regular);
  ASSERT_TRUE(chart.Sun_Times[ABurgD]);
  EXPECT_NEAR(*chart.Sun_Times[ABurgD], 24 + 20 / 60.0, 1e-6);
  EXPECT_NEAR(*chart.Sun_Times[ANautD], 25.5, 1e-6);
  EXPECT_NEAR(*chart.Sun_Times[AAstrD], 26.5, 1e-6);
  // Band 7 covers 00:20 … 01:30 only, not the whole day.
  EXPECT_EQ(Rgb(chart.Img, 500, Row(1, 0)), kNaut);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(0, 10)), kCivil);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(10, 0)), kDay);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(12, 30)), kDay);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(23, 0)), kCivil);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(2, 0)), kAstro);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(2, 40)), kCivil);
}

TEST(SunBands, IncompleteDayFollowsTheSunsState) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 8, 0), "Sonne", "Aufgang");
  b.add(Local(2022, 1, 1, 12, 20), "Sonne", "wahrer Mittag");
  b.add(Local(2022, 1, 1, 16, 40), "Sonne", "Untergang");
  const DayChart chart = Rendered(b.store);
  EXPECT_FALSE(chart.Sun_Regular);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(10, 0)), kDay);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(12, 20)), kNoon);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(7, 30)), kBlack);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(17, 0)), kAfternoon);
}

TEST(SunBands, MidnightSunIsDaylightAllDay) {
  test::StoreBuilder b;
  b.add(Local(2022, 5, 19, 23, 50), "Sonne", "Untergang");
  b.add(Local(2022, 5, 20, 0, 40), "Sonne", "Aufgang");
  b.add(Local(2022, 6, 21, 11, 45), "Sonne", "wahrer Mittag");
  b.add(Local(2022, 7, 20, 0, 30), "Sonne", "Untergang");
  b.add(Local(2022, 8, 10, 0, 30), "Sonne", "ANautD");
  const DayChart chart = Rendered(b.store, {}, Local(2022, 6, 21, 0, 0));
  EXPECT_FALSE(chart.Sun_Regular);
  for (int h : {0, 3, 9, 15, 21, 23}) EXPECT_EQ(Rgb(chart.Img, 500, Row(h, 30)), kDay) << h;
  EXPECT_EQ(Rgb(chart.Img, 500, 100), kDay);
  EXPECT_EQ(Rgb(chart.Img, 500, 2099), kDay);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(11, 45)), kNoon);
}

TEST(SunBands, PolarNightWithTwilightAroundNoon) {
  test::StoreBuilder b;
  b.add(Local(2031, 11, 27, 12, 0), "Sonne", "Untergang");
  b.add(Local(2031, 12, 19, 13, 55), "Sonne", "ABurgD");
  b.add(Local(2031, 12, 19, 15, 40), "Sonne", "ANautD");
  b.add(Local(2031, 12, 19, 17, 0), "Sonne", "AAstrD");
  b.add(Local(2031, 12, 20, 6, 28), "Sonne", "MAstrD");
  b.add(Local(2031, 12, 20, 7, 47), "Sonne", "MNautD");
  b.add(Local(2031, 12, 20, 9, 33), "Sonne", "MBurgD");
  b.add(Local(2031, 12, 20, 11, 42), "Sonne", "wahrer Mittag");
  b.add(Local(2031, 12, 20, 13, 51), "Sonne", "ABurgD");
  b.add(Local(2031, 12, 20, 15, 36), "Sonne", "ANautD");
  b.add(Local(2031, 12, 20, 16, 55), "Sonne", "AAstrD");
  // The table ends here: no sunrise before the period ends.
  const DayChart chart = Rendered(b.store, {}, Local(2031, 12, 20, 0, 0));
  EXPECT_FALSE(chart.Sun_Regular);
  EXPECT_FALSE(chart.Sun_Times[Aufgang]);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(5, 0)), kBlack);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(6, 28)), kAstro);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(6, 28) - 2), kBlack);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(7, 0)), kAstro);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(8, 0)), kNaut);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(10, 0)), kCivil);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(11, 42)), kNoon);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(13, 0)), kCivil);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(14, 0)), kNaut);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(16, 0)), kAstro);
  // At the last crossing's own minute the twilight stays; night follows.
  EXPECT_EQ(Rgb(chart.Img, 500, Row(16, 55)), kAstro);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(16, 55) + 1), kAfternoon);
  EXPECT_EQ(chart.Memo1[0], "MOO A: --  U: --");
}

TEST(SunSpans, LoneCrossingsMirroredAboutNoonOrMidnight) {
  test::StoreBuilder b;
  b.add(Local(2023, 2, 14, 10, 50), "Sonne", "Aufgang");   // its set is missing
  b.add(Local(2023, 2, 14, 11, 50), "Sonne", "wahrer Mittag");
  b.add(Local(2023, 2, 14, 23, 35), "Sonne", "AAstrD");    // a grazing dip, its end missing
  const auto spans = Find_Sun_Spans(b.store, Local(2023, 2, 14, 0, 0), 11 + 50 / 60.0);
  ASSERT_TRUE(spans[3].from && spans[3].to);
  EXPECT_NEAR(*spans[3].from, 10 + 50 / 60.0, 1e-6);
  EXPECT_NEAR(*spans[3].to, 12 + 50 / 60.0, 1e-6);
  // Astronomical level: below from 23:35 to its mirror about 23:50, 00:05.
  ASSERT_TRUE(spans[0].from && spans[0].to);
  EXPECT_NEAR(*spans[0].from, 5 / 60.0, 1e-6);
  EXPECT_NEAR(*spans[0].to, 23 + 35 / 60.0, 1e-6);
  EXPECT_FALSE(spans[1].all_day || spans[1].from);
}

TEST(SunSpans, LevelWithoutCrossingsTakesItsNextOrLastCrossing) {
  test::StoreBuilder b;
  b.add(Local(2022, 5, 1, 1, 0), "Sonne", "ANautD");   // last before: went down
  b.add(Local(2022, 6, 1, 12, 0), "Sonne", "wahrer Mittag");
  b.add(Local(2022, 7, 1, 1, 0), "Sonne", "ABurgD");   // next after goes down: above now
  b.add(Local(2022, 7, 2, 1, 0), "Sonne", "MAstrD");   // next after goes up: below now
  const auto spans = Find_Sun_Spans(b.store, Local(2022, 6, 1, 0, 0), 12.0);
  EXPECT_FALSE(spans[0].all_day);
  EXPECT_FALSE(spans[1].all_day);
  EXPECT_TRUE(spans[2].all_day);
  EXPECT_FALSE(spans[3].all_day);
}

TEST(SunBands, EventsBeforeTheChosenDayAreNotUsed) {
  test::StoreBuilder b;
  AddWinterSun(b);
  // Sel_JD one day later: no Sun events at or after it.
  const DayChart chart = Rendered(b.store, {}, kJan1 + 1);
  for (const auto& v : chart.Sun_Times) EXPECT_FALSE(v);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(10, 0)), kBlack);
}

TEST(Bars, PlanetBarWrapsPastMidnight) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 9, 12), "Merkur", "Untergang");
  b.add(Local(2022, 1, 1, 21, 40), "Merkur", "Aufgang");
  b.add(Local(2022, 1, 2, 10, 5), "Merkur", "Untergang");
  const DayChart chart = Rendered(b.store);
  const QImage& img = chart.Img;
  const tRiseSet& rs = chart.Rise_Sets[1];
  ASSERT_TRUE(rs.Set_h);
  EXPECT_NEAR(*rs.Set_h, 24 + 10 + 5 / 60.0, 1e-6);
  EXPECT_EQ(rs.line, "MER A: 2022-01-01  21:40:00  U: 2022-01-02  10:05:00");
  EXPECT_EQ(Rgb(img, 150, Row(21, 40)), kGrey);
  EXPECT_EQ(Rgb(img, 150, Row(21, 40) - 1), kGrey);
  EXPECT_EQ(Rgb(img, 150, Row(21, 40) - 2), kAfternoon);
  EXPECT_EQ(Rgb(img, 150, Row(23, 59)), kGrey);
  EXPECT_EQ(Rgb(img, 150, 2099), kGrey);
  EXPECT_EQ(Rgb(img, 150, 100), kGrey);
  EXPECT_EQ(Rgb(img, 150, Row(5, 0)), kGrey);
  EXPECT_EQ(Rgb(img, 150, Row(10, 5)), kGrey);
  EXPECT_EQ(Rgb(img, 150, Row(10, 5) + 1), kBlack);
  EXPECT_EQ(Rgb(img, 150, Row(15, 0)), kAfternoon);
  // Columns 144 … 155.
  EXPECT_EQ(Rgb(img, 144, Row(5, 0)), kGrey);
  EXPECT_EQ(Rgb(img, 155, Row(5, 0)), kGrey);
  EXPECT_EQ(Rgb(img, 143, Row(5, 0)), kBlack);
  EXPECT_EQ(Rgb(img, 156, Row(5, 0)), kBlack);
}

TEST(Bars, MoonSetLookedUpFromTheStart) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 9, 12), "Mond", "Untergang");
  b.add(Local(2022, 1, 1, 21, 40), "Mond", "Aufgang");
  b.add(Local(2022, 1, 2, 10, 0), "Mond", "Untergang");
  const DayChart chart = Rendered(b.store);
  const tRiseSet& rs = chart.Rise_Sets[0];
  ASSERT_TRUE(rs.Set_h);
  EXPECT_NEAR(*rs.Set_h, 33.2, 1e-6);
  EXPECT_EQ(rs.line, "MOO A: 2022-01-01  21:40:00  U: 2022-01-01  09:12:00");
  EXPECT_EQ(Rgb(chart.Img, 850, Row(22, 0)), kGrey);
  EXPECT_EQ(Rgb(chart.Img, 850, Row(9, 0)), kGrey);
  EXPECT_EQ(Rgb(chart.Img, 850, Row(9, 12) + 1), kBlack);
  EXPECT_EQ(Rgb(chart.Img, 850, Row(9, 40)), kBlack);
  EXPECT_EQ(Rgb(chart.Img, 804, Row(9, 0)), kGrey);
  EXPECT_EQ(Rgb(chart.Img, 803, Row(9, 0)), kBlack);
}

TEST(Bars, RiseAndSetInTheSameMinuteMakeOneLine) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 3, 0, 10), "Mars", "Aufgang");
  b.add(Local(2022, 1, 1, 3, 0, 20), "Mars", "Untergang");
  const DayChart chart = Rendered(b.store);
  const int y = Row(3, 0);
  EXPECT_EQ(Rgb(chart.Img, 350, y), "240,160,160");
  EXPECT_EQ(Rgb(chart.Img, 350, y - 1), "240,160,160");
  EXPECT_EQ(Rgb(chart.Img, 350, y + 1), kBlack);
  EXPECT_EQ(Rgb(chart.Img, 350, y - 2), kBlack);
}

TEST(Memo1, NineLinesSecondEmpty) {
  test::StoreBuilder b;
  const char* names[] = {"Mond", "Merkur", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptun"};
  int k = 0;
  for (const char* n : names) {
    b.add(Local(2022, 1, 1, 1, k), n, "Aufgang");
    ++k;
  }
  for (const char* n : names) {
    b.add(Local(2022, 1, 1, 14, k), n, "Untergang");
    ++k;
  }
  const DayChart chart = Rendered(b.store);
  ASSERT_EQ(chart.Memo1.size(), 9u);
  EXPECT_EQ(chart.Memo1[0], "MOO A: 2022-01-01  01:00:00  U: 2022-01-01  14:08:00");
  EXPECT_EQ(chart.Memo1[1], "");
  EXPECT_EQ(chart.Memo1[8], "NEP A: 2022-01-01  01:07:00  U: 2022-01-01  14:15:00");
  const char* prefixes[] = {"MER", "VEN", "MAR", "JUP", "SAT", "URA", "NEP"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(chart.Memo1[static_cast<std::size_t>(i + 2)].size(), 52u);
    EXPECT_EQ(chart.Memo1[static_cast<std::size_t>(i + 2)].substr(0, 3), prefixes[i]);
  }
  EXPECT_EQ(chart.Memo1[0].size(), 52u);
  EXPECT_GT(chart.Memo1_Width, 10);
  EXPECT_GT(chart.Memo1_Height, 10);
}

TEST(Memo1, DashesForMissingTimes) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 5, 0), "Jupiter", "Aufgang");
  b.add(Local(2022, 1, 1, 7, 0), "Saturn", "Untergang");
  const DayChart chart = Rendered(b.store);
  ASSERT_EQ(chart.Memo1.size(), 9u);
  EXPECT_EQ(chart.Memo1[0], "MOO A: --  U: --");
  EXPECT_EQ(chart.Memo1[5], "JUP A: 2022-01-01  05:00:00  U: --");
  EXPECT_EQ(chart.Memo1[6], "SAT A: --  U: 2022-01-01  07:00:00");
  // A lone rise runs to the day's end, a lone set from its start.
  EXPECT_EQ(Rgb(chart.Img, 450, Row(4, 50)), kBlack);
  EXPECT_EQ(Rgb(chart.Img, 450, Row(6, 0)), "240,240,160");
  EXPECT_EQ(Rgb(chart.Img, 450, 2099), "240,240,160");
  EXPECT_EQ(Rgb(chart.Img, 550, 100), "160,160,128");
  EXPECT_EQ(Rgb(chart.Img, 550, Row(3, 0)), "160,160,128");
  EXPECT_EQ(Rgb(chart.Img, 550, Row(7, 10)), kBlack);
}

TEST(Memo1, SixtySecondsNeverShown) {
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 5, 0, 59.6), "Venus", "Aufgang");
  b.add(Local(2022, 1, 1, 15, 59, 59.5), "Venus", "Untergang");
  const DayChart chart = Rendered(b.store);
  EXPECT_EQ(chart.Memo1[3], "VEN A: 2022-01-01  05:01:00  U: 2022-01-01  16:00:00");
}

// A set of `count` pictures of size x size, picture k filled with colour (k, 100 + k, 200).
ImageList SolidList(int count, int size) {
  QImage strip(count * size, size, QImage::Format_RGB32);
  for (int k = 0; k < count; ++k) {
    QPainter p(&strip);
    p.fillRect(QRect(k * size, 0, size, size), QColor(k, 100 + k, 200));
  }
  QImage mask(count * size, size, QImage::Format_RGB32);
  mask.fill(Qt::white);
  return ImageList(strip, mask, size);
}

TEST(Pictures, PhasePictureAtTheRiseAndPlanetPictureByIndex) {
  const ImageList moo = SolidList(36, 96);
  const ImageList list1 = SolidList(7, 64);
  test::StoreBuilder b;
  b.add(Local(2022, 1, 1, 12, 0), "Mond", "Aufgang");
  b.add(Local(2022, 1, 1, 13, 0), "Jupiter", "Aufgang");
  b.add(Local(2022, 1, 1, 20, 0), "Mond", "Untergang");
  b.add(Local(2022, 1, 1, 22, 0), "Jupiter", "Untergang");
  const PhaseTable phases = test::Phases(kJan1, 3, 17, 5, 9);
  DayChart chart;
  chart.Sel_JD = kJan1;
  chart.Pictures.MOO = &moo;
  chart.Pictures.List1 = &list1;
  ASSERT_TRUE(Render_Day_Chart(chart, b.store, phases));
  const int ym = Row(12, 0) - 48;
  EXPECT_EQ(Rgb(chart.Img, 802, ym), "17,117,200");
  EXPECT_EQ(Rgb(chart.Img, 802 + 95, ym + 95), "17,117,200");
  EXPECT_NE(Rgb(chart.Img, 801, ym + 10), "17,117,200");
  EXPECT_NE(Rgb(chart.Img, 850, ym - 1), "17,117,200");
  const int yj = Row(13, 0) - 24;
  EXPECT_EQ(Rgb(chart.Img, 418, yj), "3,103,200");
  EXPECT_EQ(Rgb(chart.Img, 418 + 63, yj + 63), "3,103,200");
  EXPECT_EQ(Rgb(chart.Img, 450, yj + 64), "240,240,160");  // the bar below the picture
}

TEST(Pictures, NoPhaseRecordLeavesOnlyThePhasePictureOut) {
  const ImageList moo = SolidList(36, 96);
  test::StoreBuilder b;
  b.add(Local(2022, 1, 5, 12, 0), "Mond", "Aufgang");
  b.add(Local(2022, 1, 5, 20, 0), "Mond", "Untergang");
  const PhaseTable phases = test::Phases(kJan1, 3, 17, 5, 9);  // ends on 2022-01-03
  DayChart chart;
  chart.Sel_JD = kJan1 + 4;
  chart.Pictures.MOO = &moo;
  ASSERT_TRUE(Render_Day_Chart(chart, b.store, phases));
  EXPECT_FALSE(Find_Phase_Day(phases, chart.Sel_JD));
  EXPECT_EQ(Rgb(chart.Img, 850, Row(12, 0) - 30), kBlack);
  EXPECT_EQ(Rgb(chart.Img, 850, Row(14, 0)), kGrey);
  EXPECT_EQ(Find_Phase_Day(phases, kJan1 + 1.2), 3);
}

TEST(TimeScale, AxesTicksAndHourLabels) {
  test::StoreBuilder b;
  const DayChart chart = Rendered(b.store);
  const QImage& img = chart.Img;
  const std::string white = "255,255,255";
  // Axes: 4 columns wide around x = 100 and x = 900, rows 100 … 2099.
  EXPECT_EQ(Rgb(img, 98, 500), white);
  EXPECT_EQ(Rgb(img, 101, 500), white);
  EXPECT_EQ(Rgb(img, 102, 500), kBlack);
  EXPECT_EQ(Rgb(img, 901, 1500), white);
  EXPECT_EQ(Rgb(img, 100, 2099), white);
  // A ten-minute tick at 00:10 (row 114), a half-hour tick at 00:30 (row 142),
  // an hour tick at 01:00 (row 183).
  EXPECT_EQ(Rgb(img, 92, 114), white);
  EXPECT_EQ(Rgb(img, 85, 114), kBlack);
  EXPECT_EQ(Rgb(img, 907, 114), white);
  EXPECT_EQ(Rgb(img, 80, 142), white);
  EXPECT_EQ(Rgb(img, 70, 142), kBlack);
  EXPECT_EQ(Rgb(img, 920, 142), white);
  EXPECT_EQ(Rgb(img, 68, 183), white);
  EXPECT_EQ(Rgb(img, 930, 183), white);
  // Hour labels: white glyph pixels in the label columns on the rows of the
  // hours, none half-way between.
  const auto white_in = [&](int x0, int x1, int y) {
    int n = 0;
    for (int x = x0; x < x1; ++x)
      if (img.pixel(x, y) == qRgb(255, 255, 255)) ++n;
    return n;
  };
  for (int i = 0; i <= 24; ++i) {
    const int y = static_cast<int>(std::nearbyint(i * 2000.0 / 24.0 + 100.0));
    EXPECT_GT(white_in(5, 60, y), 0) << "hour " << i;
    EXPECT_GT(white_in(945, 995, y), 0) << "hour " << i;
    if (i < 24) {
      EXPECT_EQ(white_in(5, 60, y + 41), 0) << "half past " << i;
      EXPECT_EQ(white_in(945, 995, y + 41), 0) << "half past " << i;
    }
  }
}

TEST(ChartBusy, ARenderingFromTheCopyToTheScreenDrawsNothingAndTheGuardIsCleared) {
  test::StoreBuilder b;
  AddWinterSun(b);
  DayChart chart;
  chart.Sel_JD = kJan1;
  std::vector<bool> nested;
  chart.Copy_To_Screen = [&](const QImage&) {
    if (nested.empty()) nested.push_back(Render_Day_Chart(chart, b.store, PhaseTable{}));
  };
  EXPECT_TRUE(Render_Day_Chart(chart, b.store, PhaseTable{}));
  EXPECT_EQ(nested, std::vector<bool>{false});
  EXPECT_EQ(chart.Chart_Busy, 0);
  EXPECT_EQ(Rgb(chart.Img, 500, Row(10, 0)), kDay);
  EXPECT_TRUE(Render_Day_Chart(chart, b.store, PhaseTable{})) << "the next call draws again";
}

TEST(CopyToScreen, ScaledCopyHandedOver) {
  test::StoreBuilder b;
  AddWinterSun(b);
  DayChart chart;
  chart.Sel_JD = kJan1;
  QImage screen(919, 809, QImage::Format_RGB32);
  chart.Copy_To_Screen = [&](const QImage& img) { Copy_Chart_To(img, screen); };
  ASSERT_TRUE(Render_Day_Chart(chart, b.store, PhaseTable{}));
  EXPECT_EQ(screen.size(), QSize(919, 809));
  EXPECT_EQ(Rgb(screen, 500 * 919 / 2500, Row(10, 0) * 809 / 2200), kDay);
}

TEST(RefreshDay, FieldsAndSummerTimeLabelOnTheSwitchDays) {
  const tDayFields f = Day_Fields(Local(2022, 3, 7, 0, 0));
  EXPECT_EQ(f.Jahr_Text, "2022");
  EXPECT_EQ(f.Monat_Text, "03");
  EXPECT_EQ(f.Daag_Text, "07");
  EXPECT_EQ(f.Sel_Daag, 7);
  EXPECT_EQ(Day_Fields(Local(2022, 7, 1, 0, 0)).DST_Text, "(+01:00 Sommerzeit)");
  EXPECT_EQ(Day_Fields(Local(2022, 1, 15, 0, 0)).DST_Text, "(Normalzeit)");
  EXPECT_EQ(Day_Fields(Local(2022, 3, 27, 0, 0)).DST_Text, "(Normalzeit)");
  EXPECT_EQ(Day_Fields(Local(2022, 3, 28, 0, 0)).DST_Text, "(+01:00 Sommerzeit)");
  EXPECT_EQ(Day_Fields(Local(2022, 10, 30, 0, 0)).DST_Text, "(+01:00 Sommerzeit)");
  EXPECT_EQ(Day_Fields(Local(2022, 10, 31, 0, 0)).DST_Text, "(Normalzeit)");
}

TEST(RefreshDay, WritesFieldsThenRenders) {
  test::StoreBuilder b;
  AddWinterSun(b);
  DayChart chart;
  chart.Sel_JD = kJan1;
  std::vector<std::string> order;
  chart.Copy_To_Screen = [&](const QImage&) { order.push_back("copy"); };
  Refresh_Day(chart, b.store, PhaseTable{}, [&](const tDayFields& f) { order.push_back("fields " + f.Daag_Text); });
  EXPECT_EQ(order, (std::vector<std::string>{"fields 01", "copy"}));
  EXPECT_EQ(Rgb(chart.Img, 500, Row(10, 0)), kDay);
}

TEST(EmptyTable, RendersWithoutEvents) {
  EventStore empty;
  const DayChart chart = Rendered(empty);
  EXPECT_EQ(chart.Memo1.size(), 9u);
  EXPECT_TRUE(chart.Listed_Events.empty());
}

}  // namespace
}  // namespace vk
