#include "date_time.h"

#include "errors.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>

namespace wattmeter {

namespace {

struct Date {
    int year;
    int month;
    int day;
};

struct Stamp {
    std::optional<Date> date;
    int secondOfDay;
    std::optional<int> utcOffset; // in seconds, where the text names one
};

void appendPadded(std::string& out, int value, int width)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (auto length = end - digits; length < width; ++length)
        out += '0';
    out.append(digits, end);
}

// Reads fixed-width fields off the front of a text.
class Cursor {
public:
    explicit Cursor(std::string_view text) : rest_{text} {}

    std::optional<int> number(std::size_t width, int lowest, int highest)
    {
        if (rest_.size() < width)
            return std::nullopt;
        int value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            if (rest_[i] < '0' || rest_[i] > '9')
                return std::nullopt;
            value = value * 10 + (rest_[i] - '0');
        }
        if (value < lowest || value > highest)
            return std::nullopt;
        rest_.remove_prefix(width);
        return value;
    }

    // An hour as people write it, with one digit or two.
    std::optional<int> hour()
    {
        const bool twoDigits = rest_.size() >= 2 && rest_[1] >= '0' && rest_[1] <= '9';
        return number(twoDigits ? 2 : 1, 0, 23);
    }

    bool skip(char c)
    {
        if (rest_.empty() || rest_.front() != c)
            return false;
        rest_.remove_prefix(1);
        return true;
    }

