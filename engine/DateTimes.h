#pragma once
// Date-times as the program keeps them: days since 30 December 1899, the time of day as the fraction. The day is
// the floor, so a value before 1899 is its day (negative) plus a forward-running time of day, and earlier is always
// smaller. The one calendar of the program: the criteria, the result cells and the exports all use it.
#include <windows.h>

#include <optional>

namespace engine {

struct TDateTimeParts {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

struct TCivilDate {
    long long Year;
    int Month;
    int Day;
};

inline constexpr long long MillisecondsPerDay = 86400000;
// 1 January 0001 and 31 December 9999 as day numbers: the years a date-time can be decoded in.
inline constexpr long long FirstDay = -693593;
inline constexpr long long LastDay = 2958465;

// The day number of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long year, int month, int day);
TCivilDate CivilFromDays(long long days);

int DaysInMonth(long long year, int month);
// A date of the years 1 to 9999.
bool IsValidDate(long long year, long long month, long long day);

double EncodeDateTime(const TDateTimeParts& parts);
// Splits a date-time to the millisecond (a time that rounds to the next day moves into it); none for a value that
// is not a number or lies outside the years 1 to 9999.
std::optional<TDateTimeParts> DecodeDateTime(double value);

double SystemTimeToDateTime(const SYSTEMTIME& time);

// A file time in local time. A zero file time and failed conversions give fixed marker times on
// 30 December 1899 (02:02:02.002 for zero, 04:04:04.004 when the local conversion fails, 06:06:06.006 when
// the calendar conversion fails), which later tests treat as ordinary times.
double FileTimeToDateTime(const FILETIME& time);

// FileTimeToDateTime for many file times, such as one folder's listing: the offset of local time is read once,
// when the converter is made, rather than at every time (under Wine each reading is a call into the system).
class TFileTimeConverter {
public:
    TFileTimeConverter();
    double ToDateTime(const FILETIME& time) const;

private:
    bool local_ = false;    // the offset could be read
    ULONGLONG offset_ = 0;  // UTC minus local time, in 100-nanosecond steps (modulo 2^64)
};

} // namespace engine
