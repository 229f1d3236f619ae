#include "core/date_time.h"

#include "core/errors.h"

#include <charconv>
#include <chrono>
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
};

void appendPadded(std::string& out, int value, int width)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (auto length = end - digits; length < width; ++length)
        out += '0';
    out.append(digits, end);
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
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
    const auto day = cursor.number(2, 1, daysInMonth(*year, *month));
    if (!day)
        return std::nullopt;
    return Date{*year, *month, *day};
}

std::optional<int> readTime(Cursor& cursor)
{
    const auto hour = cursor.number(2, 0, 23);
    if (!hour || !cursor.skip(':'))
        return std::nullopt;
    const auto minute = cursor.number(2, 0, 59);
    if (!minute)
        return std::nullopt;
    int second = 0;
    if (cursor.skip(':')) {
        const auto read = cursor.number(2, 0, 59);
        if (!read)
            return std::nullopt;
        second = *read;
    }
    return (*hour * 60 + *minute) * 60 + second;
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
    Stamp result{std::nullopt, 0};
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
    if (!time || !cursor.atEnd())
        return std::nullopt;
    result.secondOfDay = *time;
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

// The seconds from 1970-01-01 00:00:00 UTC to a local date and time, where
// the C library can place it in time: on Windows only from 1970 to 3000.
std::optional<std::int64_t> utcSeconds(const Date& date, int secondOfDay)
{
    std::tm fields{};
    fields.tm_year = date.year - 1900;
    fields.tm_mon = date.month - 1;
    fields.tm_mday = date.day;
    fields.tm_hour = secondOfDay / 3600;
    fields.tm_min = secondOfDay / 60 % 60;
    fields.tm_sec = secondOfDay % 60;
    fields.tm_isdst = -1; // let the time zone say whether summer time applies
    fields.tm_wday = -1;  // set by mktime only when it succeeds
    const std::time_t utc = std::mktime(&fields);
    if (fields.tm_wday < 0)
        return std::nullopt;
    return static_cast<std::int64_t>(utc);
}

// The real seconds between two local times, so that a change of the clock
// between them does not count. Where the C library cannot place one of them,
// the calendar's count stands.
std::int64_t localSecondsBetween(const Date& fromDate, int fromSecond, const Date& toDate,
                                 int toSecond)
{
    const auto from = utcSeconds(fromDate, fromSecond);
    const auto to = utcSeconds(toDate, toSecond);
    if (from && to)
        return *to - *from;
    return calendarSeconds(toDate, toSecond) - calendarSeconds(fromDate, fromSecond);
}

} // namespace

std::string dateTimeText(std::chrono::system_clock::time_point when)
{
    const std::time_t seconds =
        std::chrono::system_clock::to_time_t(std::chrono::floor<std::chrono::seconds>(when));
    std::tm local{};
    if (!toLocalTime(seconds, local))
        throw Overflow{"the clock's time cannot be shown as a date"};
    std::string text;
    text.reserve(19);
    appendPadded(text, local.tm_year + 1900, 4);
    text += '-';
    appendPadded(text, local.tm_mon + 1, 2);
    text += '-';
    appendPadded(text, local.tm_mday, 2);
    text += ' ';
    appendPadded(text, local.tm_hour, 2);
    text += ':';
    appendPadded(text, local.tm_min, 2);
    text += ':';
    appendPadded(text, local.tm_sec, 2);
    return text;
}

std::int32_t secondsBetween(std::string_view first, std::string_view second)
{
    const Stamp from = readStampOrThrow(first);
    const Stamp to = readStampOrThrow(second);
    std::int64_t seconds = to.secondOfDay - from.secondOfDay;
    if (from.date || to.date) {
        const Date& fromDate = from.date ? *from.date : *to.date;
        const Date& toDate = to.date ? *to.date : *from.date;
        seconds = localSecondsBetween(fromDate, from.secondOfDay, toDate, to.secondOfDay);
    }
    if (seconds < std::numeric_limits<std::int32_t>::min() ||
        seconds > std::numeric_limits<std::int32_t>::max())
        throw Overflow{"the seconds from " + quoted(first) + " to " + quoted(second) +
                       " are too many to count"};
    return static_cast<std::int32_t>(seconds);
}

} // namespace wattmeter
