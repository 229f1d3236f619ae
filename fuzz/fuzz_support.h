#pragma once

#include "errors.h"

#include <cstdlib>
#include <ctime>
#include <string_view>

// Shared by the fuzz targets: the time zone they run in and the one check
// every error must pass.

// Central European time as a POSIX rule, so summer-time changes are exercised
// without a zone database.
inline void useCentralEuropeanTime()
{
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
}

// Only the meter's named errors may leave an operation.
inline void checkNamed(const wattmeter::MeterError& error)
{
    const std::string_view message = error.what();
    if (!message.starts_with("Type mismatch: ") && !message.starts_with("Overflow: "))
        std::abort();
}
