#include "timecalc/calendar.h"

#include <cmath>
#include <cstdint>

#include "base/error.h"
#include "base/number_text.h"

namespace vk {
namespace {

// Extended precision for the intermediate results, as the conversions want.
using Ext = long double;

Ext Int(Ext x) { return std::trunc(x); }

constexpr std::int64_t kPowersOfTen[5] = {1, 10, 100, 1000, 10000};

}  // namespace

double CalendarToJD(int year, int month, int day, double hour, double minute, double second) {
  int k = 0;
  while (year < 333) {
    year += 1000;
    ++k;
  }
  if (month < 3) {
    year -= 1;
    month += 12;
  }
  int b = 0;
  if (Ext(365.25L) * year + 30 * month + day > Ext(578135.5L)) {
    const int a = year / 100;
    b = 2 - a + a / 4;
  }
  Ext jd = Int(Ext(365.25L) * (year + 4716)) + Int(Ext(30.60001L) * (month + 1)) + day + b - Ext(1524.5L);
  jd -= Ext(k) * 365250;
  jd = jd + Ext(hour) / 24;
  jd = jd + Ext(minute) / 1440;
  jd = jd + Ext(second) / 86400;
  return static_cast<double>(jd);
}

CalendarTime JDToCalendar(double jd_in) {
  if (!(jd_in >= kMinCalendarJD && jd_in <= kMaxCalendarJD)) {
    std::string value = std::isfinite(jd_in) ? FormatScientific23(jd_in) : std::isnan(jd_in) ? "NaN" : "infinite";
    if (value.front() == ' ') value.erase(0, 1);
    throw Error("Julian Date " + value + " is outside the allowed range " + FormatFixed(kMinCalendarJD, 0) +
                " to " + FormatFixed(kMaxCalendarJD, 0));
  }
  Ext jd = jd_in;
  // Early dates are moved forward by whole 1000-year blocks (365250 days).
  int k = 0;
  if (jd < 1800000) {
    k = static_cast<int>(std::ceil((Ext(1800000) - jd) / 365250));
    jd += Ext(k) * 365250;
  }
  const std::int64_t z = static_cast<std::int64_t>(Int(jd + Ext(0.5L)));
  std::int64_t a = z;
  if (z >= 2299161) {
    const std::int64_t alpha = static_cast<std::int64_t>(Int((Ext(z) - Ext(1867216.25L)) / Ext(36524.25L)));
    a = z + 1 + alpha - alpha / 4;
  }
  const std::int64_t b = a + 1524;
  const std::int64_t c = static_cast<std::int64_t>(Int((Ext(b) - Ext(122.1L)) / Ext(365.25L)));
  const std::int64_t d = static_cast<std::int64_t>(Int(Ext(365.25L) * c));
  const std::int64_t e = static_cast<std::int64_t>(Int(Ext(b - d) / Ext(30.60001L)));

  CalendarTime t;
  t.day = static_cast<int>(b - d - static_cast<std::int64_t>(Int(Ext(30.60001L) * e)));
  t.month = static_cast<int>(e - 1);
  t.year = static_cast<int>(c - 4715);
  if (e > 13) t.month -= 12;
  if (t.month > 2) t.year -= 1;
  t.year -= 1000 * k;

  Ext f = (jd - Int(jd)) + Ext(0.5L);
  if (f == 1.0L) f = 0;
  std::int64_t ms = static_cast<std::int64_t>(Int(f * Ext(86400000) + Ext(0.5L)));
  std::int64_t hour = ms / 3600000;
  ms -= hour * 3600000;
  const std::int64_t minute = ms / 60000;
  t.second = static_cast<double>(ms - minute * 60000) / 1000.0;
  if (hour > 23) hour -= 24;
  t.hour = static_cast<double>(hour);
  t.minute = static_cast<double>(minute);
  return t;
}

namespace {
int LastSunday(int year, int shift) {
  const int q = year / 100;
  const int r = year / 400;
  const int n = static_cast<int>(Int(Ext(1.25L) * year + shift)) - q + r;
  return 31 - (((n % 7) + 7) % 7);
}
}  // namespace

int LastSundayOfMarch(int year) { return LastSunday(year, 5); }
int LastSundayOfOctober(int year) { return LastSunday(year, 2); }

bool IsSummerTimeByRule(double jd) {
  const int year = JDToCalendar(jd).year;
  const double start = CalendarToJD(year, 3, LastSundayOfMarch(year), 1, 0, 0);
  const double end = CalendarToJD(year, 10, LastSundayOfOctober(year), 1, 0, 0);
  return start < jd && jd <= end;
}

namespace {

// The year's first instant and its two switch instants, made once by the rule
// above for the years the program can meet, so that the event search, which
// asks for every event, does not convert calendars each time.
struct SwitchTable {
  static constexpr int kFirst = 1900, kLast = 2200;
  double jan1[kLast - kFirst + 2];
  double start[kLast - kFirst + 1];
  double end[kLast - kFirst + 1];
  SwitchTable() {
    for (int y = kFirst; y <= kLast + 1; ++y) jan1[y - kFirst] = CalendarToJD(y, 1, 1, 0, 0, 0);
    for (int y = kFirst; y <= kLast; ++y) {
      start[y - kFirst] = CalendarToJD(y, 3, LastSundayOfMarch(y), 1, 0, 0);
      end[y - kFirst] = CalendarToJD(y, 10, LastSundayOfOctober(y), 1, 0, 0);
    }
  }
};

}  // namespace

bool IsSummerTime(double jd) {
  static const SwitchTable t;
  if (!(jd >= t.jan1[0] && jd < t.jan1[SwitchTable::kLast - SwitchTable::kFirst + 1])) return IsSummerTimeByRule(jd);
  // The calendar year is the one whose 1 January 00:00 is the last at or before jd.
  int i = static_cast<int>((jd - t.jan1[0]) / 365.2425);
  while (i > 0 && jd < t.jan1[i]) --i;
  while (jd >= t.jan1[i + 1]) ++i;
  return t.start[i] < jd && jd <= t.end[i];
}

std::string FormatSexagesimal(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 4) decimals = 4;
  const char sign = value < 0 ? '-' : ' ';
  const Ext x = std::fabs(Ext(value));
  const std::int64_t p = kPowersOfTen[decimals];
  const std::int64_t total = static_cast<std::int64_t>(Int(x * 3600 * p + Ext(0.5L)));
  const std::int64_t rem = total % (60 * p);
  const double seconds = static_cast<double>(rem) / static_cast<double>(p);
  const std::int64_t whole_minutes = (total - rem) / (60 * p);
  const std::int64_t minutes = whole_minutes % 60;
  const std::int64_t hours = (whole_minutes - minutes) / 60;

  std::string head = "    ";
  head += sign;
  if (hours < 10) head += '0';
  head += std::to_string(hours);
  head += ':';
  std::string out = head.substr(head.size() - 5);

  if (minutes < 10) out += ' ';
  out += std::to_string(minutes);
  out += ':';
  static constexpr std::size_t kWidths[5] = {2, 4, 5, 6, 7};
  const std::string sec = FormatFixed(seconds, decimals);
  if (sec.size() < kWidths[decimals]) out.append(kWidths[decimals] - sec.size(), ' ');
  out += sec;
  for (std::size_t i = 2; i < out.size(); ++i)
    if (out[i] == ' ') out[i] = '0';
  return out;
}

}  // namespace vk
