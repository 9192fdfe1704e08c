#include "events/event_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "timecalc/calendar.h"
#include "timecalc/numtext.h"

namespace vk {
namespace {

// FormatFixed(v, decimals) appended to `out` without a temporary string.
void AppendFixed(std::string& out, double v, int decimals) {
  char buf[400];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (ec != std::errc()) {
    out += "NAN";
    return;
  }
  const char* begin = buf;
  const char* const stop = end;
  // "-0.00" reads as a sign without a value: the zero is written plainly.
  if (*begin == '-' && std::all_of(begin, stop, [](char c) { return c == '-' || c == '0' || c == '.'; })) ++begin;
  out.append(begin, static_cast<std::size_t>(stop - begin));
}

// AppendScientific23 for 1e6 <= |v| < 1e7, where every Julian Date of the
// log lies: its 15 significant digits are |v| · 1e8 rounded to an integer.
// The product is split exactly into p + err (an FMA gives the rounding error
// of p), so the rounding is that of the exact value. Returns: false, with
// `out` unchanged, outside that range, on an exact tie and when the rounding
// carries into the next power of ten; the general path writes those.
bool AppendSevenDigitScientific(std::string& out, double v) {
  const double a = std::fabs(v);
  if (!(a >= 1e6 && a < 1e7)) return false;
  const double p = a * 1e8;
  const double err = std::fma(a, 1e8, -p);
  double whole = std::floor(p);
  // p is a multiple of 2^-6 here and |err| at most half of that: the fraction
  // of p alone decides, err only when the fraction is exactly a half.
  const double fraction = p - whole;
  if (fraction > 0.5 || (fraction == 0.5 && err > 0)) whole += 1;
  else if (fraction == 0.5 && err == 0) return false;
  auto digits = static_cast<std::uint64_t>(whole);
  if (digits >= 1000000000000000ULL) return false;
  char buf[23] = {v < 0 ? '-' : ' ', 0, '.'};
  for (int k = 16; k >= 3; --k) {
    buf[k] = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
  buf[1] = static_cast<char>('0' + digits);
  std::memcpy(buf + 17, "E+0006", 6);
  out.append(buf, sizeof buf);
  return true;
}

// FormatScientific23(v) appended to `out` without temporary strings: a blank
// or the minus sign, 15 significant digits, "E", the exponent's sign and four digits.
void AppendScientific23(std::string& out, double v) {
  if (AppendSevenDigitScientific(out, v)) return;
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
  const char* e = ec == std::errc() ? std::find(buf, end, 'e') : end;
  int exponent = 0;
  if (e == end || end - e < 3 || std::from_chars(e + 2, end, exponent).ec != std::errc() || exponent > 9999) {
    out += FormatScientific23(v);  // no finite number: written as FormatScientific23 writes it
    return;
  }
  if (buf[0] != '-') out += ' ';
  out.append(buf, static_cast<std::size_t>(e - buf));
  const char tail[6] = {'E', e[1], static_cast<char>('0' + exponent / 1000), static_cast<char>('0' + exponent / 100 % 10),
                        static_cast<char>('0' + exponent / 10 % 10), static_cast<char>('0' + exponent % 10)};
  out.append(tail, sizeof tail);
}

void AppendOptional(std::string& out, const std::optional<double>& v, int decimals) {
  if (v) AppendFixed(out, *v, decimals);
  out += '\t';
}

}  // namespace

void AppendEventLine(std::string& out, double jd_ut, double jd_local, std::string_view body, std::string_view event,
                     const EventFields& f) {
  AppendScientific23(out, jd_ut);
  out += '\t';
  AppendScientific23(out, jd_local);
  out += '\t';
  out += body;
  out += '\t';
  out += event;
  out += '\t';
  AppendOptional(out, f.au, 4);
  AppendOptional(out, f.km, 0);
  AppendOptional(out, f.earth_radii, 2);
  out += f.angle;
  out += '\t';
  AppendOptional(out, f.diameter, 1);
  AppendOptional(out, f.magnitude, 2);
  if (f.label) out += f.label->view();
  out += "\t\r\n";
}

std::string DeclinationText(double dec_deg) {
  std::string s = FormatSexagesimal(dec_deg, 0);
  const auto first = s.find_first_not_of(' ');
  const auto last = s.find_last_not_of(' ');
  s = first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
  if (s.empty() || s.front() != '-') s.insert(s.begin(), '+');
  return s;
}

}  // namespace vk
