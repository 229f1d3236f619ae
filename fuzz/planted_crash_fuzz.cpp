// Built only for the fuzzing check, in place of a real target: it reads one
// byte past a copy of every input, a fault that AddressSanitizer stops at
// the first input, as it would a crash that fuzzing finds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto copy = std::make_unique<std::uint8_t[]>(size + 1);
    std::memcpy(copy.get(), data, size);
    volatile std::uint8_t past_the_end = copy[size + 1];
    return past_the_end;
}
