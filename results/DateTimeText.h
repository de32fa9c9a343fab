#pragma once
// The texts of the program's date-times (engine/DateTimes.h holds the calendar).
#include <string>

namespace results {

// The cell text of a date: the walker's marker values for failed conversions by their names, else the locale's
// short date, a blank and the long time, the time left out at midnight. Empty when the value cannot be shown.
std::wstring FormatRowDate(double value);

// yyyymmdd, then Thh:nn:ss and the milliseconds unless the time is midnight. Empty for a value that cannot be decoded.
std::wstring XmlDateText(double value);

} // namespace results
