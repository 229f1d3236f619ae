#include "energy_tick.h"
#include "fuzz_support.h"
#include "number_text.h"
#include "panel_state.h"
#include "run_control.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace wattmeter;
using namespace std::chrono;

namespace {

// Reads the fuzzer's bytes as a script of user actions.
class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : data_{data}, size_{size} {}
    bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return done() ? 0 : data_[at_++]; }
    std::int32_t number()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | byte();
        return static_cast<std::int32_t>(value);
    }
    std::string_view text(std::size_t length)
    {
        const std::size_t available = done() ? 0 : std::min(length, size_ - at_);
        const std::string_view result{reinterpret_cast<const char*>(data_ + at_), available};
        at_ += available;
        return result;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

bool isDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "<digits> <unit>", the digits read back as a whole number.
long long wholeReadout(std::string_view text, std::string_view unit)
{
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos || text.substr(blank) != unit ||
        !isDigits(text.substr(0, blank)) || blank > 6)
        std::abort();
    return std::stoll(std::string{text.substr(0, blank)});
}

// "[-]<digits>.<decimals> <unit>", never "-0.000", reading back to what it shows.
void checkTotal(std::string_view text, int decimals, std::string_view unit)
{
    const std::size_t blank = text.rfind(' ');
    if (blank == std::string_view::npos || text.substr(blank) != unit)
        std::abort();
    std::string_view number = text.substr(0, blank);
    const double value = readLeadingNumber(number);
    if (fixedText(value, decimals) != number)
        std::abort();
    if (number.starts_with('-'))
        number.remove_prefix(1);
    const std::size_t point = number.find('.');
    if (point == std::string_view::npos || !isDigits(number.substr(0, point)) ||
        !isDigits(number.substr(point + 1)) ||
        number.size() - point - 1 != static_cast<std::size_t>(decimals))
        std::abort();
}

void checkReadouts(const PanelState& panel)
{
    const long long volts = wholeReadout(panel.text(Field::txtVolts), " Volts");
    const long long amps = wholeReadout(panel.text(Field::txtAmps), " Amps");
    const long long watts = wholeReadout(panel.text(Field::txtWatts), " Watts");
    if (volts < 210 || volts > 250 || amps < 0 || amps > 200 || watts != volts * amps)
        std::abort();
    checkTotal(panel.text(Field::txtWattHours), 3, " WH");
    checkTotal(panel.text(Field::txtKwh), 4, " Kwh");
}

constexpr auto clockReach = hours{24 * 365 * 100}; // keeps the clock within a century

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    useCentralEuropeanTime();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Script script{data, size};
    PanelState panel;
    const system_clock::time_point base = sys_days{2026y / October / 25};
    system_clock::time_point now = base;
    const Clock clock = [&now] { return now; };

    while (!script.done()) {
        try {
            switch (script.byte() % 7) {
            case 0: {
                const Field field = allFields[script.byte() % allFields.size()];
                panel.setText(field, script.text(script.byte()));
                break;
            }
            case 1: {
                const Bar bar = allBars[script.byte() % allBars.size()];
                panel.setValue(bar, static_cast<std::int16_t>(script.number()));
                break;
            }
            case 2:
                energyTick(panel);
                checkReadouts(panel);
                break;
            case 3: start(panel, clock); break;
            case 4: stop(panel, clock); break;
            case 5: reset(panel); break;
            case 6: {
                const auto moved = now + seconds{script.number()};
                if (moved > base - clockReach && moved < base + clockReach)
                    now = moved;
                break;
            }
            }
        } catch (const MeterError& error) {
            checkNamed(error);
        }
    }
    return 0;
}
