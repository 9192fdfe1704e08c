#include "base/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace vk {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// The value a fixed-point text ("-12.345", no exponent) reads as: its digits
// as an integer divided by the power of ten of its decimals, one correctly
// rounded division of two exact numbers, which is how reading the text rounds
// it; longer texts are read by from_chars, rounded as correctly. Returns:
// nothing for a text that does not read.
std::optional<double> FixedValue(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  std::uint64_t digits = 0;
  int count = 0, decimals = -1;
  for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && decimals < 0) {
      decimals = 0;
    } else if (c >= '0' && c <= '9') {
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      ++count;
      if (decimals >= 0) ++decimals;
    } else {
      count = -1;
      break;
    }
  }
  decimals = std::max(decimals, 0);
  // Up to 15 digits stay below 2^53: the integer is exact.
  if (count < 1 || count > 15 || decimals >= static_cast<int>(std::size(kPowersOfTen))) {
    if (count < 1) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
  }
  const double value = static_cast<double>(digits) / kPowersOfTen[decimals];
  return negative ? -value : value;
}

// The exact product a · scale (a ≥ 0, a · scale below 2^50) rounded to an
// integer as printf rounds decimal digits: the product is split exactly
// into p + err (an FMA gives the rounding error of p); p is a multiple of
// 2^-3 or finer and |err| at most half of that, so the fraction of p alone
// decides, err only when the fraction is exactly a half, and an exact half
// goes to the even neighbour.
std::uint64_t RoundedProduct(double a, double scale) {
  const double p = a * scale;
  const double err = std::fma(a, scale, -p);
  const double whole = std::floor(p);
  const double fraction = p - whole;
  auto digits = static_cast<std::uint64_t>(whole);
  if (fraction > 0.5 || (fraction == 0.5 && (err > 0 || (err == 0 && digits % 2 != 0)))) ++digits;
  return digits;
}

// AppendFixed for 0 … 8 decimals and |v| · 10^decimals below 2^50, where
// the log's numbers lie: the digits are |v| · 10^decimals rounded to an
// integer (RoundedProduct). Returns: false, with `out` unchanged, outside
// that range (NaN and infinity included).
template <class Text>
bool AppendShortFixed(Text& out, double v, int decimals, double& read) {
  if (decimals < 0 || decimals >= static_cast<int>(std::size(kPowersOfTen))) return false;
  const double scale = kPowersOfTen[decimals];
  const double a = std::fabs(v);
  if (!(a * scale < 0x1p50)) return false;
  const std::uint64_t digits = RoundedProduct(a, scale);
  char buf[32];
  char* const end = buf + sizeof buf;
  char* at = end;
  std::uint64_t rest = digits;
  for (int d = 0; d < decimals; ++d) {
    *--at = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }
  if (decimals > 0) *--at = '.';
  do {
    *--at = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  // A value that rounds to zero is written without its sign.
  if (v < 0 && digits != 0) *--at = '-';
  out.append(at, static_cast<std::size_t>(end - at));
  // The text's digits as an integer over the power of ten: one correctly
  // rounded division, as reading the text rounds it.
  const double value = static_cast<double>(digits) / scale;
  read = v < 0 && digits != 0 ? -value : value;
  return true;
}

// The last 2·`pairs` decimal digits of `value`, zero-padded, at `at`.
void PutDigitPairs(char* at, std::uint32_t value, int pairs) {
  static constexpr char kPairs[] =
      "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
      "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";
  for (int k = pairs - 1; k >= 0; --k) {
    std::memcpy(at + 2 * k, kPairs + 2 * (value % 100), 2);
    value /= 100;
  }
}

// AppendScientific23 for 1e6 <= |v| < 1e7, where every Julian Date of the
// log lies: its 15 significant digits are |v| · 1e8 rounded to an integer
// (RoundedProduct; below 2^50). Returns: false, with `out` unchanged, outside
// that range and when the rounding carries into the next power of ten; the
// general path writes those.
template <class Text>
bool AppendSevenDigitScientific(Text& out, double v, std::uint64_t& written) {
  const double a = std::fabs(v);
  if (!(a >= 1e6 && a < 1e7)) return false;
  const std::uint64_t digits = RoundedProduct(a, 1e8);
  if (digits >= 1000000000000000ULL) return false;
  written = digits;
  char buf[23] = {v < 0 ? '-' : ' ', 0, '.'};
  // Two digits at a time, the upper seven and the lower eight apart: short
  // chains of divisions instead of one of fifteen.
  const auto upper = static_cast<std::uint32_t>(digits / 100000000), lower = static_cast<std::uint32_t>(digits % 100000000);
  PutDigitPairs(buf + 9, lower, 4);
  PutDigitPairs(buf + 3, upper % 1000000, 3);
  buf[1] = static_cast<char>('0' + upper / 1000000);
  std::memcpy(buf + 17, "E+0006", 6);
  out.append(buf, sizeof buf);
  return true;
}

}  // namespace

