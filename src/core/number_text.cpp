#include "number_text.h"

#include "errors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

namespace wattmeter {

namespace {

// Room for the integer digits of the largest double, a sign, a point and the
// decimals.
using NumberBuffer = std::array<char, 400>;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t from)
{
    while (from < text.size() && isDigit(text[from]))
        ++from;
    return from;
}

// The written form of a number, split where from_chars cannot tell overflow
// from underflow on its own.
struct NumberSpan {
    std::string_view integerDigits;
    std::string_view fractionDigits;
    std::string_view exponent; // optional sign and digits
};

long long saturatedExponent(std::string_view exponent)
{
    bool negative = false;
    if (!exponent.empty() && (exponent.front() == '+' || exponent.front() == '-')) {
        negative = exponent.front() == '-';
        exponent.remove_prefix(1);
    }
    constexpr long long ceiling = 1'000'000;
    long long value = 0;
    for (char digit : exponent)
        value = std::min(ceiling, value * 10 + (digit - '0'));
    return negative ? -value : value;
}

// True when the number is at least 1 in magnitude, so that a value out of a
// double's range is too large rather than too small.
bool atLeastOne(const NumberSpan& number)
{
    long long magnitude;
    const std::size_t firstInteger = number.integerDigits.find_first_not_of('0');
    if (firstInteger != std::string_view::npos) {
        magnitude = static_cast<long long>(number.integerDigits.size() - firstInteger);
    } else {
        const std::size_t firstFraction = number.fractionDigits.find_first_not_of('0');
        if (firstFraction == std::string_view::npos)
            return false;
        magnitude = -static_cast<long long>(firstFraction);
    }
    return magnitude + saturatedExponent(number.exponent) > 0;
}

} // namespace

double readLeadingNumber(std::string_view text)
{
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string_view::npos)
        return 0;
    bool negative = false;
    if (text[at] == '+' || text[at] == '-') {
        negative = text[at] == '-';
        ++at;
    }

    NumberSpan number;
    const std::size_t begin = at;
    at = skipDigits(text, at);
    number.integerDigits = text.substr(begin, at - begin);
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionEnd = skipDigits(text, at + 1);
        number.fractionDigits = text.substr(at + 1, fractionEnd - at - 1);
        at = fractionEnd;
    }
    if (number.integerDigits.empty() && number.fractionDigits.empty())
        return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t digits = at + 1;
        if (digits < text.size() && (text[digits] == '+' || text[digits] == '-'))
            ++digits;
        const std::size_t exponentEnd = skipDigits(text, digits);
        if (exponentEnd > digits) { // "2e" or "2e+" is just 2
            number.exponent = text.substr(at + 1, exponentEnd - at - 1);
            at = exponentEnd;
        }
    }

    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + begin, text.data() + at, value);
    if (error == std::errc::result_out_of_range) {
        if (atLeastOne(number))
            throw Overflow{quoted(text) + " holds a number too large to count with"};
        value = 0; // too small to tell from zero
    }
    return negative ? -value : value;
}

std::string wholeNumberText(int value)
{
    NumberBuffer buffer;
    const auto result = std::to_chars(buffer.begin(), buffer.end(), value);
    return {buffer.data(), result.ptr};
}

std::string valueText(double value)
{
    NumberBuffer buffer;
    // The shortest form would write 100000 as "1e+05".
    const bool whole = std::isfinite(value) && std::trunc(value) == value;
    const auto result =
        whole ? std::to_chars(buffer.begin(), buffer.end(), value, std::chars_format::fixed)
              : std::to_chars(buffer.begin(), buffer.end(), value);
    return {buffer.data(), result.ptr};
}

std::string fixedText(double value, int decimals)
{
    NumberBuffer buffer;
    const auto result =
        std::to_chars(buffer.begin(), buffer.end(), value, std::chars_format::fixed, decimals);
    std::string_view text{buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())};
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string_view::npos)
        text.remove_prefix(1);
    return std::string{text};
}

} // namespace wattmeter
