// The items' selection: reading it, the selection commands, the snapshot the file actions take of it, the rows
// that leave the list, and the list's own shortcut keys.
#include "results/listview/ResultListView.h"

#include "kit/Files.h"
#include "kit/Scope.h"
#include "kit/Strings.h"
#include "results/listview/SelectedPaths.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace results {
namespace {

constexpr int AllItems = -1;

// Lets a set of names be asked for a row's name as it is stored, without a copy.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::wstring_view text) const { return std::hash<std::wstring_view>{}(text); }
};

BYTE PressedModifiers() {
    BYTE modifiers = 0;
    if (GetKeyState(VK_CONTROL) < 0) modifiers |= FCONTROL;
    if (GetKeyState(VK_SHIFT) < 0) modifiers |= FSHIFT;
    if (GetKeyState(VK_MENU) < 0) modifiers |= FALT;
    return modifiers;
}

} // namespace

std::vector<int> TResultListView::SelectedIndexes() const {
    std::vector<int> indexes;
    for (int i = -1; (i = static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
        indexes.push_back(i);
    return indexes;
}

int TResultListView::FocusedIndex() const {
    return static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void TResultListView::SetItemState(int index, UINT state, UINT mask) {
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TResultListView::FocusRow(int index) {
    SetItemState(index, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageW(hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void TResultListView::MarkSelection(bool TRow::*mark) {
    for (std::int64_t i = 0; i < results_->Count(); ++i) results_->RowAt(i)->*mark = false;
    for (int index : SelectedIndexes())
        if (TRow* row = results_->RowAt(index)) row->*mark = true;
}

void TResultListView::MarkRows(const std::vector<std::wstring>& paths, bool TRow::*mark) {
    // The names first: most rows are told apart without building their full paths.
    const std::unordered_set<std::wstring> wanted(paths.begin(), paths.end());
    std::unordered_set<std::wstring, TextHash, std::equal_to<>> names;
    for (const std::wstring& path : paths) names.insert(kit::ExtractFileName(path));
    for (std::int64_t i = 0; i < results_->Count(); ++i) {
        TRow& row = *results_->RowAt(i);
        row.*mark = names.contains(row.Name()) && wanted.contains(row.FullPath());
    }
}

int TResultListView::RowOfPath(const std::wstring& path) const {
    for (std::int64_t i = 0; i < results_->Count(); ++i) {
        const TRow& row = *results_->RowAt(i);
        const std::wstring_view whole(path);
        if (whole.size() == row.Folder().size() + row.Name().size() && whole.starts_with(row.Folder()) &&
            whole.substr(row.Folder().size()) == row.Name())
            return static_cast<int>(i);
    }
    return -1;
}

void TResultListView::SelectMarked(bool TRow::*mark) {
    int lowest = -1;
    for (std::int64_t i = 0; i < results_->Count(); ++i) {
        if (!(results_->RowAt(i)->*mark)) continue;
        SetItemState(static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
        if (lowest < 0) lowest = static_cast<int>(i);
    }
    if (lowest > 0) FocusRow(lowest);
}

bool TResultListView::RefreshAfterMove(const std::vector<std::wstring>& rows) {
    if (!results_) return false;
    MarkRows(rows, &TRow::SelectionSnapshot);
    return DropGoneRows(&TRow::SelectionSnapshot);
}

bool TResultListView::DropGoneRows(bool TRow::*mark) {
    if (!results_) return false;
    std::vector<std::wstring> goneFolders;
    bool anyGone = false, anyLeft = false;
    for (std::int64_t i = results_->Count() - 1; i >= 0; --i) {
        TRow* row = results_->RowAt(i);
        if (!(row->*mark)) continue;
        const std::wstring path = row->FullPath();
        if (row->IsDirectory() ? kit::DirectoryExists(path) : kit::FileExists(path)) {
            anyLeft = true;
            continue;
        }
        row->Gone = anyGone = true;
        if (row->IsDirectory()) goneFolders.push_back(path);
    }
    if (anyGone) {
        DeleteGoneRows(goneFolders);
        SelectMarked(mark);
    }
    return anyLeft;
}

// Removes the rows flagged gone and every row inside one of `goneFolders`; the selection is cleared, as the items'
// indexes no longer name the same rows.
void TResultListView::DeleteGoneRows(const std::vector<std::wstring>& goneFolders) {
    if (!goneFolders.empty()) {
        results_->MarkGoneIn([&goneFolders](const std::wstring& folder) {
            return std::any_of(goneFolders.begin(), goneFolders.end(),
                               [&folder](const std::wstring& gone) { return PathIsInside(folder, gone); });
        });
    }
    const kit::RedrawOff redraw(hwnd());
    SetItemState(AllItems, 0, LVIS_SELECTED | LVIS_FOCUSED);
    results_->DeleteGoneRows();
    UpdateItemCount();
}

void TResultListView::RemoveSelectedFromList() {
    RunFileAction([this] {
        const std::vector<int> selected = SelectedIndexes();
        if (selected.empty()) return;
        for (int index : selected)
            if (TRow* row = results_->RowAt(index)) row->Gone = true;  // an item may outlast its row until recounted
        DeleteGoneRows({});
        const int lowest = selected.front();
        if (lowest > 0 && lowest < results_->Count()) FocusRow(lowest);
    });
}

// The list holds one selected row at most when it is single-select: there Select All and Invert Selection would
// select each row in turn and leave only the last one selected, so they do nothing.
void TResultListView::SelectAll() {
    if (SelectionHeld() || (GetWindowLongPtrW(hwnd(), GWL_STYLE) & LVS_SINGLESEL)) return;
    SetItemState(AllItems, LVIS_SELECTED, LVIS_SELECTED);
}

void TResultListView::InvertSelection() {
    if (SelectionHeld() || (GetWindowLongPtrW(hwnd(), GWL_STYLE) & LVS_SINGLESEL)) return;
    const auto count = static_cast<int>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0));
    const kit::RedrawOff redraw(hwnd());
    for (int i = 0; i < count; ++i) {
        const auto state = static_cast<UINT>(SendMessageW(hwnd(), LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED));
        SetItemState(i, state & LVIS_SELECTED ? 0 : LVIS_SELECTED, LVIS_SELECTED);
    }
}

void TResultListView::UnselectAll() {
    if (!SelectionHeld()) SetItemState(AllItems, 0, LVIS_SELECTED);
}

void TResultListView::GoToRow(int index) {
    const auto count = static_cast<int>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0));
    if (!results_ || SelectionHeld() || index < 0 || index >= count || index >= results_->Count()) return;
    SetItemState(AllItems, 0, LVIS_SELECTED);
    kit::SelectListItem(hwnd(), index);
}

void TResultListView::OnShortcutKey(WORD key) {
    if (SendMessageW(hwnd(), LVM_GETEDITCONTROL, 0, 0)) return;  // the keys belong to the caption's edit
    const kit::Shortcut pressed{PressedModifiers(), key};
    const bool selection = SendMessageW(hwnd(), LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    if (selection && ShortCuts.Fires(vaCopy, ShortCuts.scCopy, pressed)) CopySelected();
    else if (selection && ShortCuts.Fires(vaCut, ShortCuts.scCut, pressed)) CutSelected();
    else if (selection && ShortCuts.Fires(vaDelete, ShortCuts.scDelete, pressed)) DeleteSelected();
    else if (ShortCuts.Fires(vaSelectAll, ShortCuts.scSelectAll, pressed)) SelectAll();
    else if (ShortCuts.Fires(vaRefresh, ShortCuts.scRefresh, pressed)) InvalidateRect(hwnd(), nullptr, TRUE);
}

} // namespace results
