#include "base/DateTime.h"

#include "base/Exceptions.h"

#include <cmath>
#include <cstdint>

namespace orbelin {

namespace {
constexpr int kDaysTo1899 = 693594; // days from 0001-01-01 to 1899-12-30
constexpr double kMsPerDay = 86400000.0;

int64_t DaysBeforeYear(int year) noexcept
{
    const int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}
} // namespace

bool IsLeapYear(int year) noexcept { return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) noexcept
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + ((month == 2 && IsLeapYear(year)) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) noexcept
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    int64_t days = DaysBeforeYear(year);
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    days += day; // 0001-01-01 counts as day 1, so 1899-12-30 encodes as 0
    out = static_cast<double>(days - kDaysTo1899);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& out) noexcept
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        return false;
    out = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / kMsPerDay;
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime v = 0;
    if (!TryEncodeDate(year, month, day, v))
        throw EConvertError("Invalid argument to date encode");
    return v;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    TDateTime v = 0;
    if (!TryEncodeTime(hour, minute, second, millisecond, v))
        throw EConvertError("Invalid argument to time encode");
    return v;
}

TDateParts DecodeDate(TDateTime value) noexcept
{
    int64_t days = static_cast<int64_t>(std::floor(value)) + kDaysTo1899 - 1; // days since 0001-01-01
    TDateParts parts;
    if (days < 0 || days > 3652058)
        return parts;
    int year = static_cast<int>(days / 366) + 1;
    while (DaysBeforeYear(year + 1) <= days)
        ++year;
    days -= DaysBeforeYear(year);
    int month = 1;
    while (days >= DaysInMonth(year, month)) {
        days -= DaysInMonth(year, month);
        ++month;
    }
    parts.Year = year;
    parts.Month = month;
    parts.Day = static_cast<int>(days) + 1;
    return parts;
}

TTimeParts DecodeTime(TDateTime value) noexcept
{
    const double frac = value - std::floor(value);
    int64_t ms = static_cast<int64_t>(std::llround(frac * kMsPerDay));
    if (ms >= 86400000)
        ms = 86399999;
    TTimeParts t;
    t.Millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    t.Second = static_cast<int>(ms % 60);
    ms /= 60;
    t.Minute = static_cast<int>(ms % 60);
    t.Hour = static_cast<int>(ms / 60);
    return t;
}

int DayOfWeek(TDateTime value) noexcept
{
    // 1899-12-30 was a Saturday.
    const int64_t d = static_cast<int64_t>(std::floor(value));
    return static_cast<int>(((d % 7) + 7 + 6) % 7) + 1;
}

} // namespace orbelin
