#include "results/CellFormat.h"

#include "kit/Strings.h"

#include <windows.h>

#include <cmath>
#include <limits>

namespace results {
namespace {

const std::wstring& ThousandSeparator() {
    static const std::wstring separator = [] {
        wchar_t text[8] = L"";
        if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, text, 8) == 0) return std::wstring(L",");
        return std::wstring(text);
    }();
    return separator;
}

std::uint64_t ToCount(long double value) {
    constexpr auto most = static_cast<long double>(std::numeric_limits<std::uint64_t>::max());
    if (!(value > 0)) return 0;
    if (value >= most) return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(value);
}

} // namespace

std::wstring GroupedNumber(std::uint64_t value) { return kit::GroupDigits(value, ThousandSeparator()); }

std::wstring SizeText(long double bytes) {
    // The ceiling is computed here rather than by switching the process to round-up mode, which would change
    // every other floating-point rounding in the program.
    if (bytes > 1023) return GroupedNumber(ToCount(std::ceil(bytes / 1024))) + L" KB";
    if (bytes > 0) return GroupedNumber(ToCount(std::ceil(bytes))) + L" Bytes";
    return L"0 Bytes";
}

std::wstring AttributeLetters(engine::TScanAttributes attributes) {
    static constexpr wchar_t letters[] = L"RHSDAWNTFPCOIEV";
    std::wstring text;
    for (int i = 0; i < engine::ScanAttributeCount; ++i)
        if (attributes.Contains(static_cast<engine::TScanAttribute>(i))) text += letters[i];
    return text;
}

} // namespace results
