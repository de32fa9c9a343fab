#pragma once
// One result row, packed: a million of them must fit the 32-bit program's address space with room to spare.
// The name lives in the table's text arena, the folder in a record that every row found in it shares, the type
// name in the table's pool, which every row of that type shares; the extension and the attribute letters are
// worked out from the name and the attributes when asked.
#include "engine/UKvrTYPEFile.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace results {

// Each type name the rows of one table hold, once and numbered: a row holds the number of its type's name. A few
// hundred kinds give a few hundred names, where a copy in each row took a million. The table empties it with its
// rows, so a search over many kinds (an extension each) leaves none of their names behind. UI thread only, as the
// shell's answers are.
class TTypeNames {
public:
    TTypeNames();  // holds TRow::TypeNameUnknown, number 0
    std::uint32_t Number(const std::wstring& name);
    const std::wstring& Name(std::uint32_t number) const { return names_[number]; }
    // The names held besides TRow::TypeNameUnknown.
    std::size_t Count() const { return names_.size() - 1; }
    // Gives the names' memory back.
    void Clear() { *this = TTypeNames(); }

private:
    std::deque<std::wstring> names_;  // a deque: the names handed out never move
    std::unordered_map<std::wstring, std::uint32_t> numbers_;
};

// The folder the rows found in it share: renaming the folder rewrites this record, not each row.
struct TRowFolder {
    std::wstring Path;       // ends in a backslash
    int TypeIconIndex = -1;  // the folder's small system icon, the image of its rows' Folder cells
    // The table's type names: a row has no room to point at its table, and its folder record is the table's.
    TTypeNames* TypeNames = nullptr;
};

// Rows are made by the table (TResultTable::AddRow) and stay where they are until removed or cleared.
class TRow {
public:
    static constexpr const wchar_t* TypeNameUnknown = L"X";  // the type name until the shell has been asked

    double Created = 0, LastAccess = 0, Modified = 0;  // days since 30 December 1899, local time
    std::int32_t Number = 0;                           // 1-based, in the order found
    int SystemIconIndex = -1;
    int ThumbnailIndex = -1;
    engine::TScanAttributes Attributes;
    bool DetailsFetched = false;     // the list view has fetched the row's icons and type name
    bool SelectionSnapshot = false;  // a row a file action chose, looked at once the action's work is done
    bool Gone = false;               // the file no longer exists; the row is to be removed
    bool Cut = false;                // cut to the clipboard: the list shows the row ghosted

    // A NUL follows the name's text, so data() serves where a terminated string is wanted.
    std::wstring_view Name() const { return {name_, nameLength_}; }
    // Ends in a backslash; Folder + Name is the full path.
    const std::wstring& Folder() const { return folder_->Path; }
    std::wstring FullPath() const;
    std::uint64_t Size() const { return size_; }  // bytes
    // The small system icon of the row's folder, shared by the rows of that folder.
    int TypeIconIndex() const { return folder_->TypeIconIndex; }
    void SetTypeIconIndex(int index) { folder_->TypeIconIndex = index; }
    // TypeNameUnknown until asked (TypeNameText) or set.
    const std::wstring& TypeName() const;
    void SetTypeName(const std::wstring& name);

    bool IsDirectory() const { return Attributes.Contains(engine::saDirectory); }
    // The extension of Name from its last dot on (the end of Name, so NUL-terminated too); empty for a folder.
    std::wstring_view ExtText() const;
    std::wstring AttributesText() const;
    // The shell's type name, asked once for the row (empty when the shell gives none).
    const std::wstring& TypeNameText();
    bool IsShortcut() const;

private:
    friend class TResultTable;
    friend class TRowBlocks;
    TRow() = default;
    TRow(const TRow&) = default;
    TRow& operator=(const TRow&) = default;

    // In this order the fields leave no gap on either platform (the size checks below).
    std::uint16_t nameLength_ = 0;
    std::uint32_t typeName_ = 0;  // its number in the pool of type names; 0 is TypeNameUnknown
    const wchar_t* name_ = L"";
    TRowFolder* folder_ = nullptr;
    std::uint64_t size_ = 0;
};

static_assert(sizeof(void*) != 4 || sizeof(TRow) == 64, "the 32-bit row's fixed part grew");
static_assert(sizeof(void*) != 8 || sizeof(TRow) == 72, "the 64-bit row's fixed part grew");

// Rows in blocks of a fixed count instead of one heap object each: a row never moves once made, and its slot
// names it until the blocks are cleared. A slot is never given twice before that, so a removed row's slot stays
// unused. Clear keeps the blocks for the next rows: memory the system has just given is slow to touch the first
// time (under Wine here, a second for the 130 MB of a million rows), as the heap kept the memory of freed rows.
class TRowBlocks {
public:
    TRowBlocks() = default;
    TRowBlocks(const TRowBlocks&) = delete;
    TRowBlocks& operator=(const TRowBlocks&) = delete;

    TRow& operator[](std::uint32_t slot) const { return blocks_[slot / BlockRows][slot % BlockRows]; }
    // The slot of a new row with every field as a row starts.
    std::uint32_t Add();
    void Clear();

private:
    static constexpr std::uint32_t BlockRows = 8192;

    std::vector<std::unique_ptr<TRow[]>> blocks_;
    std::uint32_t used_ = 0;
    std::uint32_t reused_ = 0;  // the slots used before the last Clear, which hold old rows
};

} // namespace results
