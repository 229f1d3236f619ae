#include "date_time.h"
#include "errors.h"
#include "time_zone.h"

#include <gtest/gtest.h>

#include <string>

using namespace wattmeter;

TEST(SecondsBetween, AcceptsTheWrittenFormsAndTheirShortenings)
{
    const TimeZone zone{"UTC0"};
    const char* stop = "2026-12-07 16:05:09";
    EXPECT_EQ(secondsBetween("2026-12-07 16:05:09", stop), 0);
    EXPECT_EQ(secondsBetween("2026-12-07T16:05", stop), 9);
    EXPECT_EQ(secondsBetween("2026-12-07", stop), 57909);
    EXPECT_EQ(secondsBetween("\t16:05 ", stop), 9);
    EXPECT_EQ(secondsBetween(stop, "16:06"), 51);
    EXPECT_EQ(secondsBetween("23:59:59", "00:00"), -86399);
    EXPECT_EQ(secondsBetween("2024-02-28 12:00", "2024-03-01 12:00"), 2 * 86400);
    EXPECT_EQ(secondsBetween("2024-02-29", "2025-02-28"), 365 * 86400);
    EXPECT_EQ(secondsBetween("2000-02-29", "2000-03-01"), 86400);
    // An offset of its own wins over the zone's, at both ends of its range.
    EXPECT_EQ(secondsBetween("2026-12-07 17:05:09+01", stop), 0);
    EXPECT_EQ(secondsBetween("2026-12-08 06:05:09+14:00", stop), 0);
    EXPECT_EQ(secondsBetween("2026-12-07 02:35:09-13:30", stop), 0);
    EXPECT_EQ(secondsBetween("2026-12-07 16:05:09Z", stop), 0);
    // Before 1970, where Windows' C library places no date in time.
    EXPECT_EQ(secondsBetween("1960-01-01", "1970-01-01 00:00:01"), 3653 * 86400 + 1);
    // As people type them: an hour of one digit, a blank before the offset.
    EXPECT_EQ(secondsBetween("9:30", "2026-12-07 09:30:00"), 0);
    EXPECT_EQ(secondsBetween("9:30:15", "2026-12-07 09:30:00"), -15);
    EXPECT_EQ(secondsBetween("2026-12-07 9:30:00", "2026-12-07 09:30:00"), 0);
    EXPECT_EQ(secondsBetween("2026-12-07 09:30:00 +01:00", "2026-12-07 08:30:00"), 0);
    EXPECT_EQ(secondsBetween("2026-12-07 08:30 Z", "2026-12-07 08:30:00"), 0);
}

TEST(SecondsBetween, ATimeAloneIsTheOneNearestTheOtherStamp)
{
    const TimeZone zone{"UTC0"};
    EXPECT_EQ(secondsBetween("23:50", "2026-12-08 00:10:00"), 1200);
    EXPECT_EQ(secondsBetween("2026-12-07 23:50:00", "0:10"), 1200);
    EXPECT_EQ(secondsBetween("10:00", "2026-12-07 09:30:00"), -1800); // set after the stop
    EXPECT_EQ(secondsBetween("0:00", "2026-12-07 12:00:00"), 43200);  // as near: the same day
    // The stamp of the repeated hour, in UTC, on the day before the local one.
    if (summerTimeRulesFollowTz) {
        const TimeZone newZealand{"NZST-12NZDT,M9.5.0,M4.1.0/3"};
        EXPECT_EQ(secondsBetween("01:00", "2026-04-04 14:30:00Z"), 9000);
    }
    // Fourteen hours ahead, in the local afternoon, two days past the written date.
    const TimeZone kiritimati{"LIN-14"};
    EXPECT_EQ(secondsBetween("2026-12-07 23:30:00Z", "01:00"), 41400);
}

TEST(SecondsBetween, AnythingElseIsATypeMismatch)
{
    const char* stop = "2026-12-07 16:05:09";
    // clang-format off
    const char* const refused[] = {
        "", "   ", "txtTimeStart", "16:05:09 PM", "9:30 am",
        "2026-02-29", "2026-13-01", "2026-00-10", "2026-04-31 10:00", "0000-01-01", "2026-1-7",
        "2100-02-29", "1900-02-29",
        "2026-12-07 24:00", "2026-12-07 16:60", "16:05:60", "7:5", "25:00", "123:00",
        "2026-12-07  16:05", "2026-12-07 16", "2026-12-07 16:05:09.5",
        "2026-12-07 16:05+15", "2026-12-07 16:05+1", "2026-12-07 16:05+01:60",
        "2026-12-07 16:05  +01", "2026-12-07 16:05Z0", "16:05+01"};
    // clang-format on
    for (const char* start : refused)
        EXPECT_THROW(secondsBetween(start, stop), TypeMismatch) << '"' << start << '"';
    EXPECT_THROW(secondsBetween(stop, "not a time"), TypeMismatch);
    EXPECT_THROW(secondsBetween(std::string(100000, '9'), stop), TypeMismatch);
    // Quoted in the error, a long text is cut between characters.
    const std::string typed = std::string(39, 'x') + "\u20ac" + std::string(100, 'y');
    EXPECT_EQ(wattmeter::quoted(typed), "\"" + std::string(39, 'x') + "\u2026\"");
}

TEST(SecondsBetween, ACountBeyond32BitsIsAnOverflow)
{
    const TimeZone zone{"UTC0"};
    EXPECT_EQ(secondsBetween("1970-01-01", "2038-01-19 03:14:07"), 2147483647);
    EXPECT_THROW(secondsBetween("1970-01-01", "2038-01-19 03:14:08"), Overflow);
    EXPECT_EQ(secondsBetween("2038-01-19 03:14:08", "1970-01-01"), -2147483648);
    EXPECT_THROW(secondsBetween("0001-01-01", "9999-12-31 23:59:59"), Overflow);
}

TEST(DateTimeText, WritesLocalTimeThatReadsBack)
{
    // The repeated hour in UTC, whatever the offset.
    if (summerTimeRulesFollowTz) {
        using namespace std::chrono;
        const TimeZone newfoundland{"NST3:30NDT,M3.2.0,M11.1.0"};
        const auto repeated = sys_days{2026y / November / 1} + 4h + 15min; // 01:45 NDT
        EXPECT_EQ(dateTimeText(repeated), "2026-11-01 04:15:00Z");
        EXPECT_EQ(dateTimeText(repeated + 1h), "2026-11-01 05:15:00Z");
        EXPECT_EQ(secondsBetween(dateTimeText(repeated), dateTimeText(repeated + 1h)), 3600);
        EXPECT_EQ(dateTimeText(repeated + 2h), "2026-11-01 02:45:00");
    }
    using namespace std::chrono;
    const TimeZone zone{centralEurope};
    const auto summer = sys_days{2026y / July / 1} + 7h + 8min + 9s + 999ms;
    EXPECT_EQ(dateTimeText(summer), "2026-07-01 09:08:09");
    const auto winter = sys_days{2026y / January / 1};
    EXPECT_EQ(secondsBetween(dateTimeText(winter), dateTimeText(summer)),
              duration_cast<seconds>(summer - winter).count());
}
