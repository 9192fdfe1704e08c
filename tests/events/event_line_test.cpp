// The numbers of an event line: the two Julian days in 23 characters and the
// fixed-point fields, at their edges (signs, small and large exponents,
// negative zero, values that are no number). Their agreement with printf is
// tested beside the number text in base.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "events/event_line.h"

namespace vk {
namespace {

// Field 1 of the line AppendEventLine writes for jd_ut.
std::string FirstField(double jd_ut) {
  std::string out;
  AppendEventLine(out, jd_ut, 0, "Sonne", "x", {});
  return out.substr(0, out.find('\t'));
}

TEST(EventLineNumbers, JulianDaysInTwentyThreeCharacters) {
  const struct {
    double value;
    const char* text;
  } rows[] = {
      {2459580.5, " 2.45958050000000E+0006"},
      {2463232.4999999, " 2.46323249999990E+0006"},
      {-2459580.5, "-2.45958050000000E+0006"},
      {0.0, " 0.00000000000000E+0000"},
      {-0.0, "-0.00000000000000E+0000"},
      {1.5e-5, " 1.50000000000000E-0005"},
      {-1.5e-5, "-1.50000000000000E-0005"},
      {9.99999999999999e99, " 9.99999999999999E+0099"},
      {1e100, " 1.00000000000000E+0100"},
      {1e-300, " 1.00000000000000E-0300"},
      {0.999999999999999, " 9.99999999999999E-0001"},
      {0.9999999999999999, " 1.00000000000000E+0000"},  // rounds up into the next power of ten
  };
  for (const auto& r : rows) {
    EXPECT_EQ(FirstField(r.value), r.text) << r.value;
    EXPECT_EQ(FirstField(r.value).size(), 23u) << r.value;
  }
}

TEST(EventLineNumbers, NoNumberIsWrittenByItsNameIn23Characters) {
  const struct {
    double value;
    const char* text;
  } rows[] = {{std::numeric_limits<double>::infinity(), "                    INF"},
              {-std::numeric_limits<double>::infinity(), "                   -INF"},
              {std::numeric_limits<double>::quiet_NaN(), "                    NAN"},
              {-std::numeric_limits<double>::quiet_NaN(), "                    NAN"}};
  for (const auto& r : rows) {
    std::string out;
    AppendEventLine(out, r.value, r.value, "Sonne", "x", {});
    EXPECT_EQ(out, std::string(r.text) + "\t" + r.text + "\tSonne\tx\t\t\t\t\t\t\t\t\r\n");
  }
}

TEST(EventLineNumbers, FixedFieldsRoundAndWriteNegativeZeroPlainly) {
  const struct {
    double au, km, radii, diameter, magnitude;
    const char* fields;  // fields 5 to 10 and the TABs after them
  } rows[] = {
      {0.98331234, 147101432.4, 23.064, 9.04, -1.234, "0.9833\t147101432\t23.06\t\t9.0\t-1.23\t"},
      {-0.00004, -0.4, -0.004, -0.04, -0.004, "0.0000\t0\t0.00\t\t0.0\t0.00\t"},
      {-0.00005001, -0.5001, -0.005001, -0.05001, -0.005001, "-0.0001\t-1\t-0.01\t\t-0.1\t-0.01\t"},
      {1.00005001, 405696.6, 63.6051, 2011.96, 39.9951, "1.0001\t405697\t63.61\t\t2012.0\t40.00\t"},
      // Halves exactly representable: to the even neighbour.
      {0.00125, 0.5, 0.125, 0.25, 2.625, "0.0013\t0\t0.12\t\t0.2\t2.62\t"},
      {0.0, 0.0, 0.0, 0.0, 0.0, "0.0000\t0\t0.00\t\t0.0\t0.00\t"},
  };
  for (const auto& r : rows) {
    EventFields f;
    f.au = r.au;
    f.km = r.km;
    f.earth_radii = r.radii;
    f.diameter = r.diameter;
    f.magnitude = r.magnitude;
    std::string out;
    AppendEventLine(out, 1, 1, "Mond", "Erdnähe", f);
    const std::string head = " 1.00000000000000E+0000\t 1.00000000000000E+0000\tMond\tErdnähe\t";
    EXPECT_EQ(out, head + r.fields + "\t\r\n") << r.au;
  }
}

}  // namespace
}  // namespace vk
