#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace wattmeter {

// Local time as "YYYY-MM-DD HH:MM:SS", the same in every locale, to the
// second. In the hour that the clock shows twice as summer time ends, the
// time in UTC instead, ending in "Z", so that each of the two reads back as
// itself. Throws ClockOutOfRange where the C library cannot place the time.
std::string dateTimeText(std::chrono::system_clock::time_point when);

// Whole seconds from the first date-time text to the second, negative when
// the second is earlier. Besides what dateTimeText writes, each text may put
// "T" between date and time, give the hour with one digit, leave out the
// seconds, be a date alone (midnight) or a time alone "H:MM[:SS]"; blanks
// around it are ignored. A time alone against a date and time is the one
// nearest it by the local clock, on the day before, the same day or the day
// after; two times alone are on the same day. A date and time may end in a
// UTC offset, "+HH[:MM]", "-HH[:MM]" or "Z", with a blank before it or none.
// Other local times go through the system time zone, so a daylight-saving
// change in between adds or loses no hour; a time that the clock showed twice
// is the earlier, the same at every call. Throws TypeMismatch for a text that
// is no date-time, Overflow for a count beyond 32 bits.
std::int32_t secondsBetween(std::string_view first, std::string_view second);

} // namespace wattmeter
