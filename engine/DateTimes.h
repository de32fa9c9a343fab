#pragma once
// Date-times as the program keeps them: days since 30 December 1899, the time of day as the fraction.
#include <windows.h>

namespace engine {

// Days plus the time of day; monotonic, so earlier is always smaller (also before 1899).
double SystemTimeToDateTime(const SYSTEMTIME& time);

// A file time in local time. A zero file time and failed conversions give fixed marker times on
// 30 December 1899 (02:02:02.002 for zero, 04:04:04.004 when the local conversion fails, 06:06:06.006 when
// the calendar conversion fails), which later tests treat as ordinary times.
double FileTimeToDateTime(const FILETIME& time);

} // namespace engine
