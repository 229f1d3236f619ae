#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace wattmeter {

// Every error the metering operations raise. what() starts with the error's
// name, then says what caused it, so the window can show it as it stands.
class MeterError : public std::runtime_error {
protected:
    MeterError(std::string_view name, std::string_view cause);
};

class TypeMismatch : public MeterError {
public:
    explicit TypeMismatch(std::string_view cause);
};

class Overflow : public MeterError {
public:
    explicit Overflow(std::string_view cause);
};

// The present time, as the computer's clock gives it, cannot be written as a
// date: nothing was stamped.
class ClockOutOfRange : public Overflow {
public:
    ClockOutOfRange();
};

// A user's text in quotes, cut short when long so that a message stays
// readable whatever was typed.
std::string quoted(std::string_view text);

} // namespace wattmeter