void AppendZeroPadded(std::string& out, long long value, int width) {
  char buf[24];
  const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
  for (int n = static_cast<int>(end - buf); n < width; ++n) out += '0';
  out.append(buf, end);
}

std::string LastDigits(long long value, int digits) {
  std::string text;
  AppendZeroPadded(text, value, digits);
  return text.substr(text.size() - static_cast<std::size_t>(digits));
}

template <class Text>
std::optional<double> AppendFixed(Text& out, double v, int decimals) {
  if (double read = 0; AppendShortFixed(out, v, decimals, read)) return read;
  char buf[400];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (ec != std::errc()) {
    out += "NAN";
    return std::nullopt;
  }
  const char* begin = buf;
  const char* const stop = end;
  // "-0.00" reads as a sign without a value: the zero is written plainly.
  if (*begin == '-' && std::all_of(begin, stop, [](char c) { return c == '-' || c == '0' || c == '.'; })) ++begin;
  out.append(begin, static_cast<std::size_t>(stop - begin));
  return FixedValue(std::string_view(begin, static_cast<std::size_t>(stop - begin)));
}

std::string FormatFixed(double value, int decimals) {
  std::string out;
  AppendFixed(out, value, decimals);
  return out;
}

template <class Text>
std::optional<double> AppendScientific23(Text& out, double v) {
  if (std::uint64_t digits = 0; AppendSevenDigitScientific(out, v, digits)) {
    const double read = static_cast<double>(digits) / 1e8;
    return v < 0 ? -read : read;
  }
  // No number: its name, right-aligned in the 23 characters.
  if (!std::isfinite(v)) {
    const std::string_view name = std::isnan(v) ? "NAN" : v < 0 ? "-INF" : "INF";
    out.append(23 - name.size(), ' ');
    out.append(name.data(), name.size());
    return std::nullopt;
  }
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14).ptr;
  const char* e = std::find(buf, end, 'e');  // "2.45958341666667e+06" or "-1.…e-05"
  int exponent = 0;
  std::from_chars(e + 2, end, exponent);
  if (buf[0] != '-') out += ' ';
  out.append(buf, static_cast<std::size_t>(e - buf));
  const char tail[6] = {'E', e[1], static_cast<char>('0' + exponent / 1000), static_cast<char>('0' + exponent / 100 % 10),
                        static_cast<char>('0' + exponent / 10 % 10), static_cast<char>('0' + exponent % 10)};
  out.append(tail, sizeof tail);
  return std::nullopt;
}

std::string FormatScientific23(double value) {
  std::string out;
  AppendScientific23(out, value);
  return out;
}

template std::optional<double> AppendFixed(std::string&, double, int);
template std::optional<double> AppendFixed(ArenaString&, double, int);
template std::optional<double> AppendScientific23(std::string&, double);
template std::optional<double> AppendScientific23(ArenaString&, double);

}  // namespace vk
