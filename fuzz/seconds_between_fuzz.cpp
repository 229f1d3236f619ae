#include "date_time.h"
#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    useCentralEuropeanTime();
    return 0;
}

namespace {
// "YYYY-MM-DD HH:MM:SSZ": two such texts sort as the instants they name.
bool isUtcStamp(std::string_view text)
{
    constexpr std::string_view shape = "0000-00-00 00:00:00Z";
    if (text.size() != shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == '0' ? text[i] < '0' || text[i] > '9' : text[i] != shape[i])
            return false;
    return true;
}
} // namespace

// The input is two texts split at the first newline. Counting from one to the
// other and back gives opposite counts; between two UTC stamps, the count is
// positive when the second is the later.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input{reinterpret_cast<const char*>(data), size};
    const std::size_t split = input.find('\n');
    const std::string_view first = input.substr(0, split);
    const std::string_view second =
        split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);
    try {
        const std::int64_t forward = wattmeter::secondsBetween(first, second);
        const std::int64_t backward = wattmeter::secondsBetween(second, first);
        if (forward != -backward)
            std::abort();
        if (isUtcStamp(first) && isUtcStamp(second) && (forward > 0) != (second > first))
            std::abort();
    } catch (const wattmeter::MeterError& error) {
        checkNamed(error);
    }
    return 0;
}
