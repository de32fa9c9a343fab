#include "results/DateTimeText.h"

#include <windows.h>

#include "engine/DateTimes.h"

namespace results {
namespace {

using engine::DecodeDateTime;
using engine::TDateTimeParts;

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
