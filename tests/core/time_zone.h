#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// Puts the process in a given time zone for the life of the object, so that
// local times in a test do not depend on the machine.
class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            previous_ = old;
        set(zone);
    }
    ~TimeZone() { set(previous_ ? previous_->c_str() : nullptr); }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    static void set(const char* zone)
    {
#ifdef _WIN32
        _putenv_s("TZ", zone ? zone : ""); // an empty value removes it
        _tzset();
#else
        if (zone)
            setenv("TZ", zone, 1);
        else
            unsetenv("TZ");
        tzset();
#endif
    }

    std::optional<std::string> previous_;
};

// Central European time written as a POSIX rule, so no zone database is needed:
// summer time from 02:00 on the last Sunday of March to 03:00 on the last
// Sunday of October.
inline constexpr const char* centralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

// Windows' C library takes only a zone's names and offsets from TZ and keeps
// its own dates for summer time, so a test cannot set the rule there.
#ifdef _WIN32
inline constexpr bool summerTimeRulesFollowTz = false;
#else
inline constexpr bool summerTimeRulesFollowTz = true;
#endif