    bool atEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

std::optional<Date> readDate(Cursor& cursor)
{
    const auto year = cursor.number(4, 1, 9999);
    if (!year || !cursor.skip('-'))
        return std::nullopt;
    const auto month = cursor.number(2, 1, 12);
    if (!month || !cursor.skip('-'))
        return std::nullopt;
    // The calendar's own rule, so that 2100-02-29 is no date.
    const auto day = cursor.number(2, 1, 31);
    if (!day ||
        !std::chrono::year_month_day{std::chrono::year{*year}, std::chrono::month(unsigned(*month)),
                                     std::chrono::day(unsigned(*day))}
             .ok())
        return std::nullopt;
    return Date{*year, *month, *day};
}

// ":NN", up to highest, where the text goes on with a colon; 0 where not.
std::optional<int> optionalPart(Cursor& cursor, int highest)
{
    if (!cursor.skip(':'))
        return 0;
    return cursor.number(2, 0, highest);
}

std::optional<int> readTime(Cursor& cursor)
{
    const auto hour = cursor.hour();
    if (!hour || !cursor.skip(':'))
        return std::nullopt;
    const auto minute = cursor.number(2, 0, 59);
    const auto second = optionalPart(cursor, 59);
    if (!minute || !second)
        return std::nullopt;
    return (*hour * 60 + *minute) * 60 + *second;
}

// "+HH" or "+HH:MM", "-" for zones west of Greenwich, or "Z" for UTC.
std::optional<int> readUtcOffset(Cursor& cursor)
{
    if (cursor.skip('Z'))
        return 0;
    const bool west = cursor.skip('-');
    if (!west && !cursor.skip('+'))
        return std::nullopt;
    const auto hours = cursor.number(2, 0, 14);
    const auto minutes = optionalPart(cursor, 59);
    if (!hours || !minutes)
        return std::nullopt;
    const int seconds = (*hours * 60 + *minutes) * 60;
    return west ? -seconds : seconds;
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<Stamp> readStamp(std::string_view text)
{
    const std::string_view stamp = trimmed(text);
    const bool hasDate = stamp.size() >= 5 && stamp[4] == '-';
    Cursor cursor{stamp};
    Stamp result{std::nullopt, 0, std::nullopt};
    if (hasDate) {
        result.date = readDate(cursor);
        if (!result.date)
            return std::nullopt;
        if (cursor.atEnd())
            return result;
        if (!cursor.skip(' ') && !cursor.skip('T'))
            return std::nullopt;
    }
    const auto time = readTime(cursor);
    if (!time)
        return std::nullopt;
    result.secondOfDay = *time;
    if (hasDate && !cursor.atEnd()) {
        cursor.skip(' ');
        result.utcOffset = readUtcOffset(cursor);
        if (!result.utcOffset)
            return std::nullopt;
    }
    if (!cursor.atEnd())
        return std::nullopt;
    return result;
}

Stamp readStampOrThrow(std::string_view text)
{
    auto stamp = readStamp(text);
    if (!stamp)
        throw TypeMismatch{quoted(text) + " is not a date and time"};
    return *stamp;
}

// The thread-safe local time of the C library has another name, and its
// arguments the other way round, on Windows.
bool toLocalTime(std::time_t seconds, std::tm& local)
{
#ifdef _WIN32
    return localtime_s(&local, &seconds) == 0;
#else
    return localtime_r(&seconds, &local) != nullptr;
#endif
}

// Seconds from 1970-01-01 00:00:00 to a date and time on the calendar, as
// if no clock were ever put forward or back.
std::int64_t calendarSeconds(const Date& date, int secondOfDay)
{
    using namespace std::chrono;
    const sys_days day{year{date.year} / date.month / date.day};
    return std::int64_t{day.time_since_epoch().count()} * 86400 + secondOfDay;
}

std::int64_t calendarSeconds(const std::tm& local)
{
    return calendarSeconds(Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                           (local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec);
}

// How far the local clock is ahead of UTC at an instant, where the C library
// can place it: on Windows only from 1970 to 3000.
std::optional<std::int64_t> utcOffsetAt(std::int64_t utc)
{
    std::tm local{};
    if (!toLocalTime(static_cast<std::time_t>(utc), local))
        return std::nullopt;
    return calendarSeconds(local) - utc;
}

// The instants at which the local clock showed a calendar time: two in the
// hour that is repeated when summer time ends, none in the hour skipped when
// it begins, one otherwise. Asked of the offsets a day either side, so that
// the answer never depends on an earlier question, as mktime's guess does.
struct Placement {
    std::optional<std::int64_t> earlier, later; // earlier is empty only in a skipped hour
    std::int64_t offsetBefore;
};

std::optional<Placement> placeLocal(std::int64_t calendar)
{
    const auto before = utcOffsetAt(calendar - 86400);
    const auto after = utcOffsetAt(calendar + 86400);
    if (!before || !after)
        return std::nullopt;
    Placement placement{std::nullopt, std::nullopt, *before};
    for (const std::int64_t offset : {std::max(*before, *after), std::min(*before, *after)}) {
        const std::int64_t utc = calendar - offset;
        const auto actual = utcOffsetAt(utc);
        if (!actual)
            return std::nullopt;
        if (*actual != offset || placement.earlier == utc)
            continue;
        (placement.earlier ? placement.later : placement.earlier) = utc;
    }
    return placement;
}

// The instant a stamp names: by its own offset where it gives one; in the
// repeated hour the earlier of the two; in the skipped hour as the clock
// before the change would have read it.
std::optional<std::int64_t> utcSeconds(const Date& date, const Stamp& stamp)
{
    const std::int64_t calendar = calendarSeconds(date, stamp.secondOfDay);
    if (stamp.utcOffset)
        return calendar - *stamp.utcOffset;
    const auto placement = placeLocal(calendar);
    if (!placement)
        return std::nullopt;
    return placement->earlier ? *placement->earlier : calendar - placement->offsetBefore;
}

// The real seconds between two local times, so that a change of the clock
// between them does not count. Where the C library cannot place one of them,
// the calendar's count stands.
std::int64_t localSecondsBetween(const Date& fromDate, const Stamp& from, const Date& toDate,
                                 const Stamp& to)
{
    const auto fromUtc = utcSeconds(fromDate, from);
    const auto toUtc = utcSeconds(toDate, to);
    if (fromUtc && toUtc)
        return *toUtc - *fromUtc;
    return calendarSeconds(toDate, to.secondOfDay) - calendarSeconds(fromDate, from.secondOfDay);
}

Date dateOf(std::chrono::sys_days day)
{
    const std::chrono::year_month_day date{day};
    return {int(date.year()), int(unsigned(date.month())), int(unsigned(date.day()))};
}

// The date on which a time alone names the instant nearest to another
// stamp's, as the local clock goes: the day before, the same day or the day
// after, on the local clock's date at that stamp; the same day where the two
// are as near. Where the C library cannot place them, the other's date.
Date nearestDate(const Stamp& timeAlone, const Date& otherDate, const Stamp& other)
{
    const auto instant = utcSeconds(otherDate, other);
    std::tm local{};
    if (!instant || !toLocalTime(static_cast<std::time_t>(*instant), local))
        return otherDate;
    using namespace std::chrono;
    const sys_days day{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday};
    Date nearest = dateOf(day);
    std::int64_t nearestGap = std::numeric_limits<std::int64_t>::max();
    for (const sys_days candidate : {day, day - days{1}, day + days{1}}) {
        const auto placed = utcSeconds(dateOf(candidate), timeAlone);
        if (const std::int64_t gap = placed ? std::abs(*placed - *instant) : nearestGap;
            gap < nearestGap) {
            nearest = dateOf(candidate);
            nearestGap = gap;
        }
    }
    return nearest;
}

void appendStamp(std::string& out, const Date& date, int secondOfDay)
{
    appendPadded(out, date.year, 4);
    out += '-';
    appendPadded(out, date.month, 2);
    out += '-';
    appendPadded(out, date.day, 2);
    out += ' ';
    appendPadded(out, secondOfDay / 3600, 2);
    out += ':';
    appendPadded(out, secondOfDay / 60 % 60, 2);
    out += ':';
    appendPadded(out, secondOfDay % 60, 2);
}

} // namespace

std::string dateTimeText(std::chrono::system_clock::time_point when)
{
    const std::time_t seconds =
        std::chrono::system_clock::to_time_t(std::chrono::floor<std::chrono::seconds>(when));
    std::tm local{};
    if (!toLocalTime(seconds, local))
        throw ClockOutOfRange{};
    std::string text;
    text.reserve(20);
    // A time the clock shows twice is written in UTC, "Z" after it, so that
    // it reads back as the instant it was: an offset, "+02:00", would make
    // a text longer than its field shows whole.
    const auto placement = placeLocal(calendarSeconds(local));
    if (placement && placement->later) {
        using namespace std::chrono;
        const sys_seconds utc{std::chrono::seconds{seconds}};
        appendStamp(text, dateOf(floor<days>(utc)),
                    static_cast<int>((utc - floor<days>(utc)).count()));
        text += 'Z';
        return text;
    }
    appendStamp(text, Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                (local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec);
    return text;
}

std::int32_t secondsBetween(std::string_view first, std::string_view second)
{
    const Stamp from = readStampOrThrow(first);
    const Stamp to = readStampOrThrow(second);
    std::int64_t seconds = to.secondOfDay - from.secondOfDay;
    if (from.date || to.date) {
        const Date fromDate = from.date ? *from.date : nearestDate(from, *to.date, to);
        const Date toDate = to.date ? *to.date : nearestDate(to, *from.date, from);
        seconds = localSecondsBetween(fromDate, from, toDate, to);
    }
    if (seconds < std::numeric_limits<std::int32_t>::min() ||
        seconds > std::numeric_limits<std::int32_t>::max())
        throw Overflow{"the seconds from " + quoted(first) + " to " + quoted(second) +
                       " are too many to count"};
    return static_cast<std::int32_t>(seconds);
}

} // namespace wattmeter
