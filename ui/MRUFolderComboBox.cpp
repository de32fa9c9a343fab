#include "ui/MRUFolderComboBox.h"

#include <shlobj.h>

#include <algorithm>
#include <span>

#include "app/ShellNamespace.h"
#include "engine/Drives.h"
#include "kit/Files.h"
#include "kit/Guard.h"
#include "kit/Scope.h"
#include "kit/Strings.h"
#include "kit/SystemImages.h"
#include "kit/TimeBudget.h"

namespace ui {
namespace {

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(hwnd, msg, wp, lp); }

bool SameTextLocale(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

struct SpecialFolder {
    int csidl;
    const wchar_t* tag;
    int indent;
};
constexpr SpecialFolder kSpecialFolders[] = {
    {CSIDL_PERSONAL, L"<PERSONAL>", 2},         {CSIDL_MYMUSIC, L"<MYMUSIC>", 3},
    {CSIDL_MYPICTURES, L"<MYPICTURES>", 3},     {CSIDL_MYVIDEO, L"<MYVIDEO>", 3},
    {CSIDL_FAVORITES, L"<FAVORITES>", 2},       {CSIDL_INTERNET_CACHE, L"<INTERNET_CACHE>", 2},
    {CSIDL_LOCAL_APPDATA, L"<LOCAL_APPDATA>", 2},
};

struct DriveClass {
    int csidl;
    const wchar_t* tag;
    std::span<const UINT> types;
};
constexpr UINT kLocalTypes[] = {DRIVE_REMOVABLE, DRIVE_FIXED, DRIVE_CDROM, DRIVE_RAMDISK};
constexpr UINT kNetworkTypes[] = {DRIVE_REMOTE};
constexpr DriveClass kDriveClasses[] = {
    {CSIDL_DRIVES, L"<LOCALDRIVES>", kLocalTypes},
    {CSIDL_NETWORK, L"<NETWORKDRIVES>", kNetworkTypes},
};

// Whether the shell may be asked about `path` at every key typed: a path on a fixed drive only. A share, a network
// drive or a drive with a removable medium could keep the box waiting on the network or a medium at each key.
bool OnFixedDrive(const std::wstring& path) {
    if (!kit::IsFullyQualifiedPath(path) || path[0] == L'\\') return false;
    const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
    const UINT type = GetDriveTypeW(root);
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

// The search path's edit, clicked into. The extended box selects all of the edit's text whenever the edit gets the
// focus, and a click gives it the focus only after placing the caret: the caret goes back where the click put it,
// as in a plain edit.
LRESULT CALLBACK ClickedEditProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(edit, ClickedEditProc, id);
    if (msg != WM_LBUTTONDOWN || GetFocus() == edit) return DefSubclassProc(edit, msg, wp, lp);
    const LRESULT result = DefSubclassProc(edit, msg, wp, lp);
    kit::GuardedMessage(edit, msg, lp, L"search path edit", [&] {
        if (GetFocus() != edit) return;
        const auto at = static_cast<WPARAM>(LOWORD(Send(edit, EM_CHARFROMPOS, 0, lp)));
        Send(edit, EM_SETSEL, at, at);
    });
    return result;
}

std::wstring Joined(const std::vector<std::wstring>& parts) {
    std::wstring text;
    for (const std::wstring& part : parts) text += (text.empty() ? L"" : L"|") + part;
    return text;
}

} // namespace

void ParseFolderItem(const std::wstring& line, std::uint8_t& kind, std::wstring& caption, std::wstring& value) {
    const std::size_t open = line.find(L'<');
    const std::size_t close = open == std::wstring::npos ? open : line.find(L'>', open + 1);
    if (close != std::wstring::npos) {
        kind = TItemInfo::kNamed;
        caption = kit::Trim(std::wstring_view(line).substr(open, close - open + 1));
        value = kit::Trim(std::wstring_view(line).substr(close + 1));
    } else {
        kind = TItemInfo::kPlain;
        caption = value = kit::Trim(line);
    }
}

std::wstring FilterPathPieces(const std::wstring& value, wchar_t sign) {
    std::vector<std::wstring> kept;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find_first_of(L"|\"", start);
        if (end == std::wstring::npos) end = value.size();
        const std::wstring piece = kit::Trim(std::wstring_view(value).substr(start, end - start));
        start = end + 1;
        if (piece.empty()) continue;
        const bool signedPiece = piece[0] == L'+' || piece[0] == L'-';
        if (sign == 0 && !signedPiece) kept.push_back(piece);
        // A lone sign names no folder.
        else if (sign != 0 && piece[0] == sign && piece.size() > 1) kept.push_back(piece.substr(1));
    }
    return Joined(kept);
}

