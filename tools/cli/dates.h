// Dates on the command line.
#pragma once
#include <string>
#include <utility>

namespace vk::tool {

// "YYYY-MM-DD" of a day, given to option `option`. Whether it lies in the
// data's span is checked once the data folder is known (CheckInSpan).
// Returns: the Julian day of its 00:00.
// Throws: UsageError naming the option for any other text or a date that does
// not exist.
double ParseDate(const std::string& text, const std::string& option = "--date");

// "YYYY-MM" of a month. Returns: the Julian days of its first and its last
// day. Throws: UsageError as ParseDate.
std::pair<double, double> ParseMonth(const std::string& text, const std::string& option = "--month");

}  // namespace vk::tool
