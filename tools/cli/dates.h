// Dates of the period on the command line.
#pragma once
#include <string>

namespace vk::tool {

inline constexpr double kFirstDay = 2459580.5;  // 2022-01-01
inline constexpr double kLastDay = 2463230.5;   // 2031-12-30
inline constexpr double kLastDataDay = 2463231.5;  // 2031-12-31: the last day the hourly rows cover

// "YYYY-MM-DD" of a day within the period, given to option `option`.
// Returns: the Julian day of its 00:00.
// Throws: UsageError naming the option for any other text, a date that does
// not exist or one outside 2022-01-01 … `last` (2031-12-30, or kLastDataDay).
double ParseDate(const std::string& text, const std::string& option = "--date", double last = kLastDay);

// "YYYY-MM" of a month. Returns: the Julian days of its first and its last
// day, the last cut to the period. Throws: UsageError as ParseDate.
std::pair<double, double> ParseMonth(const std::string& text, const std::string& option = "--month");

}  // namespace vk::tool
