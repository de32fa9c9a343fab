#include "engine/DateTimes.h"

#include <cmath>

namespace engine {
namespace {

constexpr long long EpochDays = 25569;  // 30 December 1899 to 1 January 1970

bool IsLeapYear(long long year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

double Marker(int unit) {  // unit:unit:unit.00unit on 30 December 1899
    return (unit * 3600.0 + unit * 60.0 + unit + unit / 1000.0) / 86400.0;
}

} // namespace

// Hinnant's civil calendar algorithms, which count from 1 January 1970.
long long DaysFromCivil(long long year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 + EpochDays;
}

TCivilDate CivilFromDays(long long days) {
    days += 719468 - EpochDays;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shifted = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    const int month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    return {yearOfEra + era * 400 + (month <= 2), month, day};
}

int DaysInMonth(long long year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(long long year, long long month, long long day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, static_cast<int>(month));
}

double EncodeDateTime(const TDateTimeParts& p) {
    const long long milliseconds = ((p.Hour * 60LL + p.Minute) * 60 + p.Second) * 1000 + p.Millisecond;
    return static_cast<double>(DaysFromCivil(p.Year, p.Month, p.Day)) +
           static_cast<double>(milliseconds) / static_cast<double>(MillisecondsPerDay);
}

std::optional<TDateTimeParts> DecodeDateTime(double value) {
    if (!std::isfinite(value) || value < static_cast<double>(FirstDay - 1) ||
        value >= static_cast<double>(LastDay + 1))
        return std::nullopt;
    const double whole = std::floor(value);
    auto day = static_cast<long long>(whole);
    // llround rounds halves away from zero whatever the process rounding mode.
    long long ms = std::llround((value - whole) * static_cast<double>(MillisecondsPerDay));
    if (ms >= MillisecondsPerDay) {
        ms -= MillisecondsPerDay;
        ++day;
    }
    if (day < FirstDay || day > LastDay) return std::nullopt;
    const TCivilDate date = CivilFromDays(day);
    TDateTimeParts p;
    p.Year = static_cast<int>(date.Year);
    p.Month = date.Month;
    p.Day = date.Day;
    p.Hour = static_cast<int>(ms / 3600000);
    p.Minute = static_cast<int>(ms / 60000 % 60);
    p.Second = static_cast<int>(ms / 1000 % 60);
    p.Millisecond = static_cast<int>(ms % 1000);
    return p;
}

double SystemTimeToDateTime(const SYSTEMTIME& time) {
    return EncodeDateTime({time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond,
                           time.wMilliseconds});
}

namespace {

ULONGLONG Ticks(const FILETIME& time) { return ULONGLONG{time.dwHighDateTime} << 32 | time.dwLowDateTime; }

FILETIME FromTicks(ULONGLONG ticks) {
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

} // namespace

TFileTimeConverter::TFileTimeConverter() {
    // The offset the system applies now, read from one time: it is the same for every time.
    const FILETIME probe = FromTicks(0x01D0000000000000);  // in 2015
    FILETIME local;
    local_ = FileTimeToLocalFileTime(&probe, &local) != FALSE;
    if (local_) offset_ = Ticks(probe) - Ticks(local);
}

double TFileTimeConverter::ToDateTime(const FILETIME& time) const {
    if (time.dwLowDateTime == 0 && time.dwHighDateTime == 0) return Marker(2);
    if (!local_) return Marker(4);
    const FILETIME local = FromTicks(Ticks(time) - offset_);
    SYSTEMTIME calendar;
    if (!FileTimeToSystemTime(&local, &calendar)) return Marker(6);
    return SystemTimeToDateTime(calendar);
}

double FileTimeToDateTime(const FILETIME& time) { return TFileTimeConverter().ToDateTime(time); }

} // namespace engine
