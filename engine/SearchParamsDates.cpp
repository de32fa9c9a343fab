#include "engine/SearchParamsDates.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <vector>

#include "engine/DateTimes.h"
#include "kit/Strings.h"

namespace engine::SearchParams {
namespace {

TCivilDate DecodeDate(double dateTime) { return CivilFromDays(static_cast<long long>(std::floor(dateTime))); }

// Only for dates that pass IsValidDate.
double EncodeDate(long long year, long long month, long long day) {
    return static_cast<double>(DaysFromCivil(year, static_cast<int>(month), static_cast<int>(day)));
}

double Clamp(double dateTime) { return std::clamp(dateTime, MinDateTime, MaxDateTime); }

// The digit runs of a text whose other characters are separators; none when a letter is present.
std::optional<std::vector<std::wstring>> NumberTokens(std::wstring_view text) {
    std::vector<std::wstring> tokens;
    bool inNumber = false;
    for (wchar_t c : text) {
        if (c >= L'0' && c <= L'9') {
            if (!inNumber) tokens.emplace_back();
            tokens.back() += c;
            inNumber = true;
        } else {
            if (std::iswalpha(c)) return std::nullopt;
            inNumber = false;
        }
    }
    return tokens;
}

long long TokenValue(const std::wstring& token) {
    // Anything longer than a year's digits is no date or time part; keep it out of the valid range.
    return token.size() > 6 ? 1000000 : std::stoll(token);
}

// The order of day, month and year in a date picture, as the letters 'd', 'M', 'y'; quoted literals skipped.
std::wstring FieldOrder(std::wstring_view picture) {
    std::wstring order;
    bool quoted = false;
    for (wchar_t c : picture) {
        if (c == L'\'') quoted = !quoted;
        else if (!quoted && (c == L'd' || c == L'M' || c == L'y') && order.find(c) == std::wstring::npos)
            order += c;
    }
    return order;
}

std::optional<double> ParseIsoDate(std::wstring_view text) {
    if (text.size() != 10 || text[4] != L'-' || text[7] != L'-') return std::nullopt;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    const std::wstring digits(text);
    const long long year = std::stoll(digits.substr(0, 4));
    const long long month = std::stoll(digits.substr(5, 2));
    const long long day = std::stoll(digits.substr(8, 2));
    if (!IsValidDate(year, month, day)) return std::nullopt;
    return EncodeDate(year, month, day);
}

std::wstring LocaleText(LCTYPE type) {
    wchar_t buffer[128] = {};
    if (!GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer)))) return {};
    return buffer;
}

// Removes a leading or trailing designator from `text`; true when one was found.
bool TakeDesignator(std::wstring& text, const std::wstring& designator) {
    if (designator.empty() || text.size() < designator.size()) return false;
    if (kit::SameText(std::wstring_view(text).substr(text.size() - designator.size()), designator)) {
        text = kit::Trim(std::wstring_view(text).substr(0, text.size() - designator.size()));
        return true;
    }
    if (kit::SameText(std::wstring_view(text).substr(0, designator.size()), designator)) {
        text = kit::Trim(std::wstring_view(text).substr(designator.size()));
        return true;
    }
    return false;
}

} // namespace

double DatePart(double dateTime) { return std::floor(dateTime); }

double TimePart(double dateTime) { return dateTime - std::floor(dateTime); }

double JoinDateTime(double date, double time) { return DatePart(date) + TimePart(time); }

double MonthsBack(double dateTime, std::int64_t months) {
    const TCivilDate date = DecodeDate(dateTime);
    const long long index = date.Year * 12 + (date.Month - 1) - months;
    const long long year = index >= 0 ? index / 12 : (index - 11) / 12;
    const int month = static_cast<int>(index - year * 12) + 1;
    if (year < 1) return MinDateTime;
    if (year > 9999) return MaxDateTime;
    return EncodeDate(year, month, std::min(date.Day, DaysInMonth(year, month))) + TimePart(dateTime);
}

double PeriodBack(double dateTime, std::int64_t count, double unitDays) {
    return Clamp(dateTime - static_cast<double>(count) * unitDays);
}

std::wstring DateToStoredText(double dateTime) {
    const TCivilDate date = DecodeDate(dateTime);
    return kit::Format(L"%04lld-%02d-%02d", date.Year, date.Month, date.Day);
}

std::wstring TimeToStoredText(double dateTime) {
    const long long milliseconds =
        std::min(std::llround(TimePart(dateTime) * MillisecondsPerDay), MillisecondsPerDay - 1);
    const long long seconds = milliseconds / 1000;
    return kit::Format(L"%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

std::optional<double> ParseStoredDate(std::wstring_view text, std::wstring_view picture, double now) {
    const std::wstring trimmed = kit::Trim(text);
    if (const auto iso = ParseIsoDate(trimmed)) return iso;

    const std::wstring order = FieldOrder(picture);
    const auto tokens = NumberTokens(trimmed);
    if (order.size() != 3 || !tokens || tokens->size() != 3) return std::nullopt;
    long long day = 0, month = 0, year = 0;
    std::size_t yearDigits = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const long long value = TokenValue((*tokens)[i]);
        if (order[i] == L'd') day = value;
        else if (order[i] == L'M') month = value;
        else {
            year = value;
            yearDigits = (*tokens)[i].size();
        }
    }
    if (yearDigits <= 2) {
        const long long centuryBase = DecodeDate(now).Year - 50;
        year += centuryBase / 100 * 100;
        if (year < centuryBase) year += 100;
    }
    if (!IsValidDate(year, month, day)) return std::nullopt;
    return EncodeDate(year, month, day);
}

std::optional<double> ParseStoredTime(std::wstring_view text) {
    std::wstring rest = kit::Trim(text);
    int designator = 0;  // 1 before noon, 2 after
    for (const std::wstring& am : {LocaleText(LOCALE_S1159), std::wstring(L"AM")})
        if (!designator && TakeDesignator(rest, am)) designator = 1;
    for (const std::wstring& pm : {LocaleText(LOCALE_S2359), std::wstring(L"PM")})
        if (!designator && TakeDesignator(rest, pm)) designator = 2;

    const auto tokens = NumberTokens(rest);
    if (!tokens || tokens->size() < 2 || tokens->size() > 4) return std::nullopt;
    long long parts[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < tokens->size(); ++i) parts[i] = TokenValue((*tokens)[i]);
    long long hour = parts[0];
    if (designator) {
        if (hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (designator == 2 ? 12 : 0);
    }
    if (hour > 23 || parts[1] > 59 || parts[2] > 59 || parts[3] > 999) return std::nullopt;
    const long long milliseconds = ((hour * 60 + parts[1]) * 60 + parts[2]) * 1000 + parts[3];
    return static_cast<double>(milliseconds) / MillisecondsPerDay;
}

std::wstring UserShortDateFormat() { return LocaleText(LOCALE_SSHORTDATE); }

} // namespace engine::SearchParams
