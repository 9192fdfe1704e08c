// Numbers written as text, the program's one home for them: "." as decimal
// point and no thousands separator, whatever the locale. Zero-padded digits,
// fixed and 23-character scientific notation; the fixed and scientific texts
// are those of printf ("%.*f", "%.14E" with a four-digit exponent), written
// without a general conversion where the event log's numbers lie. (Numbers
// read from text: ParseFloat and its kin in timecalc/input_checks.h, whose
// errors quote the input.)
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "base/large_array.h"

namespace vk {

// Appends `value` (>= 0) with at least `width` digits, zeros in front:
// (7, 2) "07", (123, 2) "123". Never throws except std::bad_alloc.
void AppendZeroPadded(std::string& out, long long value, int width);

// The last `digits` decimal digits of `value` (>= 0), zeros in front:
// (7, 2) "07", (350, 3) "350", (123, 2) "23". Never throws except std::bad_alloc.
std::string LastDigits(long long value, int digits);

// Fixed notation with exactly `decimals` digits after the point, the exact
// value rounded, halves to even; no point for 0 decimals, "-" for negative
// values, but a value that rounds to zero without its sign ("0.00", not
// "-0.00"); NaN and infinity as "nan", "-nan", "inf", "-inf".
std::string FormatFixed(double value, int decimals);

// FormatFixed(value, decimals) appended to `out` (std::string or ArenaString).
// Returns: the value the text reads as (correctly rounded), or nothing for
// NaN and infinity. Never fails except std::bad_alloc.
template <class Text>
std::optional<double> AppendFixed(Text& out, double value, int decimals);

// Scientific notation 23 characters wide: a blank or "-", one digit, ".",
// 14 digits, "E", the exponent's sign and four digits
// (" 2.45958341666667E+0006"); no number as "NAN", "INF" or "-INF",
// right-aligned in the 23 characters. Never fails except std::bad_alloc.
std::string FormatScientific23(double value);

// FormatScientific23(value) appended to `out` (std::string or ArenaString).
// Returns: the value the text reads as for 1e6 <= |value| < 1e7 (every
// Julian Date of the period: its 15 digits over 1e8, one correctly rounded
// division), else nothing. Never fails except std::bad_alloc.
template <class Text>
std::optional<double> AppendScientific23(Text& out, double value);

extern template std::optional<double> AppendFixed(std::string&, double, int);
extern template std::optional<double> AppendFixed(ArenaString&, double, int);
extern template std::optional<double> AppendScientific23(std::string&, double);
extern template std::optional<double> AppendScientific23(ArenaString&, double);

}  // namespace vk
