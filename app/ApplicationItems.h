#pragma once
// The recently used lists behind the combo boxes: file-name masks and contained texts per mode, and the
// search paths. Stored in the items file under the switches of the options.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/ApplicationOptions.h"
#include "engine/UKvrTYPEFile.h"
#include "store/MemIniFileUnicode.h"

namespace app {

// True when every character is a blank, so also for the empty text.
bool IsBlankText(std::wstring_view text);
// True for a text longer than two characters that is blanks between two double quotes.
bool IsQuotedBlankText(std::wstring_view text);

// One list: unsorted, duplicates allowed, order kept.
class TMRUItems {
public:
    explicit TMRUItems(std::wstring section);
    const std::wstring& Section() const { return section_; }
    void ResetCounters();

    // Loads the "NumberN" keys below "Count" in number order; empty values are skipped.
    void LoadFrom(const store::TMemIniFileUnicode& ini);
    // Writes the non-empty items numbered densely from 0. A blank-only item is quoted in the file (the store
    // trims values), while the list keeps it as it is.
    void SaveTo(store::TMemIniFileUnicode& ini) const;

    std::vector<std::wstring> Items;
    int StoredCount = 0;  // "Count" at the last load
    int Fixed = 0;        // kept as read

private:
    std::wstring section_;
};

// One list per mode of a criterion, each in the mode's section below the holder's.
class TModeItems {
public:
    TModeItems(std::wstring section, std::span<const wchar_t* const> modeSections, int sessionOnlyMode);
    const std::wstring& Section() const { return section_; }
    void LoadFrom(const store::TMemIniFileUnicode& ini);
    // Erases the holder's own section (it has no keys), then saves the lists.
    void SaveTo(store::TMemIniFileUnicode& ini) const;

protected:
    TMRUItems& ListAt(std::size_t mode) { return lists_.at(mode); }
    const TMRUItems& ListAt(std::size_t mode) const { return lists_.at(mode); }

private:
    std::wstring section_;
    std::vector<TMRUItems> lists_;
    int sessionOnlyMode_;  // a mode whose list lives only for the run; -1 for none
};

class TItemsFileMask : public TModeItems {
public:
    explicit TItemsFileMask(const std::wstring& owner);
    TMRUItems& List(engine::TNameMaskType mode) { return ListAt(mode); }
    const TMRUItems& List(engine::TNameMaskType mode) const { return ListAt(mode); }
};

// The binary-code list is never stored.
class TItemsSearchText : public TModeItems {
public:
    explicit TItemsSearchText(const std::wstring& owner);
    TMRUItems& List(engine::TTextMaskType mode) { return ListAt(mode); }
    const TMRUItems& List(engine::TTextMaskType mode) const { return ListAt(mode); }
};

class TItemsSearchFolders {
public:
    explicit TItemsSearchFolders(const std::wstring& owner);
    const std::wstring& Section() const { return section_; }
    void LoadFrom(const store::TMemIniFileUnicode& ini) { FolderValue.LoadFrom(ini); }
    void SaveTo(store::TMemIniFileUnicode& ini) const { FolderValue.SaveTo(ini); }

    TMRUItems FolderValue;

private:
    std::wstring section_;
};

class TApplicationMRUItems {
public:
    TApplicationMRUItems(std::wstring fileName, const std::wstring& prefix);
    const std::wstring& FileName() const { return fileName_; }
    const std::wstring& Section() const { return section_; }

    // Lists whose switch is off are not touched: not loaded (they stay as they are, empty at start), and
    // not saved (their sections keep what the file held). Failures follow SettingsFile.h.
    void Load(const TOptionsSearchItems& options);
    void Save(const TOptionsSearchItems& options) const;

    TItemsFileMask FileMask;
    TItemsSearchText SearchText;
    TItemsSearchFolders SearchFolders;

private:
    std::wstring fileName_;
    std::wstring section_;
};

} // namespace app
