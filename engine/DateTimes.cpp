#include "engine/DateTimes.h"

namespace engine {
namespace {

// Days from 1 January 1970 of a proleptic Gregorian date.
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

constexpr long long EpochDays = 25569;  // 30 December 1899 to 1 January 1970

double Marker(int unit) {  // unit:unit:unit.00unit on 30 December 1899
    return (unit * 3600.0 + unit * 60.0 + unit + unit / 1000.0) / 86400.0;
}

} // namespace

double SystemTimeToDateTime(const SYSTEMTIME& time) {
    const long long days = DaysFromCivil(time.wYear, time.wMonth, time.wDay) + EpochDays;
    const double milliseconds =
        ((time.wHour * 60.0 + time.wMinute) * 60.0 + time.wSecond) * 1000.0 + time.wMilliseconds;
    return static_cast<double>(days) + milliseconds / 86400000.0;
}

double FileTimeToDateTime(const FILETIME& time) {
    if (time.dwLowDateTime == 0 && time.dwHighDateTime == 0) return Marker(2);
    FILETIME local;
    if (!FileTimeToLocalFileTime(&time, &local)) return Marker(4);
    SYSTEMTIME calendar;
    if (!FileTimeToSystemTime(&local, &calendar)) return Marker(6);
    return SystemTimeToDateTime(calendar);
}

} // namespace engine
