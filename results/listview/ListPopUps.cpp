// The result list's pop-up menus, built from fixed tables at each showing, and the choice carried out.
#include "results/listview/ListPopUps.h"

#include "kit/Handles.h"
#include "kit/Interaction.h"
#include "results/listview/ResultContextMenu.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace results {
namespace {

using Operation = void (TResultListView::*)();

constexpr std::wstring_view Separator = L"-";

struct TColumnsPopUpRow {
    const wchar_t* caption;
    std::optional<TColumnsEnum> column;  // a column item, checked while its column shows
    Operation run;                       // any other item
};

constexpr std::array<TColumnsPopUpRow, 14> ColumnsRows = {{
    {L"N\u00B0", tcNumber, nullptr},
    {L"Name", tcName, nullptr},
    {L"Folder", tcFolder, nullptr},
    {L"Size", tcSize, nullptr},
    {L"Ext", tcExt, nullptr},
    {L"Type", tcType, nullptr},
    {L"Attributes", tcAttribute, nullptr},
    {L"Modified Date", tcDateModified, nullptr},
    {L"Creation Date", tcDateCreated, nullptr},
    {L"Last Access Date", tcDateAccessed, nullptr},
    {L"-", std::nullopt, nullptr},
    {L"Automatically Resizes", std::nullopt, &TResultListView::AutoResizeColumns},
    {L"-", std::nullopt, nullptr},
    {L"Reset to Default", std::nullopt, &TResultListView::ResetColumnsToDefault},
}};

struct TItemsPopUpRow {
    const wchar_t* caption;
    Operation run;
    bool fileAction = false;  // refused with the file actions (FileActionsRefused), and greyed then
};

constexpr std::array<TItemsPopUpRow, 18> ItemsRows = {{
    {L"-", nullptr},
    {L"Cut", &TResultListView::CutSelected, true},
    {L"Copy", &TResultListView::CopySelected, true},
    {L"-", nullptr},
    {L"Copy to Folder...", &TResultListView::CopySelectedToFolder, true},
    {L"Move to Folder...", &TResultListView::MoveSelectedToFolder, true},
    {L"-", nullptr},
    {L"Create Shortcut...", &TResultListView::CreateShortcutsOfSelected, true},
    {L"Delete", &TResultListView::DeleteSelected, true},
    {L"Rename...", &TResultListView::RenameSelected, true},
    {L"-", nullptr},
    {L"Remove From List", &TResultListView::RemoveSelectedFromList, true},
    {L"-", nullptr},
    {L"Select All", &TResultListView::SelectAll},
    {L"Invert Selection", &TResultListView::InvertSelection},
    {L"UnselectAll", &TResultListView::UnselectAll},
    {L"-", nullptr},
    {L"Properties", &TResultListView::ShowPropertiesOfSelected, true},
}};

// What the list runs, on its selection, for each of the shell's verbs it carries out itself: ProgramVerbs' order.
constexpr std::array<Operation, ProgramVerbs.size()> ProgramVerbRuns = {
    &TResultListView::CutSelected,    &TResultListView::CopySelected,
    &TResultListView::DeleteSelected, &TResultListView::CreateShortcutsOfSelected,
    &TResultListView::RenameSelected, &TResultListView::ShowPropertiesOfSelected,
};

// An item's command is its row index + 1: the seam answers 0 for a menu closed without a choice.
UINT CommandOf(size_t index) { return static_cast<UINT>(index + 1); }

// The row index of a chosen command, or none.
std::optional<size_t> RowOf(UINT command, size_t rows) {
    if (command == 0 || command > rows) return std::nullopt;
    return command - 1;
}

// A menu never starts with a separator.
void AppendItem(HMENU menu, const wchar_t* caption, UINT command, UINT flags = 0) {
    if (caption != Separator) AppendMenuW(menu, MF_STRING | flags, command, caption);
    else if (GetMenuItemCount(menu) > 0) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

} // namespace

// Under Wine and Windows alike a right click on the header reaches the list as a request from the header.
void TResultListView::OnContextMenu(HWND source, LPARAM screenPoint) {
    // No menu over a running file action or inside another wait: its choices would act on what that one works on.
    if (SelectionHeld()) return;
    const POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    const bool keyboard = at.x == -1 && at.y == -1;  // Shift+F10 or the menu key
    if (source == Header()) {
        RECT header{};
        GetWindowRect(Header(), &header);
        columnsPopUp_->Popup(keyboard ? POINT{header.left, header.bottom} : at);
        return;
    }
    itemsPopUp_->Popup(keyboard ? KeyboardMenuPoint() : at);
}

// A pop-up asked from the keyboard opens under the name of the row it is about (the one selected row, else the
// focused row), scrolled into view; at the list's corner when there is neither.
POINT TResultListView::KeyboardMenuPoint() const {
    const std::vector<int> selected = SelectedIndexes();
    const int index = selected.size() == 1 ? selected.front() : FocusedIndex();
    POINT at{0, 0};
    RECT label{};
    label.left = LVIR_LABEL;
    if (index >= 0) {
        SendMessageW(hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
        if (SendMessageW(hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&label)))
            at = {label.left, label.bottom};
    }
    ClientToScreen(hwnd(), &at);
    return at;
}

void TResultListViewColumnsPopUp::Popup(POINT screen) {
    owner_.SyncColumnFlags();
    const kit::UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    for (size_t i = 0; i < ColumnsRows.size(); ++i) {
        const TColumnsPopUpRow& row = ColumnsRows[i];
        const bool checked = row.column && owner_.ColumnInfo(*row.column).visible;
        AppendItem(menu.get(), row.caption, CommandOf(i), checked ? MF_CHECKED : 0);
    }
    const UINT chosen = kit::UserInteraction().TrackMenu(owner_.hwnd(), menu.get(), screen);
    const std::optional<size_t> index = RowOf(chosen, ColumnsRows.size());
    if (!index) return;
    // A column item checks itself when chosen: the choice shows an unchecked column and hides a checked one.
    const bool wasChecked = (GetMenuState(menu.get(), chosen, MF_BYCOMMAND) & MF_CHECKED) != 0;
    OnItemClick(static_cast<int>(*index), !wasChecked);
}

void TResultListViewColumnsPopUp::OnItemClick(int index, bool nowChecked) {
    const TColumnsPopUpRow& row = ColumnsRows[static_cast<size_t>(index)];
    // By kind: a column the person dragged elsewhere is still the one its item names.
    if (row.column) owner_.ToggleColumnFromPopUp(owner_.IndexOfKind(*row.column), nowChecked);
    else if (row.run) (owner_.*row.run)();
}

void TResultListViewItemsPopUp::Popup(POINT screen) {
    const TResultTable* table = owner_.Results();
    if (!table || table->Count() == 0) return;
    const std::vector<int> selected = owner_.SelectedIndexes();
    // One selected row gets its file's menu whether or not it has the focus: the menu's actions work on the
    // selection, which is that row.
    if (selected.size() == 1) ShowShellMenu(selected.front(), screen);
    else if (selected.size() > 1) ShowOwnMenu(screen);
}

void TResultListViewItemsPopUp::ShowShellMenu(int index, POINT screen) {
    const TRow* row = owner_.Results()->RowAt(index);
    if (!row) return;
    std::wstring verb;
    if (!owner_.ShellContextMenu ||
        !owner_.ShellContextMenu(row->FullPath(), owner_.hwnd(), screen, owner_.FileActionsRefused(), verb))
        return;
    const auto known = std::find(ProgramVerbs.begin(), ProgramVerbs.end(), verb);
    if (known != ProgramVerbs.end()) (owner_.*ProgramVerbRuns[static_cast<size_t>(known - ProgramVerbs.begin())])();
}

void TResultListViewItemsPopUp::ShowOwnMenu(POINT screen) {
    const kit::UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const bool refused = owner_.FileActionsRefused();
    for (size_t i = 0; i < ItemsRows.size(); ++i) {
        const TItemsPopUpRow& row = ItemsRows[i];
        AppendItem(menu.get(), row.caption, CommandOf(i), row.fileAction && refused ? MF_GRAYED : 0);
    }
    const UINT chosen = kit::UserInteraction().TrackMenu(owner_.hwnd(), menu.get(), screen);
    if (const std::optional<size_t> index = RowOf(chosen, ItemsRows.size())) OnItemClick(static_cast<int>(*index));
}

void TResultListViewItemsPopUp::OnItemClick(int index) {
    const Operation run = ItemsRows[static_cast<size_t>(index)].run;
    if (run) (owner_.*run)();
}

} // namespace results
