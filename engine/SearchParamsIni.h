#pragma once
// How the criteria parts store a chosen enumeration value: by identifier name under "Selected", in a
// section of its own.
#include "engine/UKvrTYPEFile.h"
#include "store/MemIniFileUnicode.h"

#include <array>
#include <string>
#include <vector>

namespace engine::SearchParams {

inline constexpr const wchar_t* SelectedKey = L"Selected";

// A missing key or a name that is no identifier of E gives `fallback`.
template <typename E>
E ReadSelected(const store::TMemIniFileUnicode& ini, const std::wstring& section, E fallback) {
    return IdentifierValue<E>(ini.ReadString(section, SelectedKey, L"")).value_or(fallback);
}

// Erases the section, then writes the value's name as its one key.
template <typename E>
void WriteSelected(store::TMemIniFileUnicode& ini, const std::wstring& section, E value) {
    ini.EraseSection(section);
    ini.WriteString(section, SelectedKey, IdentifierName(value));
}

// A choice list's items from a caption table.
template <std::size_t N>
std::vector<std::wstring> CaptionList(const std::array<const wchar_t*, N>& captions) {
    return {captions.begin(), captions.end()};
}

} // namespace engine::SearchParams
