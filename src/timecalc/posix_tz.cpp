#include "posix_tz.h"

#include <algorithm>
#include <cctype>

namespace vk {
namespace {

class Scanner {
 public:
  explicit Scanner(std::string_view s) : s_(s) {}
  bool done() const { return i_ == s_.size(); }
  char peek() const { return done() ? '\0' : s_[i_]; }
  bool take(char c) {
    if (peek() != c) return false;
    ++i_;
    return true;
  }
  // Up to `max` digits as a number; nothing when there is no digit.
  std::optional<int> number(int max_digits) {
    int v = 0, n = 0;
    while (n < max_digits && std::isdigit(static_cast<unsigned char>(peek()))) v = v * 10 + (s_[i_++] - '0'), ++n;
    if (n == 0) return std::nullopt;
    return v;
  }
  // "ABC" (letters, at least three) or "<+0330>" (letters, digits, + and -).
  std::optional<std::string> abbreviation() {
    std::string out;
    if (take('<')) {
      while (!done() && peek() != '>') {
        const char c = s_[i_++];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-') return std::nullopt;
        out += c;
      }
      if (!take('>')) return std::nullopt;
    } else {
      while (std::isalpha(static_cast<unsigned char>(peek()))) out += s_[i_++];
    }
    if (out.size() < 3) return std::nullopt;
    return out;
  }
  // [+|-]hh[:mm[:ss]] in seconds, hours up to `max_hours`.
  std::optional<int> duration(int max_hours) {
    const int sign = take('-') ? -1 : (take('+'), 1);
    const auto h = number(3);
    if (!h || *h > max_hours) return std::nullopt;
    int v = *h * 3600;
    for (int scale : {60, 1}) {
      if (!take(':')) break;
      const auto part = number(2);
      if (!part || *part > 59) return std::nullopt;
      v += *part * scale;
    }
    return sign * v;
  }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
};

std::optional<PosixZone::Switch> ParseSwitch(Scanner& in) {
  PosixZone::Switch sw;
  if (in.take('M')) {
    sw.kind = 'M';
    const auto m = in.number(2);
    if (!m || *m < 1 || *m > 12 || !in.take('.')) return std::nullopt;
    const auto w = in.number(1);
    if (!w || *w < 1 || *w > 5 || !in.take('.')) return std::nullopt;
    const auto d = in.number(1);
    if (!d || *d > 6) return std::nullopt;
    sw.month = *m, sw.week = *w, sw.weekday = *d;
  } else if (in.take('J')) {
    sw.kind = 'J';
    const auto n = in.number(3);
    if (!n || *n < 1 || *n > 365) return std::nullopt;
    sw.day = *n;
  } else {
    sw.kind = 'N';
    const auto n = in.number(3);
    if (!n || *n > 365) return std::nullopt;
    sw.day = *n;
  }
  if (in.take('/')) {
    const auto t = in.duration(167);
    if (!t) return std::nullopt;
    sw.time = *t;
  }
  return sw;
}

// Days from 1970-01-01 to the given date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool Leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && Leap(y) ? 29 : kDays[m - 1];
}

// Unix day of a switch's date in year y.
std::int64_t SwitchDay(const PosixZone::Switch& sw, int y) {
  if (sw.kind == 'J') return DaysFromCivil(y, 1, 1) + sw.day - 1 + (Leap(y) && sw.day >= 60 ? 1 : 0);
  if (sw.kind == 'N') return DaysFromCivil(y, 1, 1) + sw.day;
  const std::int64_t first = DaysFromCivil(y, sw.month, 1);
  const int first_weekday = static_cast<int>(((first % 7) + 11) % 7);  // 1970-01-01 was a Thursday (4)
  int day = 1 + (sw.weekday - first_weekday + 7) % 7 + (sw.week - 1) * 7;
  while (day > DaysInMonth(y, sw.month)) day -= 7;
  return first + day - 1;
}

}  // namespace

std::optional<PosixZone> ParsePosixZone(std::string_view text, std::string& why) {
  Scanner in(text);
  PosixZone z;
  why.clear();
  const auto fail = [&](const char* reason) {
    why = reason;
    return std::nullopt;
  };
  const auto std_abbr = in.abbreviation();
  if (!std_abbr) return fail("no abbreviation of standard time");
  const auto std_off = in.duration(24);
  if (!std_off) return fail("no offset of standard time");
  // POSIX counts offsets west of Greenwich as positive.
  z.standard = {*std_abbr, -*std_off};
  if (in.done()) return z;
  const auto dst_abbr = in.abbreviation();
  if (!dst_abbr) return fail("no abbreviation of summer time");
  PosixZone::Time summer{*dst_abbr, z.standard.offset + 3600};
  if (in.peek() != ',' && !in.done()) {
    const auto off = in.duration(24);
    if (!off) return fail("no offset of summer time");
    summer.offset = -*off;
  }
  if (std::abs(summer.offset) > kMaxZoneOffset) return fail("offset of summer time beyond 26 hours");
  z.summer = summer;
  if (!in.take(',')) return fail("no rule for summer time");
  const auto start = ParseSwitch(in);
  if (!start || !in.take(',')) return fail("start of summer time malformed");
  const auto end = ParseSwitch(in);
  if (!end || !in.done()) return fail("end of summer time malformed");
  z.start = *start;
  z.end = *end;
  return z;
}

std::vector<PosixTransition> PosixTransitions(const PosixZone& zone, int first_year, int last_year) {
  std::vector<PosixTransition> out;
  if (!zone.summer) return out;
  for (int y = first_year; y <= last_year; ++y) {
    // Summer time starts at local standard time and ends at local summer time.
    out.push_back({SwitchDay(zone.start, y) * 86400 + zone.start.time - zone.standard.offset, true});
    out.push_back({SwitchDay(zone.end, y) * 86400 + zone.end.time - zone.summer->offset, false});
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const PosixTransition& a, const PosixTransition& b) { return a.unix_time < b.unix_time; });
  return out;
}

}  // namespace vk
