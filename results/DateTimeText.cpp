#include "results/DateTimeText.h"

#include <windows.h>

#include <cmath>
#include <cstdint>

namespace results {
namespace {

constexpr std::int64_t kMsPerDay = 86400000;
constexpr std::int64_t kUnixEpochDay = 25569;  // 1 January 1970
constexpr std::int64_t kFirstDay = -693593;    // 1 January 0001
constexpr std::int64_t kLastDay = 2958465;     // 31 December 9999

// Days since 1 January 1970 from a proleptic Gregorian date, and back (Hinnant's civil calendar algorithms).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

const wchar_t* MarkerText(const TDateTimeParts& p) {
    if (p.Year != 1899 || p.Month != 12 || p.Day != 30) return nullptr;
    const int v = p.Hour;
    if (p.Minute != v || p.Second != v || p.Millisecond != v) return nullptr;
    switch (v) {
    case 2: return L"INVALID DATE (FT)";
    case 4: return L"INVALID DATE (FTTLFT)";
    case 6: return L"INVALID DATE (FTTST)";
    case 8: return L"INVALID DATE (STTDT)";
    default: return nullptr;
    }
}

bool IsMidnight(const TDateTimeParts& p) {
    return p.Hour == 0 && p.Minute == 0 && p.Second == 0 && p.Millisecond == 0;
}

std::wstring ZeroPadded(int value, size_t length) {
    std::wstring text = std::to_wstring(value);
    if (text.size() < length) text.insert(0, length - text.size(), L'0');
    return text;
}

} // namespace

std::optional<TDateTimeParts> DecodeDateTime(double value) {
    if (!std::isfinite(value) || value <= static_cast<double>(kFirstDay - 1) ||
        value >= static_cast<double>(kLastDay + 1))
        return std::nullopt;
    double whole = 0;
    const double fraction = std::modf(value, &whole);
    // llround rounds halves away from zero whatever the process rounding mode.
    std::int64_t ms = std::llround(std::fabs(fraction) * static_cast<double>(kMsPerDay));
    auto day = static_cast<std::int64_t>(whole);
    if (ms >= kMsPerDay) {  // rounds up into the next day
        ms -= kMsPerDay;
        ++day;
    }
    if (day > kLastDay) return std::nullopt;
    TDateTimeParts p;
    CivilFromDays(day - kUnixEpochDay, p.Year, p.Month, p.Day);
    p.Hour = static_cast<int>(ms / 3600000);
    p.Minute = static_cast<int>(ms / 60000 % 60);
    p.Second = static_cast<int>(ms / 1000 % 60);
    p.Millisecond = static_cast<int>(ms % 1000);
    return p;
}

double EncodeDateTime(const TDateTimeParts& p) {
    const std::int64_t day = DaysFromCivil(p.Year, static_cast<unsigned>(p.Month), static_cast<unsigned>(p.Day)) +
                             kUnixEpochDay;
    const double time = static_cast<double>(((p.Hour * 60 + p.Minute) * 60 + p.Second) * 1000 + p.Millisecond) /
                        static_cast<double>(kMsPerDay);
    return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

std::wstring FormatRowDate(double value) {
    const auto parts = DecodeDateTime(value);
    if (!parts) return {};
    if (const wchar_t* marker = MarkerText(*parts)) return marker;
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(parts->Year);
    st.wMonth = static_cast<WORD>(parts->Month);
    st.wDay = static_cast<WORD>(parts->Day);
    st.wHour = static_cast<WORD>(parts->Hour);
    st.wMinute = static_cast<WORD>(parts->Minute);
    st.wSecond = static_cast<WORD>(parts->Second);
    st.wMilliseconds = static_cast<WORD>(parts->Millisecond);
    wchar_t date[128];
    // The locale calls take no year before 1601; file times never carry one.
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128) == 0) return {};
    std::wstring text = date;
    if (IsMidnight(*parts)) return text;
    wchar_t time[128];
    if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 128) == 0) return text;
    return text + L" " + time;
}

std::wstring XmlDateText(double value) {
    const auto p = DecodeDateTime(value);
    if (!p) return {};
    std::wstring text = ZeroPadded(p->Year, 4) + ZeroPadded(p->Month, 2) + ZeroPadded(p->Day, 2);
    if (IsMidnight(*p)) return text;
    return text + L"T" + ZeroPadded(p->Hour, 2) + L":" + ZeroPadded(p->Minute, 2) + L":" + ZeroPadded(p->Second, 2) +
           ZeroPadded(p->Millisecond, 3);
}

} // namespace results
