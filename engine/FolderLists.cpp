#include "engine/FolderLists.h"

#include "kit/Strings.h"

namespace engine {
namespace {

// The entries as they are held; false when that is what `held` already is.
bool Replace(std::vector<std::wstring>& held, const std::vector<std::wstring>& entries) {
    std::vector<std::wstring> delimited;
    delimited.reserve(entries.size());
    for (const std::wstring& entry : entries) delimited.push_back(kit::IncludeTrailingPathDelimiter(entry));
    if (delimited == held) return false;
    held = std::move(delimited);
    return true;
}

} // namespace

void TFolderList::Assign(const std::vector<std::wstring>& entries) {
    if (!Replace(items_, entries)) return;
    keys_.clear();
    for (const std::wstring& item : items_) keys_.insert(kit::UpperCase(item));
}

bool TFolderList::Contains(std::wstring_view folder) const {
    return !keys_.empty() && keys_.count(kit::UpperCase(folder)) != 0;
}

void TFolderWildcards::Assign(const std::vector<std::wstring>& entries) {
    if (!Replace(items_, entries)) return;
    masks_.reset();
    std::wstring joined;
    for (const std::wstring& item : items_) joined += (joined.empty() ? L"" : L"|") + item;
    if (!joined.empty()) masks_ = std::make_unique<TMultiMasks>(joined, true, SeparatorMode::BarOnly);
}

bool TFolderWildcards::Matches(std::wstring_view folder) const { return masks_ && masks_->Matches(folder); }

} // namespace engine
