#include "dates.h"

#include <utility>

#include "commands.h"
#include "timecalc/calendar.h"
#include "timecalc/input_checks.h"

namespace vk::tool {

double ParseDate(const std::string& text, const std::string& option) {
  const auto bad = [&]() { return UsageError{option + ": " + QuoteInput(text) + " is not a date YYYY-MM-DD"}; };
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') throw bad();
  for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
    if (text[i] < '0' || text[i] > '9') throw bad();
  const int y = static_cast<int>(ParseInteger(text.substr(0, 4)));
  const int m = static_cast<int>(ParseInteger(text.substr(5, 2)));
  const int d = static_cast<int>(ParseInteger(text.substr(8, 2)));
  const double jd = CalendarToJD(y, m, d, 0, 0, 0);
  const CalendarTime back = JDToCalendar(jd);
  if (m < 1 || m > 12 || d < 1 || back.year != y || back.month != m || back.day != d) throw bad();
  return jd;
}

std::pair<double, double> ParseMonth(const std::string& text, const std::string& option) {
  const auto bad = [&]() { return UsageError{option + ": " + QuoteInput(text) + " is not a month YYYY-MM"}; };
  if (text.size() != 7 || text[4] != '-') throw bad();
  double first = 0;
  try {
    first = ParseDate(text + "-01", option);
  } catch (const UsageError&) {
    throw bad();
  }
  const CalendarTime c = JDToCalendar(first);
  const int next_year = c.month == 12 ? c.year + 1 : c.year;
  const int next_month = c.month == 12 ? 1 : c.month + 1;
  const double last = CalendarToJD(next_year, next_month, 1, 0, 0, 0) - 1.0;
  return {first, last};
}

}  // namespace vk::tool
