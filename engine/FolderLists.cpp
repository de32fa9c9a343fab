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
    std::vector<std::wstring> items = items_;
    if (!Replace(items, entries)) return;
    // Compiled before anything is kept: a mask that does not compile leaves the old lists, so the same
    // entries are compiled (and refused) again instead of silently matching every folder.
    std::wstring joined;
    for (const std::wstring& item : items) joined += (joined.empty() ? L"" : L"|") + item;
    std::unique_ptr<TMultiMasks> masks;
    if (!joined.empty()) masks = std::make_unique<TMultiMasks>(joined, true, SeparatorMode::BarOnly);
    items_ = std::move(items);
    masks_ = std::move(masks);
}

bool TFolderWildcards::Matches(std::wstring_view folder) const { return masks_ && masks_->Matches(folder); }

} // namespace engine
