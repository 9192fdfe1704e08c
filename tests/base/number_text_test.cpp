// The number texts against printf: fixed notation for every width the
// program writes, 23-character scientific notation, near and at halves of
// the last digit, and the values the texts read as.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "base/number_text.h"

namespace vk {
namespace {

// What a text reads as, correctly rounded; nothing for "nan", "inf" and
// what does not read whole.
std::optional<double> Read(std::string_view text) {
  const std::size_t digit = text.find_first_of("0123456789");
  if (digit == std::string_view::npos || digit > 2) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// printf's "%.*f" (the exact value rounded, exact halves to even), a zero
// without its sign.
std::string PrintfFixed(double v, int decimals) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  const std::string text = buf;
  return text.find_first_not_of("-0.") == std::string::npos && text[0] == '-' ? text.substr(1) : text;
}

// printf's "%.14E" with the exponent widened to four digits, a blank before a positive value.
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

// Every width the program writes (the log's 0, 1, 2, 4; the exports' 9, 12,
// 15; and the rest), values of every size, every other one next to a half of
// the last digit, a fifth negative; into both kinds of text. What each text
// reads as is what it reads as, correctly rounded.
TEST(NumberText, FixedIsPrintfForEveryWidthAndReadsAsItsText) {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> unit(0, 1);
  const ArenaAllocator<char> arena(std::make_shared<LargeArena>(1 << 20));
  int wrong = 0;
  for (int decimals = 0; decimals <= 15; ++decimals) {
    const double scale = std::pow(10.0, decimals);
    for (int k = 0; k < 20000; ++k) {
      double v = unit(random) * std::pow(10.0, k % 19 - 6);
      if (k % 2 == 0) v = std::nextafter((std::floor(v * scale) + 0.5) / scale, unit(random) < 0.5 ? 0 : 1e300);
      if (k % 5 == 0) v = -v;
      std::string text;
      ArenaString arena_text(arena);
      const std::optional<double> read = AppendFixed(text, v, decimals);
      AppendFixed(arena_text, v, decimals);
      const std::string expected = PrintfFixed(v, decimals);
      if ((text != expected || std::string_view(arena_text) != text || read != Read(text)) && ++wrong <= 5)
        ADD_FAILURE() << std::hexfloat << v << " with " << decimals << " decimals: " << text << " instead of "
                      << expected;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(NumberText, FixedEdges) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    int decimals;
    const char* text;
    bool reads;
  } rows[] = {
      {0.00125, 4, "0.0013", true},  // halves exactly representable: to the even neighbour
      {0.125, 2, "0.12", true},
      {2.5, 0, "2", true},
      {-0.004, 2, "0.00", true},  // rounds to zero: no sign
      {-0.0, 0, "0", true},
      {-0.005001, 2, "-0.01", true},
      {std::numeric_limits<double>::quiet_NaN(), 2, "nan", false},
      {inf, 2, "inf", false},
      {-inf, 0, "-inf", false},
  };
  for (const auto& r : rows) {
    std::string out = "x";
    const std::optional<double> read = AppendFixed(out, r.value, r.decimals);
    EXPECT_EQ(out, std::string("x") + r.text) << r.value;
    EXPECT_EQ(FormatFixed(r.value, r.decimals), r.text) << r.value;
    EXPECT_EQ(read.has_value(), r.reads) << r.value;
  }
  for (double big : {1e300, -0x1p60, 1e17}) EXPECT_EQ(FormatFixed(big, 1), PrintfFixed(big, 1)) << big;
}

TEST(NumberText, ScientificIsPrintfInTwentyThreeCharacters) {
  // Near halves of the last digit, exact halves (k / 2^9 is a half of 1e-8
  // when k is odd), the ends of the seven-digit range, the decade's dates,
  // and values of every size.
  std::vector<double> values = {999999.99999999994, 999999.999999999, 1e6, 9999999.99999999, 9999999.999999995,
                                9999999.999999996, 2459000.001953125, 2459000 + 3.0 / 512, -2459000.001953125,
                                2460000.000000005, 2460000.000000015, 2463232.499999995, 0.0, -0.0, 1.5e-5,
                                9.99999999999999e99, 1e100, 1e-300, 0.999999999999999, 0.9999999999999999,
                                std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()};
  for (double v : std::vector<double>(values))
    for (double towards : {0.0, 1e9}) values.push_back(std::nextafter(v, towards));
  std::mt19937_64 random(20260108);
  std::uniform_real_distribution<double> decade(2459000, 2464000), any(1e6, 1e7), exponent(-300, 300);
  for (int k = 0; k < 200000; ++k)
    values.push_back(k % 3 == 0 ? decade(random) : k % 3 == 1 ? any(random) : std::pow(10.0, exponent(random)));
  int wrong = 0;
  for (double v : values) {
    std::string text;
    const std::optional<double> read = AppendScientific23(text, v);
    const bool fast = std::fabs(v) >= 1e6 && std::fabs(v) < 1e7;
    // Read back where the text keeps the exponent 6 (a rounding up to 1e7 does not).
    const bool known = fast && text.compare(17, 6, "E+0006") == 0;
    if ((text != PrintfScientific23(v) || read.has_value() != known || (read && *read != Read(std::string_view(text).substr(text[0] == ' ' ? 1 : 0)))) &&
        ++wrong <= 5)
      ADD_FAILURE() << std::hexfloat << v << ": " << text << " instead of " << PrintfScientific23(v);
  }
  EXPECT_EQ(wrong, 0);
}

TEST(NumberText, ZeroPaddedAndLastDigits) {
  const struct {
    long long value;
    int width;
    const char* padded;
    const char* last;
  } rows[] = {{7, 2, "07", "07"}, {123, 2, "123", "23"}, {350, 3, "350", "350"}, {0, 4, "0000", "0000"},
              {2024, 4, "2024", "2024"}, {5, 6, "000005", "000005"}};
  for (const auto& r : rows) {
    std::string s = "x";
    AppendZeroPadded(s, r.value, r.width);
    EXPECT_EQ(s, std::string("x") + r.padded) << r.value;
    EXPECT_EQ(LastDigits(r.value, r.width), r.last) << r.value;
  }
}

TEST(NumberText, NoNumberIsWrittenByItsNameIn23Characters) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double value;
    const char* text;
  } rows[] = {{inf, "                    INF"}, {-inf, "                   -INF"},
              {nan, "                    NAN"}, {-nan, "                    NAN"}};
  for (const auto& r : rows) {
    std::string out;
    EXPECT_FALSE(AppendScientific23(out, r.value).has_value());
    EXPECT_EQ(out, r.text);
    EXPECT_EQ(FormatScientific23(r.value), r.text);
  }
}

}  // namespace
}  // namespace vk
