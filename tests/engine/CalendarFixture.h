#pragma once
// Date-times for fixtures, from the calendar.
#include <windows.h>

#include "engine/DateTimes.h"

namespace testsupport {

inline double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    return engine::SystemTimeToDateTime(time);
}

// Within a millisecond.
inline constexpr double DateTimeTolerance = 1.0 / 86400000;

} // namespace testsupport
