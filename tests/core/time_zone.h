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
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    std::optional<std::string> previous_;
};

// Central European time written as a POSIX rule, so no zone database is needed:
// summer time from 02:00 on the last Sunday of March to 03:00 on the last
// Sunday of October.
inline constexpr const char* centralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
