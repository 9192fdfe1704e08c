// Numbers as text: "." as decimal point and no thousands separator, whatever
// the locale.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace vk {

// Parses a decimal number with optional blanks around it, an optional sign and
// an optional exponent. Returns: the value, or nothing for any other text
// (empty, inf/nan, trailing characters).
std::optional<double> TryParseFloat(std::string_view text);

// As TryParseFloat. Throws: Error "'<text>' is not a valid floating point value".
double ParseFloat(std::string_view text);

// Parses an integer with optional leading blanks and sign.
// Throws: Error "'<text>' is not a valid integer value".
long long ParseInteger(std::string_view text);

// Fixed notation with exactly `decimals` digits after the point, rounded;
// no point for 0 decimals, "-" for negative values.
std::string FormatFixed(double value, int decimals);

// Scientific notation 23 characters wide: a blank or "-", one digit, ".",
// 14 digits, "E", the exponent's sign and four digits
// (" 2.45958341666667E+0006"); no number as "NAN", "INF" or "-INF",
// right-aligned in the 23 characters. Never fails except std::bad_alloc.
std::string FormatScientific23(double value);

}  // namespace vk
