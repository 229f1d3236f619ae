#include "fuzz_support.h"
#include "number_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

// Reading never yields inf or nan, and a number it read, once written with
// three decimals, reads back to that written value exactly.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text{reinterpret_cast<const char*>(data), size};
    try {
        const double value = wattmeter::readLeadingNumber(text);
        if (!std::isfinite(value))
            std::abort();
        const std::string shown = wattmeter::fixedText(value, 3);
        const double readBack = wattmeter::readLeadingNumber(shown);
        if (wattmeter::fixedText(readBack, 3) != shown)
            std::abort();
    } catch (const wattmeter::MeterError& error) {
        checkNamed(error);
    }
    return 0;
}
