#include "results/CellFormat.h"

#include "kit/Strings.h"

#include <windows.h>

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

} // namespace

std::wstring GroupedNumber(std::uint64_t value) { return kit::GroupDigits(value, ThousandSeparator()); }

std::wstring SizeText(std::uint64_t bytes) {
    if (bytes > 1023) return GroupedNumber(bytes / 1024 + (bytes % 1024 != 0)) + L" KB";
    if (bytes > 0) return GroupedNumber(bytes) + L" Bytes";
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