void TMRUFolderComboBox::Create(HWND parent, int id, const RECT& bounds) {
    // The window height of the box is its dropped-down height; rows carry small icons.
    const int itemHeight = GetSystemMetrics(SM_CYSMICON) + 2;
    RECT dropped = bounds;
    dropped.bottom = bounds.top + 24 + itemHeight * kDropDownRows;
    CreateControl(WC_COMBOBOXEXW, parent, id, L"",
                  WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, dropped);
    if (const HIMAGELIST images = kit::SystemImageList(kit::IconSize::Small)) {
        ImageList_SetBkColor(images, CLR_NONE);
        Send(hwnd(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    }
    if (const HWND edit = EditHwnd()) {
        Send(edit, WM_SETFONT, reinterpret_cast<WPARAM>(kit::ControlFont()), FALSE);
        SetWindowSubclass(edit, ClickedEditProc, 0, 0);
    }
    SubclassControl();
}

void TMRUFolderComboBox::SetMaxItems(std::uint8_t maxItems) {
    if (maxItems != 0 && maxItems < maxItems_)
        while (Count() > builtInCount_ + maxItems) DeleteEntry(Count() - 1);
    maxItems_ = maxItems;
}

HWND TMRUFolderComboBox::EditHwnd() const { return reinterpret_cast<HWND>(Send(hwnd(), CBEM_GETEDITCONTROL)); }

HWND TMRUFolderComboBox::ComboHwnd() const { return reinterpret_cast<HWND>(Send(hwnd(), CBEM_GETCOMBOCONTROL)); }

std::wstring TMRUFolderComboBox::EditText() const { return kit::WindowText(EditHwnd()); }

void TMRUFolderComboBox::SetEditText(const std::wstring& text) {
    const kit::ScopedIncrement updating(updating_);
    SetWindowTextW(EditHwnd(), text.c_str());
}

int TMRUFolderComboBox::SelectedIndex() const { return static_cast<int>(Send(hwnd(), CB_GETCURSEL)); }

void TMRUFolderComboBox::Select(int index) {
    const kit::ScopedIncrement updating(updating_);
    // Told to select no entry, the extended box writes back into its edit the text it took from it when its combo
    // box last redrew (which that combo box does at once, so the text just typed) and selects all of it: the
    // person's next key would replace what was typed. The combo box inside deselects and leaves the edit alone.
    Send(index < 0 ? ComboHwnd() : hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index));
}

void TMRUFolderComboBox::InsertEntry(int index, Entry entry) {
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT;
    item.iItem = index;
    item.pszText = entry.caption.data();
    item.iImage = item.iSelectedImage = entry.image;
    item.iIndent = entry.indent;
    {
        const kit::ScopedIncrement updating(updating_);
        Send(hwnd(), CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    entries_.insert(entries_.begin() + index, std::move(entry));
}

void TMRUFolderComboBox::DeleteEntry(int index) {
    if (index < builtInCount_ || index >= Count()) return;
    {
        const kit::ScopedIncrement updating(updating_);
        Send(hwnd(), CBEM_DELETEITEM, static_cast<WPARAM>(index));
    }
    entries_.erase(entries_.begin() + index);
}

void TMRUFolderComboBox::ClearEntries() {
    {
        const kit::ScopedIncrement updating(updating_);
        Send(hwnd(), CB_RESETCONTENT);
    }
    entries_.clear();
    builtInCount_ = 0;
}

std::vector<TMRUFolderComboBox::Entry> TMRUFolderComboBox::BuiltInEntries() {
    engine::GetDriveList(Drives);
    std::vector<Entry> entries;
    std::vector<std::wstring> roots;
    for (const std::wstring& drive : Drives) roots.push_back(drive + L"\\");
    entries.push_back({kEverywhere, {TItemInfo::kBuiltIn, Joined(roots), L"<EVERYWHERE>"},
                       app::GetSpecialFolderIconIndex(CSIDL_DESKTOP), 0});

    if (const std::wstring profile = app::GetSpecialFolderPath(CSIDL_PROFILE); !profile.empty())
        entries.push_back({app::GetPathDisplayName(profile), {TItemInfo::kBuiltIn, profile, L"<PROFILE>"},
                           app::GetSpecialFolderIconIndex(CSIDL_PROFILE), 1});
    for (const SpecialFolder& folder : kSpecialFolders) {
        const std::wstring path = app::GetSpecialFolderPath(folder.csidl);
        if (path.empty()) continue;
        entries.push_back({app::GetSpecialFolderDisplayName(folder.csidl), {TItemInfo::kBuiltIn, path, folder.tag},
                           app::GetSpecialFolderIconIndex(folder.csidl), folder.indent});
    }

    for (const DriveClass& driveClass : kDriveClasses) {
        std::vector<std::wstring> members;
        for (const std::wstring& root : roots)
            if (std::find(driveClass.types.begin(), driveClass.types.end(), GetDriveTypeW(root.c_str())) !=
                driveClass.types.end())
                members.push_back(root);
        if (members.empty()) continue;
        entries.push_back({app::GetSpecialFolderDisplayName(driveClass.csidl),
                           {TItemInfo::kBuiltIn, Joined(members), driveClass.tag},
                           app::GetSpecialFolderIconIndex(driveClass.csidl), 1});
        for (const std::wstring& root : members) {
            // A drive without a medium may have no display name; its root still tells it apart.
            std::wstring caption = app::GetPathDisplayName(root);
            if (caption.empty()) caption = root;
            entries.push_back({std::move(caption), {TItemInfo::kBuiltIn, root, L"<" + root + L">"},
                               app::GetPathIconIndexDef(root, CSIDL_PROGRAM_FILES), 2});
        }
    }
    return entries;
}

TMRUFolderComboBox::Entry TMRUFolderComboBox::RecentEntry(std::uint8_t kind, const std::wstring& caption,
                                                           const std::wstring& value) const {
    const int image = kind == TItemInfo::kNamed ? app::GetSpecialFolderIconIndex(CSIDL_FAVORITES)
                                                : app::GetPathIconIndexDef(value, CSIDL_PROGRAM_FILES);
    return {caption, {kind, value, L""}, image, 0};
}

bool TMRUFolderComboBox::Populate(app::TMRUItems* list, const std::wstring& selectText) {
    const kit::RedrawOff redrawOff(hwnd());
    ClearEntries();
    for (Entry& entry : BuiltInEntries()) InsertEntry(Count(), std::move(entry));
    builtInCount_ = static_cast<std::uint8_t>(Count());
    if (list) {
        items_ = list;
        for (const std::wstring& line : list->Items) {
            std::uint8_t kind = 0;
            std::wstring caption, value;
            ParseFolderItem(line, kind, caption, value);
            if (!caption.empty()) InsertEntry(Count(), RecentEntry(kind, caption, value));
        }
        int index = selectText.empty() ? -1 : IndexOfItem(selectText);
        if (index < 0 && Count() > 0) index = DefaultIndex;
        Select(index);
        SetEditText(index >= 0 && index < Count() ? Caption(index) : L"");
    }
    return list != nullptr;
}

void TMRUFolderComboBox::Repopulate(app::TMRUItems* list) {
    const std::wstring text = EditText();
    const bool typed = IndexOfItem(text) < 0;
    if (!Populate(list, text) || !typed) return;
    SetEditText(text);
    FollowText();
}

int TMRUFolderComboBox::IndexOfItem(const std::wstring& text) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextLocale(entries_[static_cast<std::size_t>(i)].caption, text)) return i;
    if (text.size() < 2) return -1;
    for (int i = 0; i < Count(); ++i)
        if (SameTextLocale(entries_[static_cast<std::size_t>(i)].info.Value, text)) return i;
    return -1;
}

void TMRUFolderComboBox::Add(const std::wstring& text) {
    if (text.empty()) return;
    bool add = true;
    ParseFolderItem(text, ItemKind, ItemText, ItemPaths);
    if (OnAdd) OnAdd(*this, ItemText, ItemPaths, add);
    if (add && !ItemText.empty()) AddFolder(ItemKind, ItemText, ItemPaths, true);
}

void TMRUFolderComboBox::AddFolder(std::uint8_t kind, const std::wstring& itemText, std::wstring itemPaths,
                                   bool add) {
    if (!add) return;
    const bool namedWithPaths = kind == TItemInfo::kNamed && !itemPaths.empty();
    const auto captionIndex = [this](const std::wstring& caption) {
        for (int i = 0; i < Count(); ++i)
            if (SameTextLocale(Caption(i), caption)) return i;
        return -1;
    };
    int index = IndexOfItem(itemText);
    if (index >= 0 && namedWithPaths) {
        // A named entry takes the place of the plain entry of its value; a built-in entry keeps its place.
        const int plain = captionIndex(itemPaths);
        if (plain >= builtInCount_) {
            DeleteEntry(plain);
            index = IndexOfItem(itemText);
        }
    }
    if (index < 0 && namedWithPaths) {
        index = captionIndex(itemPaths);
        if (index < builtInCount_) index = -1;
    }

    if (index < 0) {
        InsertEntry(builtInCount_, RecentEntry(kind, itemText, itemPaths));
        while (maxItems_ != 0 && Count() > builtInCount_ + maxItems_) DeleteEntry(Count() - 1);
        Select(builtInCount_);
        if (OnAdded) OnAdded(*this, itemText);
    } else if (index <= builtInCount_ && !namedWithPaths) {
        Select(index);
    } else {
        if (kind == TItemInfo::kNamed && itemPaths.empty()) itemPaths = Info(index).Value;
        DeleteEntry(index);  // leaves a built-in entry where it is
        InsertEntry(builtInCount_, RecentEntry(kind, itemText, itemPaths));
        Select(builtInCount_);
    }
    const int selected = SelectedIndex();
    SetEditText(selected >= 0 ? Caption(selected) : itemText);
    if (OnSelected) OnSelected(*this, itemText);
}

bool TMRUFolderComboBox::SaveTo(app::TMRUItems* list) {
    if (!list) return false;
    items_ = list;
    list->Items.clear();
    for (int i = builtInCount_; i < Count(); ++i)
        list->Items.push_back(Info(i).Kind == TItemInfo::kNamed ? Caption(i) + Info(i).Value : Caption(i));
    return true;
}

int TMRUFolderComboBox::SelectByTag(const std::wstring& tag) {
    int index = DefaultIndex;
    for (int i = 0; i < Count(); ++i)
        if (Info(i).Tag == tag) {
            index = i;
            break;
        }
    Select(index);
    SetEditText(index >= 0 && index < Count() ? Caption(index) : L"");
    return SelectedIndex();
}

void TMRUFolderComboBox::EnsureSelection() {
    if (SelectedIndex() >= 0 || DefaultIndex < 0 || DefaultIndex >= Count()) return;
    Select(DefaultIndex);
    SetEditText(Caption(DefaultIndex));
}

std::wstring TMRUFolderComboBox::GetSelectedValue() const {
    const int index = SelectedIndex();
    return index >= 0 && index < Count() ? Info(index).Value : std::wstring();
}

std::wstring TMRUFolderComboBox::SelectedPathsOf(wchar_t sign) {
    // An emptied box names no path: the entry its list still selects, or the default, is not what it shows.
    if (kit::Trim(EditText()).empty()) return {};
    EnsureSelection();
    return FilterPathPieces(GetSelectedValue(), sign);
}

void TMRUFolderComboBox::GetPaths(std::wstring& text) { text = SelectedPathsOf(0); }
void TMRUFolderComboBox::GetIncludePaths(std::wstring& text) { text = SelectedPathsOf(L'+'); }
void TMRUFolderComboBox::GetExcludePaths(std::wstring& text) { text = SelectedPathsOf(L'-'); }

void TMRUFolderComboBox::GetFolderText(std::wstring& text) {
    // No entry is put over what the person typed: with nothing selected the answer is empty, and the caller falls
    // back to the default entry's folders itself.
    text = EditText();
    if (engine::IsPathValid(text)) return;
    text = GetSelectedValue();
    if (!engine::IsPathValid(text)) text.clear();
}

void TMRUFolderComboBox::FollowText() {
    const std::wstring text = EditText();
    const int selected = SelectedIndex();
    if (selected >= 0 && selected < Count() && Caption(selected) == text) return;
    if (selected >= 0) Select(-1);
    // The picture of the entry the text names, else of the folder (a plain folder's picture off a fixed drive).
    const int named = IndexOfItem(text);
    const std::wstring path = kit::Trim(text);
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iItem = -1;
    item.iImage = named >= 0          ? entries_[static_cast<std::size_t>(named)].image
                  : OnFixedDrive(path) ? app::GetPathIconIndexDef(path, CSIDL_PROGRAM_FILES)
                                       : app::GetSpecialFolderIconIndex(CSIDL_PROGRAM_FILES);
    item.iSelectedImage = item.iImage;
    Send(hwnd(), CBEM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool TMRUFolderComboBox::DropFolders(const std::vector<std::wstring>& names) {
    // Another program's drop holds this thread until it ends, and under Wine a name missing from a folder costs a
    // read of the whole folder (6 ms among 20,000 entries): no count of names bounds the time. The text is
    // bounded too: the box, its list and the settings hold it. Either refuses the drop whole.
    std::size_t characters = 0;
    for (const std::wstring& name : names) characters += name.size();
    if (characters > kMaxDroppedCharacters) return false;
    const kit::TimeBudget budget(kDropLookupTime);
    std::vector<std::wstring> folders;
    for (const std::wstring& name : names) {
        if (kit::DirectoryExists(name)) folders.push_back(name);
        if (budget.Spent()) return false;
    }
    if (folders.empty()) return false;
    SetWindowTextW(EditHwnd(), Joined(folders).c_str());  // raises OnChange, as typing does
    return true;
}

void TMRUFolderComboBox::RebuildBuiltInEntries() {
    const int selected = SelectedIndex();
    const bool hadSelection = selected >= 0 && selected < Count();
    const bool picked = hadSelection && selected != selectedAtDropDown_;
    const bool selectedBuiltIn = hadSelection && selected < builtInCount_;
    const std::wstring key = !hadSelection ? L"" : selectedBuiltIn ? Info(selected).Tag : Caption(selected);
    // What the user picked shows its caption; what was typed, dropped or browsed to stays as it is.
    const std::wstring text = picked ? Caption(selected) : EditText();

    const kit::RedrawOff redrawOff(hwnd());
    const kit::ScopedIncrement updating(updating_);
    for (int i = builtInCount_ - 1; i >= 0; --i) {
        Send(hwnd(), CBEM_DELETEITEM, static_cast<WPARAM>(i));
        entries_.erase(entries_.begin() + i);
    }
    builtInCount_ = 0;
    const std::vector<Entry> fresh = BuiltInEntries();
    for (std::size_t i = 0; i < fresh.size(); ++i) InsertEntry(static_cast<int>(i), fresh[i]);
    builtInCount_ = static_cast<std::uint8_t>(fresh.size());

    int restored = -1;
    if (hadSelection)
        for (int i = selectedBuiltIn ? 0 : builtInCount_; i < (selectedBuiltIn ? builtInCount_ : Count()); ++i)
            if ((selectedBuiltIn ? Info(i).Tag : Caption(i)) == key) {
                restored = i;
                break;
            }
    // A typed text that is no entry's caption leaves no entry selected: the box would put the selected
    // entry's caption back into the field as the list closes.
    if (!picked && restored >= 0 && text != Caption(restored)) restored = -1;
    Select(restored);
    SetEditText(text);
    if (restored < 0) FollowText();
}

bool TMRUFolderComboBox::OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wp) != CBN_CLOSEUP || reinterpret_cast<HWND>(lp) != ComboHwnd()) return false;
    result = DefaultOwnMessage(msg, wp, lp);
    // The list takes the focus while it is down, and the extended box may leave it with its combo box hidden under
    // the edit, where the keys typed next would be lost; they belong in the edit.
    if (GetFocus() == ComboHwnd()) SetFocus(EditHwnd());
    return true;
}

bool TMRUFolderComboBox::OnCommandCode(int code) {
    switch (code) {
    case CBN_DROPDOWN:
        selectedAtDropDown_ = SelectedIndex();
        return true;
    case CBN_CLOSEUP:
        RebuildBuiltInEntries();
        if (OnCloseUp) OnCloseUp(*this);
        return true;
    case CBN_SELCHANGE:
        if (!updating_ && OnChange) OnChange(*this);
        return true;
    case CBN_EDITCHANGE:
        if (updating_) return true;
        FollowText();
        if (OnChange) OnChange(*this);
        return true;
    }
    return false;
}

} // namespace ui
