#include "app/ApplicationItems.h"

#include <algorithm>
#include <map>
#include <optional>

#include "kit/Strings.h"
#include "store/SettingsFile.h"

namespace app {
namespace {

// The number of a key "Number<n>" as its writer spells it: decimal without leading zeros.
std::optional<int> ItemNumber(std::wstring_view key) {
    constexpr std::wstring_view prefix = L"Number";
    if (key.size() <= prefix.size() || !kit::SameText(key.substr(0, prefix.size()), prefix)) return std::nullopt;
    const std::wstring_view digits = key.substr(prefix.size());
    if (digits.size() > 10 || (digits.size() > 1 && digits[0] == L'0')) return std::nullopt;
    long long number = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        number = number * 10 + (c - L'0');
    }
    if (number > 2147483647LL) return std::nullopt;
    return static_cast<int>(number);
}

} // namespace

bool IsBlankText(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c == L' '; });
}

bool IsQuotedBlankText(std::wstring_view text) {
    return text.size() > 2 && text.front() == L'"' && text.back() == L'"' &&
           IsBlankText(text.substr(1, text.size() - 2));
}

TMRUItems::TMRUItems(std::wstring section) : section_(std::move(section)) { ResetCounters(); }

void TMRUItems::ResetCounters() {
    StoredCount = 0;
    Fixed = 0;
}

void TMRUItems::LoadFrom(const store::TMemIniFileUnicode& ini) {
    StoredCount = ini.ReadInteger(section_, L"Count", 0);
    Fixed = ini.ReadInteger(section_, L"Fixed", 0);
    Items.clear();
    // Only the keys present are visited: a damaged "Count" of two billion must not stall the start.
    // The first line of a number wins, as a lookup by key would find it.
    std::map<int, std::wstring> numbered;
    for (const auto& line : ini.ReadSectionValues(section_)) {
        const size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) continue;
        const auto number = ItemNumber(std::wstring_view(line).substr(0, equals));
        if (number && *number < StoredCount) numbered.emplace(*number, line.substr(equals + 1));
    }
    for (auto& [number, value] : numbered) {
        if (value.empty()) continue;
        if (IsQuotedBlankText(value)) std::erase(value, L'"');
        Items.push_back(std::move(value));
    }
}

void TMRUItems::SaveTo(store::TMemIniFileUnicode& ini) const {
    ini.EraseSection(section_);
    int n = 0;
    for (const auto& item : Items) {
        if (item.empty()) continue;
        ini.WriteString(section_, L"Number" + std::to_wstring(n++), IsBlankText(item) ? L"\"" + item + L"\"" : item);
    }
    ini.WriteInteger(section_, L"Count", n);
    ini.WriteInteger(section_, L"Fixed", Fixed);
}

TModeItems::TModeItems(std::wstring section, std::span<const wchar_t* const> modeSections, int sessionOnlyMode)
    : section_(std::move(section)), sessionOnlyMode_(sessionOnlyMode) {
    for (const wchar_t* suffix : modeSections) lists_.emplace_back(section_ + suffix);
}

void TModeItems::LoadFrom(const store::TMemIniFileUnicode& ini) {
    for (size_t mode = 0; mode < lists_.size(); ++mode)
        if (static_cast<int>(mode) != sessionOnlyMode_) lists_[mode].LoadFrom(ini);
}

void TModeItems::SaveTo(store::TMemIniFileUnicode& ini) const {
    ini.EraseSection(section_);
    for (size_t mode = 0; mode < lists_.size(); ++mode)
        if (static_cast<int>(mode) != sessionOnlyMode_) lists_[mode].SaveTo(ini);
}

TItemsFileMask::TItemsFileMask(const std::wstring& owner)
    : TModeItems(owner + L"/Files/FileMask", engine::NameMaskTypeSections, -1) {}

TItemsSearchText::TItemsSearchText(const std::wstring& owner)
    : TModeItems(owner + L"/Text/TextMask", engine::TextMaskTypeSections, engine::tmBinaryCode) {}

TItemsSearchFolders::TItemsSearchFolders(const std::wstring& owner)
    : FolderValue(owner + L"/Folders/FolderValue"), section_(owner + L"/Folders") {}

TApplicationMRUItems::TApplicationMRUItems(std::wstring fileName, const std::wstring& prefix)
    : FileMask(prefix + L"/Items"),
      SearchText(prefix + L"/Items"),
      SearchFolders(prefix + L"/Items"),
      fileName_(std::move(fileName)),
      section_(prefix + L"/Items") {}

void TApplicationMRUItems::Load(const TOptionsSearchItems& options) {
    if (!options.Load) return;
    store::LoadSettingsFile(fileName_, [&](const store::TMemIniFileUnicode& ini) {
        if (options.FileNameLoad) FileMask.LoadFrom(ini);
        if (options.SearchPathLoad) SearchFolders.LoadFrom(ini);
        if (options.SearchTextLoad) SearchText.LoadFrom(ini);
    });
}

void TApplicationMRUItems::Save(const TOptionsSearchItems& options) const {
    store::SaveSettingsFile(fileName_, [&](store::TMemIniFileUnicode& ini) {
        if (!options.Save) return;
        if (options.FileNameSave) FileMask.SaveTo(ini);
        if (options.SearchPathSave) SearchFolders.SaveTo(ini);
        if (options.SearchTextSave) SearchText.SaveTo(ini);
    });
}

} // namespace app
