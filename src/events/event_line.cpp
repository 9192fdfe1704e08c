#include "events/event_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>

#include "timecalc/calendar.h"
#include "timecalc/input_checks.h"
#include "timecalc/numtext.h"

namespace vk {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// The value a fixed-point text ("-12.345", no exponent) reads as: its digits
// as an integer divided by the power of ten of its decimals, one correctly
// rounded division of two exact numbers, which is how reading the text rounds
// it; longer texts are read as the log's reader reads them. Returns: nothing
// for a text that does not read.
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
  if (count < 1 || count > 15 || decimals >= static_cast<int>(std::size(kPowersOfTen))) return TryParseFloat(text);
  const double value = static_cast<double>(digits) / kPowersOfTen[decimals];
  return negative ? -value : value;
}

// The exact product a · scale (a ≥ 0, a · scale below 2^50) rounded to an
// integer as the library rounds decimal digits: the product is split exactly
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
  // A value that rounds to zero is written without its sign ("-0.00" would
  // read as a sign without a value).
  if (v < 0 && digits != 0) *--at = '-';
  out.append(at, static_cast<std::size_t>(end - at));
  // The text's digits as an integer over the power of ten: one correctly
  // rounded division, as reading the text rounds it.
  const double value = static_cast<double>(digits) / scale;
  read = v < 0 && digits != 0 ? -value : value;
  return true;
}

// FormatFixed(v, decimals) appended to `out` without a temporary string.
// Returns: the value the text reads as, or nothing (NaN or infinity).
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

// FormatScientific23(v) appended to `out` without temporary strings: a blank
// or the minus sign, 15 significant digits, "E", the exponent's sign and four digits.
// Returns: the value the text reads as when it is a Julian Date of the
// accepted range (15 digits below 2^53 divided by 1e8: one correctly rounded
// division, as reading the decimal text rounds it), else nothing.
template <class Text>
std::optional<double> AppendScientific23(Text& out, double v) {
  std::uint64_t digits = 0;
  if (AppendSevenDigitScientific(out, v, digits)) {
    const double read = static_cast<double>(digits) / 1e8;
    const double value = v < 0 ? -read : read;
    if (value >= kAcceptedFirstJD && value <= kAcceptedLastJD) return value;
    return std::nullopt;
  }
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
  const char* e = ec == std::errc() ? std::find(buf, end, 'e') : end;
  int exponent = 0;
  if (e == end || end - e < 3 || std::from_chars(e + 2, end, exponent).ec != std::errc() || exponent > 9999) {
    out += FormatScientific23(v);  // no finite number: written as FormatScientific23 writes it
    return std::nullopt;
  }
  if (buf[0] != '-') out += ' ';
  out.append(buf, static_cast<std::size_t>(e - buf));
  const char tail[6] = {'E', e[1], static_cast<char>('0' + exponent / 1000), static_cast<char>('0' + exponent / 100 % 10),
                        static_cast<char>('0' + exponent / 10 % 10), static_cast<char>('0' + exponent % 10)};
  out.append(tail, sizeof tail);
  return std::nullopt;
}

// An optional number and its TAB. Returns: what the field reads as, kMissing
// when it is empty, NaN when it does not read inside `range`.
template <class Text>
double AppendOptional(Text& out, const std::optional<double>& v, int decimals, FieldRange range) {
  double read = kMissing;
  if (v) {
    const std::optional<double> value = AppendFixed(out, *v, decimals);
    read = value && *value >= range.lo && *value <= range.hi ? *value : std::numeric_limits<double>::quiet_NaN();
  }
  out += '\t';
  return read;
}

// Text that reads back as one field: no TAB and no line end inside.
bool OneField(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; });
}

}  // namespace

template <class Text>
void AppendEventLine(Text& out, double jd_ut, double jd_local, std::string_view body, std::string_view event,
                     const EventFields& f, LineRecord* record) {
  const std::size_t start = out.size();
  const std::optional<double> ut = AppendScientific23(out, jd_ut);
  out += '\t';
  const std::optional<double> local = AppendScientific23(out, jd_local);
  out += '\t';
  const bool dates = ut && local && out.size() - start == static_cast<std::size_t>(kLineBodyAt);
  out += body;
  out += '\t';
  const std::size_t event_at = out.size();
  out += event;
  out += '\t';
  const std::size_t numbers_at = out.size();
  const double au = AppendOptional(out, f.au, 4, kAuRange);
  const double km = AppendOptional(out, f.km, 0, kKmRange);
  const double earth_radii = AppendOptional(out, f.earth_radii, 2, kEarthRadiiRange);
  const std::size_t angle_at = out.size();
  out += f.angle;
  const std::size_t angle_end = out.size();
  out += '\t';
  const double diameter = AppendOptional(out, f.diameter, 1, kDiameterRange);
  const double magnitude = AppendOptional(out, f.magnitude, 2, kMagnitudeRange);
  const std::size_t note_at = out.size();
  if (f.label) out += f.label->view();
  out += "\t\r\n";
  if (!record) return;
  const std::size_t end = out.size() - 2;
  LineRecord r;
  r.start = static_cast<std::uint32_t>(start);
  const bool numbers_read = !std::isnan(au) && !std::isnan(km) && !std::isnan(earth_radii) &&
                            !std::isnan(diameter) && !std::isnan(magnitude);
  if (dates && numbers_read && end - start <= 255 && OneField(body) && OneField(event) && OneField(f.angle) &&
      (!f.label || OneField(f.label->view()))) {
    r.jd_ut = *ut;
    r.jd_local = *local;
    r.event_at = static_cast<std::uint8_t>(event_at - start);
    r.numbers_at = static_cast<std::uint8_t>(numbers_at - start);
    r.angle_at = static_cast<std::uint8_t>(angle_at - start);
    r.angle_end = static_cast<std::uint8_t>(angle_end - start);
    r.note_at = static_cast<std::uint8_t>(note_at - start);
    r.end = static_cast<std::uint8_t>(end - start);
    r.au = au;
    r.km = km;
    r.earth_radii = earth_radii;
    r.diameter = static_cast<float>(diameter);
    r.magnitude = static_cast<float>(magnitude);
  }
  *record = r;
}

template void AppendEventLine(std::string&, double, double, std::string_view, std::string_view, const EventFields&,
                              LineRecord*);
template void AppendEventLine(LogText&, double, double, std::string_view, std::string_view, const EventFields&,
                              LineRecord*);

std::string DeclinationText(double dec_deg) {
  std::string s = FormatSexagesimal(dec_deg, 0);
  const auto first = s.find_first_not_of(' ');
  const auto last = s.find_last_not_of(' ');
  s = first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
  if (s.empty() || s.front() != '-') s.insert(s.begin(), '+');
  return s;
}

}  // namespace vk
