#include "timecalc/input_checks.h"

#include <charconv>
#include <cmath>

#include "base/number_text.h"

namespace vk {
namespace {

std::string Bound(double v) {
  // Whole bounds without decimals, others with as many as they need (at most 6).
  if (v == std::trunc(v)) return FormatFixed(v, 0);
  std::string s = FormatFixed(v, 6);
  while (s.back() == '0') s.pop_back();
  return s;
}

}  // namespace

std::string QuoteInput(std::string_view text, std::size_t limit) { return "'" + Printable(text, limit) + "'"; }

Error OutOfRange(std::string_view text, double lo, double hi) {
  return Error(QuoteInput(text) + " is outside the allowed range " + Bound(lo) + " to " + Bound(hi));
}

double InRange(double value, std::string_view text, double lo, double hi) {
  if (!(value >= lo && value <= hi)) throw OutOfRange(text, lo, hi);
  return value;
}

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.find('\r') != std::string_view::npos)
    throw Error("Line end CR without LF: only LF or CR LF end a line");
  return line;
}

}  // namespace vk

namespace vk {

Error InvalidFloat(const std::string& text) { return Error(QuoteInput(text) + " is not a valid floating point value"); }
Error InvalidInteger(const std::string& text) { return Error(QuoteInput(text) + " is not a valid integer value"); }

}  // namespace vk

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

}  // namespace vk
