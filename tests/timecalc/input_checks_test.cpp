#include "timecalc/input_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "timecalc/calendar.h"

namespace vk {
namespace {

TEST(QuoteInput, CutsAtSixtyCharactersAndEscapesControls) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"", "''"},
      {"abc", "'abc'"},
      {"a\rb", "'a\\rb'"},
      {"a\tb\nc", "'a\\tb\\nc'"},
      {std::string("x\0y", 3), "'x\\x00y'"},
      {"\x1b[2J\x7f", "'\\x1B[2J\\x7F'"},
      {"back\\slash", "'back\\\\slash'"},
      {"Grüße", "'Grüße'"},
      {std::string(60, 'a'), "'" + std::string(60, 'a') + "'"},
      {std::string(61, 'a'), "'" + std::string(60, 'a') + "\xE2\x80\xA6'"},
      {std::string(18905006, '\r'), std::string("'").append([] {
         std::string s;
         for (int i = 0; i < 60; ++i) s += "\\r";
         return s;
       }()).append("\xE2\x80\xA6'")},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteInput(c.in), c.out) << c.in.size();
}

TEST(QuoteInput, ParseErrorsQuoteThatWay) {
  try {
    ParseFloat("1.5\r");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'1.5\\r' is not a valid floating point value");
  }
  try {
    ParseInteger(std::string(100, '9') + "x");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "'" + std::string(60, '9') + "\xE2\x80\xA6' is not a valid integer value");
  }
}

TEST(InRange, BoundsIncludedNanRefused) {
  EXPECT_EQ(InRange(0, "0", 0, 23), 0);
  EXPECT_EQ(InRange(23, "23", 0, 23), 23);
  EXPECT_THROW(InRange(23.0001, "x", 0, 23), Error);
  EXPECT_THROW(InRange(-0.5, "x", 0, 23), Error);
  EXPECT_THROW(InRange(std::nan(""), "x", 0, 23), Error);
  EXPECT_THROW(InRange(std::numeric_limits<double>::infinity(), "x", -1e9, 1e9), Error);
  try {
    InRange(99, "99", 0, 59);
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'99' is outside the allowed range 0 to 59");
  }
  try {
    InRange(-31, "-31", -30, 40.5);
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'-31' is outside the allowed range -30 to 40.5");
  }
}

TEST(WithoutLineEnd, LfAndCrLfReadLoneCrRefused) {
  EXPECT_EQ(WithoutLineEnd("abc"), "abc");
  EXPECT_EQ(WithoutLineEnd("abc\r"), "abc");
  EXPECT_EQ(WithoutLineEnd(""), "");
  for (const char* bad : {"a\rb", "abc\r\r", "\r\r", "a\rb\rc\r"}) {
    try {
      WithoutLineEnd(bad);
      FAIL() << bad;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Line end CR without LF: only LF or CR LF end a line");
    }
  }
}

TEST(JDToCalendar, RefusesWhatItCannotRepresent) {
  // -1e300 used to loop for ever, +1e20 and 4.6e19 overflowed a 64-bit cast.
  for (const double jd : {-1e300, 1e300, 1e20, -1e20, 4.6e19, -7.31e8, 7.31e8, std::nan(""),
                          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
    EXPECT_THROW(JDToCalendar(jd), Error) << jd;
    EXPECT_THROW(IsSummerTime(jd), Error) << jd;
  }
  // The edges of the range still convert: year about ±2,000,000.
  EXPECT_LT(JDToCalendar(-7.3e8).year, -1990000);
  EXPECT_GT(JDToCalendar(7.3e8).year, 1990000);
  // JD 0 is -4712-01-01 12:00 (Julian calendar).
  const CalendarTime t = JDToCalendar(0.0);
  EXPECT_EQ(t.year, -4712);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.hour, 12);
  try {
    JDToCalendar(-1e300);
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Julian Date -1.00000000000000E+0300 is outside the allowed range -730000000 to 730000000");
  }
}

}  // namespace
}  // namespace vk
