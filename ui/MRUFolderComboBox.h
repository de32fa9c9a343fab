#pragma once
// The search-path box: an extended combo box whose list holds the built-in entries (everywhere, the user's
// special folders, the local and the network drives) above the recently used search paths. An entry stands
// for a path text: folders joined by "|", "+" marking included and "-" excluded ones.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/ApplicationItems.h"
#include "kit/Controls.h"

namespace ui {

struct TItemInfo {
    enum : std::uint8_t { kBuiltIn = 0, kPlain = 1, kNamed = 2 };
    std::uint8_t Kind = kPlain;
    std::wstring Value;  // the path text the entry stands for
    std::wstring Tag;    // "<EVERYWHERE>", "<C:\>", ... for built-in entries; empty otherwise
};

class TMRUFolderComboBox : public kit::Control {
public:
    using TMRUItemAdd =
        std::function<void(TMRUFolderComboBox& sender, std::wstring& itemText, std::wstring& itemPaths, bool& add)>;
    using TMRUItem = std::function<void(TMRUFolderComboBox& sender, const std::wstring& item)>;

    static constexpr int kDropDownRows = 12;
    static constexpr const wchar_t* kEverywhere = L"Everywhere";

    void Create(HWND parent, int id, const RECT& bounds);

    std::uint8_t MaxItems() const { return maxItems_; }
    // A smaller limit (not 0) drops the oldest recent entries at once; 0 means no limit.
    void SetMaxItems(std::uint8_t maxItems);
    std::uint8_t BuiltInCount() const { return builtInCount_; }
    int DefaultIndex = 0;
    // "X:" for each drive present at the last rebuild of the built-in entries, in letter order.
    std::vector<std::wstring> Drives;

    // Rebuilds the whole list: the built-in entries, then the list's lines. False, with only the built-in
    // entries, for no list. Selects the entry of `selectText`, else the default entry.
    bool Populate(app::TMRUItems* list, const std::wstring& selectText);
    // Populate after the list was edited elsewhere, keeping what the box shows: a text that was one of the
    // entries selects its entry again, or the default one once its entry is gone; a typed text that was none
    // stays as typed.
    void Repopulate(app::TMRUItems* list);
    // Records a search path the user used (typed, browsed to, dropped): "<name> value" lines are named entries.
    void Add(const std::wstring& text);
    // Writes one line per recent entry (a named one as its name directly followed by its value); false for
    // no list.
    bool SaveTo(app::TMRUItems* list);
    // Selects the first entry of that tag (case counts), else the default one; returns the index selected.
    int SelectByTag(const std::wstring& tag);
    void EnsureSelection();
    std::wstring GetSelectedValue() const;
    // The "|"-joined plain, included ("+") and excluded ("-") folders of the selected entry.
    void GetPaths(std::wstring& text);
    void GetIncludePaths(std::wstring& text);
    void GetExcludePaths(std::wstring& text);
    // Names dropped on the box: the existing folders among them, in drop order, joined by "|", become its text as
    // the person's change (files and missing paths are skipped); false, with the text unchanged, when none is, or
    // when the names hold more than kMaxDroppedCharacters or are not all looked up within kDropLookupTime ms.
    bool DropFolders(const std::vector<std::wstring>& names);
    static constexpr std::size_t kMaxDroppedCharacters = 1 << 20;
    static constexpr DWORD kDropLookupTime = 500;
    // The edit text when it names an existing folder, else the selected entry's value when that does, else "";
    // the box's text and selection stay as they are.
    void GetFolderText(std::wstring& text);

    // First an entry's caption (case ignored), then, for a text of two characters or more, its value.
    int IndexOfItem(const std::wstring& text) const;
    int Count() const { return static_cast<int>(entries_.size()); }
    int SelectedIndex() const;
    std::wstring Caption(int index) const { return entries_.at(static_cast<std::size_t>(index)).caption; }
    const TItemInfo& Info(int index) const { return entries_.at(static_cast<std::size_t>(index)).info; }
    int Indent(int index) const { return entries_.at(static_cast<std::size_t>(index)).indent; }
    HWND EditHwnd() const;
    std::wstring EditText() const;

    // The last line parsed by Add.
    std::uint8_t ItemKind = TItemInfo::kPlain;
    std::wstring ItemText;
    std::wstring ItemPaths;

    TMRUItem OnSelected;
    TMRUItemAdd OnAdd;
    TMRUItem OnAdded;
    // The user changed the text or picked an entry; never raised by the box's own changes.
    std::function<void(TMRUFolderComboBox& sender)> OnChange;
    // Raised after the list closed and its built-in entries were rebuilt.
    std::function<void(TMRUFolderComboBox& sender)> OnCloseUp;

protected:
    virtual void AddFolder(std::uint8_t kind, const std::wstring& itemText, std::wstring itemPaths, bool add);
    // The box's own notifications, reflected from its parent: CBN_DROPDOWN, CBN_CLOSEUP, the person's changes.
    bool OnCommandCode(int code) override;
    // The box's own closing of its list, which decides where the focus goes.
    bool OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    struct Entry {
        std::wstring caption;
        TItemInfo info;
        int image = 0;
        int indent = 0;
    };
    std::vector<Entry> BuiltInEntries();
    Entry RecentEntry(std::uint8_t kind, const std::wstring& caption, const std::wstring& value) const;
    void InsertEntry(int index, Entry entry);
    // Built-in entries are never deleted here: only a rebuild replaces them.
    void DeleteEntry(int index);
    void ClearEntries();
    // The combo box inside the extended box, under its edit: it holds the list.
    HWND ComboHwnd() const;
    void Select(int index);
    void SetEditText(const std::wstring& text);
    std::wstring SelectedPathsOf(wchar_t sign);
    // Replaces the built-in block by a fresh one and keeps the recent entries, the selection and the text.
    void RebuildBuiltInEntries();
    // After the person changed the text: a text that is not the selected entry's caption leaves no entry
    // selected, and the picture beside it shows what the text names.
    void FollowText();

    std::vector<Entry> entries_;
    app::TMRUItems* items_ = nullptr;
    std::uint8_t maxItems_ = 12;
    std::uint8_t builtInCount_ = 0;
    int selectedAtDropDown_ = -1;
    int updating_ = 0;  // the box's own changes raise no OnChange
};

// Splits a line into a named entry ("<name> value") or a plain one (caption and value both the trimmed line).
void ParseFolderItem(const std::wstring& line, std::uint8_t& kind, std::wstring& caption, std::wstring& value);
// The "|"- and quote-separated pieces of a path text: those without a sign (sign 0) or those with it, unsigned.
std::wstring FilterPathPieces(const std::wstring& value, wchar_t sign);

} // namespace ui
