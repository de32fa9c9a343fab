#pragma once
// Date-times for fixtures, from the calendar.
#include "engine/DateTimes.h"

namespace testsupport {

inline double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return engine::EncodeDateTime({year, month, day, hour, minute, second, 0});
}

// Within a millisecond.
inline constexpr double DateTimeTolerance = 1.0 / 86400000;

} // namespace testsupport
