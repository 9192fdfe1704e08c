// Checks on values read from files and typed: numbers parsed, printable
// quotes of the input, ranges, line ends and the period the program covers.
// Numbers read "." as the decimal point, whatever the locale.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "base/error.h"

namespace vk {

// Hourly rows of any period run at most from 1960-01-01 00:00 UT to
// 2060-01-01 02:00 UT (what DE405's records in Debian's package cover; the
// span itself is read from the coefficient file); a Julian Date read from a
// file must lie in that range widened by a year on either side (local times
// and the days around the ends included).
inline constexpr double kPeriodFirstJD = 2436934.5;
inline constexpr double kPeriodLastJD = 2473459.5;
inline constexpr double kPeriodMarginDays = 366.0;
inline constexpr double kAcceptedFirstJD = kPeriodFirstJD - kPeriodMarginDays;
inline constexpr double kAcceptedLastJD = kPeriodLastJD + kPeriodMarginDays;

// At most `limit` characters of `text` (then "…"), each control character and
// byte 0x7F written as \r, \n, \t or \xNN, a backslash as \\. The result is
// one printable line. Returns the quoted form: the text between single quotes.
std::string QuoteInput(std::string_view text, std::size_t limit = 60);

// Parses a decimal number with optional blanks around it, an optional sign and
// an optional exponent. Returns: the value, or nothing for any other text
// (empty, inf/nan, trailing characters).
std::optional<double> TryParseFloat(std::string_view text);

// As TryParseFloat. Throws: Error "'<text>' is not a valid floating point value".
double ParseFloat(std::string_view text);

// Parses an integer with optional leading blanks and sign.
// Throws: Error "'<text>' is not a valid integer value".
long long ParseInteger(std::string_view text);

// Error "'<text>' is outside the allowed range <lo> to <hi>".
Error OutOfRange(std::string_view text, double lo, double hi);

// value itself when lo <= value <= hi (NaN never is).
// Throws: OutOfRange(text, lo, hi) otherwise.
double InRange(double value, std::string_view text, double lo, double hi);

// The line without its CR of a CR LF end.
// Throws: Error naming the lone CR when another CR stands in the line
// (CR-only or CR CR LF line ends).
std::string_view WithoutLineEnd(std::string_view line);

}  // namespace vk
