#pragma once
// The program's date-times: local time as a day count from 30 December 1899, the time of day as the fraction
// (a negative value counts days backwards, its fraction still runs forwards through the day).
#include <optional>
#include <string>

namespace results {

struct TDateTimeParts {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// Splits a date-time to the millisecond; none for a value that is not a number or lies outside the years 1 to 9999.
std::optional<TDateTimeParts> DecodeDateTime(double value);
double EncodeDateTime(const TDateTimeParts& parts);

// The cell text of a date: the walker's marker values for failed conversions by their names, else the locale's
// short date, a blank and the long time, the time left out at midnight. Empty when the value cannot be shown.
std::wstring FormatRowDate(double value);

// yyyymmdd, then Thh:nn:ss and the milliseconds unless the time is midnight. Empty for a value that cannot be decoded.
std::wstring XmlDateText(double value);

} // namespace results
