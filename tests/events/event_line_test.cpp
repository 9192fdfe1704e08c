// The numbers of an event line: the two Julian days in 23 characters and the
// fixed-point fields, at their edges (signs, small and large exponents,
// negative zero, values that are no number).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

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

// The same 23 characters as the C library's printf writes them ("%.14E",
// exponent widened to four digits).
std::string PrintfScientific23(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14E", v);
  std::string s = buf;
  const auto e = s.find('E');
  const int exponent = std::abs(std::atoi(s.c_str() + e + 2));
  std::snprintf(buf, sizeof buf, "%c%04d", s[e + 1], exponent);
  s = s.substr(0, e + 1) + buf;
  return v < 0 || std::signbit(v) ? s : " " + s;
}

TEST(EventLineNumbers, JulianDaysRoundAsPrintfRoundsTheExactValue) {
  // Values near halves of the last digit, exact halves (k / 2^9 is a half of
  // 1e-8 when k is odd), ends of the seven-digit range and the decade's dates.
  std::vector<double> values = {999999.99999999994, 999999.999999999, 1e6, 9999999.99999999, 9999999.999999995,
                                9999999.999999996, 2459000.001953125, 2459000 + 3.0 / 512, -2459000.001953125,
                                2460000.000000005, 2460000.000000015, 2463232.499999995};
  for (double v : std::vector<double>(values))
    for (double towards : {0.0, 1e9}) values.push_back(std::nextafter(v, towards));
  std::mt19937_64 random(20260108);
  std::uniform_real_distribution<double> decade(2459000, 2464000), any(1e6, 1e7);
  for (int k = 0; k < 200000; ++k) values.push_back(k % 2 ? decade(random) : any(random));
  int wrong = 0;
  for (double v : values) {
    const std::string text = FirstField(v);
    if (text != PrintfScientific23(v) && ++wrong <= 5)
      ADD_FAILURE() << std::hexfloat << v << ": " << text << " instead of " << PrintfScientific23(v);
  }
  EXPECT_EQ(wrong, 0);
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

// printf's "%.*f" (the exact value rounded, exact halves to even), a zero
// without its sign.
std::string PrintfFixed(double v, int decimals) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  const std::string text = buf;
  return text.find_first_not_of("-0.") == std::string::npos && text[0] == '-' ? text.substr(1) : text;
}

TEST(EventLineNumbers, FixedFieldsAreThoseOfPrintfForEveryWidth) {
  // au, km, Earth radii, diameter, magnitude: their decimals and ranges.
  const struct {
    int decimals;
    double most;
  } widths[] = {{4, 100}, {0, 1.5e10}, {2, 1e4}, {1, 1e4}, {2, 40}};
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> unit(0, 1);
  int wrong = 0;
  for (int k = 0; k < 100000; ++k) {
    double v[5];
    for (int w = 0; w < 5; ++w) {
      const double scale = std::pow(10.0, widths[w].decimals);
      const double x = unit(random) * widths[w].most * (k % 3 == 0 ? 1 : std::pow(10.0, -static_cast<double>(k % 7)));
      // Every other value next to a half of the last digit.
      v[w] = k % 2 ? x : std::nextafter((std::floor(x * scale) + 0.5) / scale, unit(random) < 0.5 ? 0 : 1e300);
      if (k % 5 == 0) v[w] = -v[w];
    }
    EventFields f;
    f.au = v[0];
    f.km = v[1];
    f.earth_radii = v[2];
    f.diameter = v[3];
    f.magnitude = v[4];
    std::string out;
    AppendEventLine(out, 1, 1, "Mond", "Erdnähe", f);
    std::string expected = " 1.00000000000000E+0000\t 1.00000000000000E+0000\tMond\tErdnähe\t";
    for (int w = 0; w < 5; ++w) expected += PrintfFixed(v[w], widths[w].decimals) + (w == 2 ? "\t\t" : "\t");
    expected += "\t\r\n";
    if (out != expected && ++wrong <= 5) ADD_FAILURE() << std::hexfloat << v[0] << " " << v[1] << " " << v[2] << " "
                                                       << v[3] << " " << v[4] << ":\n" << out << expected;
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace vk
