#include "timecalc/numtext.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/error.h"

namespace vk {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<double> TryParseFloat(std::string_view text) {
  std::string_view s = Trim(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  // from_chars would also take "inf" and "nan": a number starts with a digit or a point.
  if (s.empty() || !((s.front() >= '0' && s.front() <= '9') || s.front() == '.')) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return negative ? -value : value;
}

double ParseFloat(std::string_view text) {
  if (auto v = TryParseFloat(text)) return *v;
  throw InvalidFloat(std::string(text));
}

long long ParseInteger(std::string_view text) {
  std::string_view s = text;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  long long value = 0;
  if (s.empty() || s.front() < '0' || s.front() > '9') throw InvalidInteger(std::string(text));
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) throw InvalidInteger(std::string(text));
  return negative ? -value : value;
}

std::string FormatFixed(double value, int decimals) {
  char buf[400];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "NAN";
  std::string out(buf, end);
  // "-0.00" reads as a sign without a value: write the zero plainly.
  if (out.front() == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
  return out;
}

std::string FormatScientific23(double value) {
  // No number: its name, right-aligned in the 23 characters.
  if (!std::isfinite(value)) {
    const std::string name = std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF";
    return std::string(23 - name.size(), ' ') + name;
  }
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  if (ec != std::errc()) return std::string(23, ' ');
  std::string s(buf, end);  // "2.45958341666667e+06" or "-1.…e-05"
  const auto e = s.find('e');
  std::string mantissa = s.substr(0, e);
  const char exp_sign = s[e + 1];
  const int exponent = std::atoi(s.c_str() + e + 2);
  std::string out;
  if (mantissa.front() != '-') out += ' ';
  out += mantissa;
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%04d", exp_sign, exponent);
  out += tail;
  return out;
}

}  // namespace vk
