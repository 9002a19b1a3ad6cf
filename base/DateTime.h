#pragma once
// Date-time values: days since 30 December 1899 as a double, the time of day
// as the fraction; local time unless a caller says otherwise.

namespace orbelin {

using TDateTime = double;

struct TDateParts {
    int Year = 1899, Month = 12, Day = 30;
};

struct TTimeParts {
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

bool IsLeapYear(int year) noexcept;
int DaysInMonth(int year, int month) noexcept;
// False when the parts are out of range.
bool TryEncodeDate(int year, int month, int day, TDateTime& out) noexcept;
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& out) noexcept;
TDateTime EncodeDate(int year, int month, int day); // raises EConvertError
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
TDateParts DecodeDate(TDateTime value) noexcept;
TTimeParts DecodeTime(TDateTime value) noexcept;
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value) noexcept;

TDateTime Now(); // local time

} // namespace orbelin
