#include "errors.h"

#include <cstddef>

namespace wattmeter {

namespace {
constexpr std::size_t longestQuote = 40;

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string joined(std::string_view name, std::string_view cause)
{
    std::string message{name};
    message += ": ";
    message += cause;
    return message;
}
} // namespace

MeterError::MeterError(std::string_view name, std::string_view cause)
    : std::runtime_error{joined(name, cause)}
{
}

TypeMismatch::TypeMismatch(std::string_view cause) : MeterError{"Type mismatch", cause} {}

Overflow::Overflow(std::string_view cause) : MeterError{"Overflow", cause} {}

ClockOutOfRange::ClockOutOfRange() : Overflow{"the clock's time cannot be shown as a date"} {}

std::string quoted(std::string_view text)
{
    std::string result{"\""};
    if (text.size() <= longestQuote) {
        result += text;
    } else {
        std::size_t cut = longestQuote;
        while (cut > 0 && isContinuationByte(text[cut]))
            --cut; // never split a UTF-8 character
        result += text.substr(0, cut);
        result += "\u2026";
    }
    result += '"';
    return result;
}

} // namespace wattmeter
