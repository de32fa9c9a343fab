#pragma once
// Calendar arithmetic and stored texts of the date criteria. Date-times are days since 30 December 1899 with
// the time of day as the fraction, counted so that earlier is always smaller (the date part is the floor).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine::SearchParams {

// 1 January 0001 00:00 and 31 December 9999 23:59:59.999: the range a date criterion can hold.
inline constexpr double MinDateTime = -693593.0;
inline constexpr double MaxDateTime = 2958465.0 + 86399999.0 / 86400000.0;

double DatePart(double dateTime);
double TimePart(double dateTime);
// The date of `date` at the time of day of `time`.
double JoinDateTime(double date, double time);

// Moves back `months` calendar months (forward when negative), keeping the time of day and clipping the day
// to the last day of the month reached; a result outside the range gives the range's end.
double MonthsBack(double dateTime, std::int64_t months);
// `dateTime` minus `count` units of `unitDays` days each, kept inside the range.
double PeriodBack(double dateTime, std::int64_t count, double unitDays);

// The stored forms, the same whatever the regional settings: "yyyy-mm-dd" and "hh:nn:ss" (24 hours).
std::wstring DateToStoredText(double dateTime);
std::wstring TimeToStoredText(double dateTime);

// Reads a stored date: the stored form, or a date in the numeric short date format `picture` (as "d/M/yyyy",
// "dd.MM.yy"), which older files used. Two-digit years fall within 50 years before `now`'s year and 49 after.
// None when the text is neither.
std::optional<double> ParseStoredDate(std::wstring_view text, std::wstring_view picture, double now);
// Reads a stored time: "h:m[:s[.z]]" with any of ":" "." as separator, 24-hour or with an AM/PM designator
// (the locale's own or "AM"/"PM"), so older files written in the long time format still read. Date part 0.
std::optional<double> ParseStoredTime(std::wstring_view text);

// The user's short date format (as "M/d/yyyy").
std::wstring UserShortDateFormat();

} // namespace engine::SearchParams
