#include "timecalc/calendar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vk {
namespace {

constexpr double kJdTol = 1e-9;  // days (~0.1 ms)

TEST(CalendarToJD, ReferenceDates) {
  EXPECT_NEAR(CalendarToJD(2022, 1, 1, 0, 0, 0), 2459580.5, kJdTol);
  EXPECT_NEAR(CalendarToJD(2000, 1, 1, 12, 0, 0), 2451545.0, kJdTol);
  EXPECT_NEAR(CalendarToJD(-4712, 1, 1, 12, 0, 0), 0.0, kJdTol);
  EXPECT_NEAR(CalendarToJD(2032, 1, 1, 2, 0, 0), 2463232.5 + 2.0 / 24, kJdTol);
}

TEST(CalendarToJD, GregorianStep) {
  EXPECT_NEAR(CalendarToJD(1582, 10, 15, 0, 0, 0), 2299160.5, kJdTol);
  EXPECT_NEAR(CalendarToJD(1582, 10, 4, 0, 0, 0), 2299159.5, kJdTol);
}

TEST(CalendarToJD, OutOfRangeFieldsCarryOver) {
  EXPECT_EQ(CalendarToJD(2023, 13, 1, 0, 0, 0), CalendarToJD(2024, 1, 1, 0, 0, 0));
  EXPECT_EQ(CalendarToJD(2024, 0, 1, 0, 0, 0), CalendarToJD(2023, 12, 1, 0, 0, 0));
  EXPECT_EQ(CalendarToJD(2024, 3, 0, 0, 0, 0), CalendarToJD(2024, 2, 29, 0, 0, 0));
  EXPECT_EQ(CalendarToJD(2023, 3, 0, 0, 0, 0), CalendarToJD(2023, 2, 28, 0, 0, 0));
  EXPECT_EQ(CalendarToJD(2024, 1, 32, 0, 0, 0), CalendarToJD(2024, 2, 1, 0, 0, 0));
}

TEST(CalendarToJD, TimeOfDayAddsUp) {
  EXPECT_NEAR(CalendarToJD(2022, 1, 1, 6, 30, 45), 2459580.5 + (6 + 30 / 60.0 + 45 / 3600.0) / 24, kJdTol);
}

TEST(JDToCalendar, ReferenceInstants) {
  CalendarTime t = JDToCalendar(2459580.75);
  EXPECT_EQ(t.year, 2022);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.hour, 6);
  EXPECT_EQ(t.minute, 0);
  EXPECT_EQ(t.second, 0);
  t = JDToCalendar(2459580.25);
  EXPECT_EQ(t.year, 2021);
  EXPECT_EQ(t.month, 12);
  EXPECT_EQ(t.day, 31);
  EXPECT_EQ(t.hour, 18);
  t = JDToCalendar(2459580.5);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.hour, 0);
}

TEST(JDToCalendar, RoundTripsEveryDayOfThePeriodWithMilliseconds) {
  for (double day = 2459580.5; day < 2463232.5; day += 1) {
    const double jd = day + 0.3712345;  // 08:54:34.661 (rounded to ms)
    const CalendarTime t = JDToCalendar(jd);
    const double back = CalendarToJD(t.year, t.month, t.day, t.hour, t.minute, t.second);
    ASSERT_NEAR(back, jd, 0.6e-3 / 86400) << "day " << day << " off by " << (back - jd) * 86400 << " s";
  }
}

TEST(JDToCalendar, MillisecondsOfAnAfternoonInstant) {
  const CalendarTime t = JDToCalendar(CalendarToJD(2024, 4, 8, 18, 17, 16.25));
  EXPECT_EQ(t.hour, 18);
  EXPECT_EQ(t.minute, 17);
  EXPECT_NEAR(t.second, 16.25, 1e-9);
}

TEST(IsSummerTime, LastSundaysOf2022To2032) {
  const int march[] = {27, 26, 31, 30, 29, 28, 26, 25, 31, 30, 28};
  const int october[] = {30, 29, 27, 26, 25, 31, 29, 28, 27, 26, 31};
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(LastSundayOfMarch(2022 + i), march[i]) << 2022 + i;
    EXPECT_EQ(LastSundayOfOctober(2022 + i), october[i]) << 2022 + i;
  }
}

TEST(IsSummerTime, SwitchInstants) {
  const double spring = CalendarToJD(2022, 3, 27, 1, 0, 0);
  const double autumn = CalendarToJD(2022, 10, 30, 1, 0, 0);
  const double second = 1.0 / 86400;
  EXPECT_FALSE(IsSummerTime(spring));
  EXPECT_TRUE(IsSummerTime(spring + second));
  EXPECT_TRUE(IsSummerTime(autumn));
  EXPECT_FALSE(IsSummerTime(autumn + second));
  EXPECT_FALSE(IsSummerTime(CalendarToJD(2022, 1, 15, 12, 0, 0)));
  EXPECT_TRUE(IsSummerTime(CalendarToJD(2031, 7, 1, 0, 0, 0)));
}

TEST(IsSummerTime, LookupAgreesWithTheRuleAtEverySwitchAndYearBoundary) {
  for (int y = 1950; y <= 2150; ++y) {
    for (const double base : {CalendarToJD(y, 3, LastSundayOfMarch(y), 1, 0, 0),
                              CalendarToJD(y, 10, LastSundayOfOctober(y), 1, 0, 0), CalendarToJD(y, 1, 1, 0, 0, 0)}) {
      for (double d : {-1e-6, -1e-9, 0.0, 1e-9, 1e-6, 0.3}) {
        const double jd = std::nextafter(base + d, base + d + 1);
        ASSERT_EQ(IsSummerTime(jd), IsSummerTimeByRule(jd)) << "year " << y << " offset " << d;
        ASSERT_EQ(IsSummerTime(base + d), IsSummerTimeByRule(base + d)) << "year " << y << " offset " << d;
      }
    }
  }
  EXPECT_EQ(IsSummerTime(1e6), IsSummerTimeByRule(1e6));
}

TEST(FormatSexagesimal, WidthsAndSigns) {
  EXPECT_EQ(FormatSexagesimal(23.4372, 0), "  23:26:14");
  EXPECT_EQ(FormatSexagesimal(-7.5, 1), " -07:30:00.0");
  EXPECT_EQ(FormatSexagesimal(0.0001, 0), "  00:00:00");
  EXPECT_EQ(FormatSexagesimal(12.0, 0), "  12:00:00");
  EXPECT_EQ(FormatSexagesimal(123.0, 0), " 123:00:00");
  EXPECT_EQ(FormatSexagesimal(-123.0, 0), "-123:00:00");
  EXPECT_EQ(FormatSexagesimal(1.0 + 2.0 / 60 + 3.25 / 3600, 2), "  01:02:03.25");
  EXPECT_EQ(FormatSexagesimal(1.0 + 2.0 / 60 + 3.2501 / 3600, 4), "  01:02:03.2501");
  EXPECT_EQ(FormatSexagesimal(5.0 / 60, 3), "  00:05:00.000");
}

TEST(FormatSexagesimal, RoundsHalfUpIntoTheNextMinuteAndHour) {
  EXPECT_EQ(FormatSexagesimal(59.6 / 3600, 0), "  00:01:00");
  EXPECT_EQ(FormatSexagesimal(1 - 0.4 / 3600, 0), "  01:00:00");
  EXPECT_EQ(FormatSexagesimal(-(1 - 0.4 / 3600), 0), " -01:00:00");
}

}  // namespace
}  // namespace vk
