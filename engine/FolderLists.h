#pragma once
// The walker's folder restrictions: plain folder paths looked up without regard to case, and wildcard
// folder paths. Every entry ends in "\".
#include "engine/MultiMasks.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace engine {

class TFolderList {
public:
    // Takes the entries (each given a trailing "\") unless they are the ones already held.
    void Assign(const std::vector<std::wstring>& entries);
    bool Contains(std::wstring_view folder) const;
    bool Empty() const { return items_.empty(); }
    const std::vector<std::wstring>& Items() const { return items_; }

private:
    std::vector<std::wstring> items_;
    std::unordered_set<std::wstring> keys_;  // upper-cased items
};

class TFolderWildcards {
public:
    // As TFolderList::Assign; the entries are then compiled as complete masks, one per entry.
    // Throws kit::Exception when one does not compile.
    void Assign(const std::vector<std::wstring>& entries);
    // False when there are no entries.
    bool Matches(std::wstring_view folder) const;
    bool Empty() const { return !masks_; }
    const std::vector<std::wstring>& Items() const { return items_; }

private:
    std::vector<std::wstring> items_;
    std::unique_ptr<TMultiMasks> masks_;  // none for an empty list
};

} // namespace engine
