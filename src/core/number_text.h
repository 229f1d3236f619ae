#pragma once

#include <string>
#include <string_view>

namespace wattmeter {

// The number at the start of a text, the rest ignored: "250 Volts" reads as
// 250, a text that starts with no number as 0. Leading blanks and tabs are
// skipped; "." is the decimal point whatever the locale. Throws Overflow for
// a number too large for a double.
double readLeadingNumber(std::string_view text);

// Decimal digits, "-" in front when negative.
std::string wholeNumberText(int value);

// The shortest text that reads back as the same double; a whole number prints
// as its digits alone, at any magnitude (1000, 100000, 1e20 as 21 digits).
std::string valueText(double value);

// The value rounded to nearest at the given number of decimals, with at least
// one integer digit: fixedText(0.02777, 3) is "0.028". A value that rounds to
// zero never shows a minus sign.
std::string fixedText(double value, int decimals);

} // namespace wattmeter
