// Periods of the data span: which decade holds a day, their rows and names,
// and the span that a set of coefficient records covers.
#include "ephemeris/period.h"

#include <gtest/gtest.h>

#include <cmath>

#include "timecalc/calendar.h"

namespace vk {
namespace {

constexpr tDataSpan kCentury{1960, 2060};

struct tDayCase {
  const char* day;  // the chosen day
  int y, m, d;
  int first_year, end_year;  // its period
  int rows;
  const char* tag;
};
constexpr tDayCase kDays[] = {
    {"first day of the span", 1960, 1, 1, 1960, 1962, 731 * 24 + 3, "1960-1962"},
    {"last day of the cut period", 1961, 12, 31, 1960, 1962, 731 * 24 + 3, "1960-1962"},
    {"first day of a whole decade", 1962, 1, 1, 1962, 1972, 3652 * 24 + 3, "1962-1972"},
    {"Apollo 11", 1969, 7, 20, 1962, 1972, 3652 * 24 + 3, "1962-1972"},
    {"day before the documented decade", 2021, 12, 31, 2012, 2022, 3653 * 24 + 3, "2012-2022"},
    {"first documented day", 2022, 1, 1, 2022, 2032, 87651, "2022-2032"},
    {"last documented day", 2031, 12, 31, 2022, 2032, 87651, "2022-2032"},
    {"first day after it", 2032, 1, 1, 2032, 2042, 3653 * 24 + 3, "2032-2042"},
    {"last day of the span", 2059, 12, 31, 2052, 2060, 2922 * 24 + 3, "2052-2060"},
};

TEST(Period, PeriodOfDay) {
  for (const auto& c : kDays) {
    const tPeriod p = PeriodOfDay(CalendarToJD(c.y, c.m, c.d, 0, 0, 0), kCentury);
    EXPECT_EQ(p.first_year, c.first_year) << c.day;
    EXPECT_EQ(p.end_year, c.end_year) << c.day;
    EXPECT_EQ(p.rows(), c.rows) << c.day;
    EXPECT_EQ(p.tag(), c.tag) << c.day;
    EXPECT_GE(CalendarToJD(c.y, c.m, c.d, 0, 0, 0), p.first_jd()) << c.day;
    EXPECT_LT(CalendarToJD(c.y, c.m, c.d, 0, 0, 0), p.end_jd()) << c.day;
  }
}

TEST(Period, DaysAgreeWithTheCalendarForEveryPairOfYears) {
  for (int first = 1900; first <= 2100; ++first)
    for (int end = first + 1; end <= 2110; ++end) {
      const tPeriod p{first, end};
      ASSERT_EQ(p.days(), std::lround(p.end_jd() - p.first_jd())) << first << "-" << end;
    }
}

TEST(Period, DocumentedDecadeKeepsItsFiles) {
  EXPECT_EQ(kDocumentedPeriod.first_jd(), 2459580.5);
  EXPECT_EQ(kDocumentedPeriod.rows(), 87651);
  EXPECT_EQ(kDocumentedPeriod.phase_days(), 3653);
  EXPECT_EQ(BinaryFileName(3, kDocumentedPeriod), "HORIZONS_daten_2022-2032_MOO.bin");
  EXPECT_EQ(ExportFileName(8, kDocumentedPeriod), "_res/HORIZONS_daten_2022-2032_NEP.txt");
  EXPECT_EQ(PhaseFileName(kDocumentedPeriod), "Vesperkalend_2022-2032_MOOMERVEN_Phase.txt");
  EXPECT_EQ(EventLogName(kDocumentedPeriod), "Vesperkalend_2022-2032_Log.txt");
  EXPECT_EQ(EventLogName(tPeriod{1962, 1972}), "Vesperkalend_1962-1972_Log.txt");
  EXPECT_THROW(BinaryFileName(9, kDocumentedPeriod), std::out_of_range);
}

// Records (TDB MJD) and the calendar years whose rows they cover.
struct tSpanCase {
  const char* what;
  double first_mjd, last_mjd;
  int first_year, end_year;
};
constexpr tSpanCase kSpans[] = {
    {"Debian's DE405 package", 36912, 73488, 1960, 2060},
    {"the former extract", 59536, 63280, 2022, 2032},
    {"records starting on 1 January", 36934, 73488, 1961, 2060},
    {"starting a quarter day before", 36933.75, 73488, 1960, 2060},
    {"ending at 02:00 on 1 January", 36912, 73459.0 + 2.0 / 24, 1960, 2059},
    {"ending at 03:00 on 1 January", 36912, 73459.0 + 3.0 / 24, 1960, 2060},
};

TEST(Period, SpanOfRecords) {
  for (const auto& c : kSpans) {
    const tDataSpan s = SpanOfRecords(c.first_mjd, c.last_mjd);
    EXPECT_EQ(s.first_year, c.first_year) << c.what;
    EXPECT_EQ(s.end_year, c.end_year) << c.what;
  }
  EXPECT_EQ(kCentury.text(), "1960-01-01 … 2059-12-31");
  EXPECT_TRUE(kCentury.holds(CalendarToJD(2059, 12, 31, 0, 0, 0)));
  EXPECT_FALSE(kCentury.holds(CalendarToJD(2060, 1, 1, 0, 0, 0)));
  EXPECT_FALSE(kCentury.holds(CalendarToJD(1959, 12, 31, 0, 0, 0)));
}

}  // namespace
}  // namespace vk
