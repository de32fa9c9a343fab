// What the list does with the files behind the selected rows: the clipboard, the shell's copy, move and delete,
// shortcuts, the property sheet, opening a file and the start of a drag.
#include "results/listview/ResultListView.h"

#include "engine/FileTypesGroups.h"
#include "kit/Interaction.h"
#include "kit/Scope.h"
#include "kit/Strings.h"
#include "results/listview/FileShortcuts.h"
#include "results/listview/HourglassCursor.h"
#include "results/listview/ListClipboard.h"
#include "results/listview/SelectedPaths.h"

namespace results {
namespace {

constexpr FILEOP_FLAGS ToFolderFlags = FOF_ALLOWUNDO | FOF_FILESONLY | FOF_NOCONFIRMMKDIR;

// Audio and video files are played rather than opened.
bool IsPlayable(TRow& row) {
    static const engine::TFileTypesGroups groups;
    const std::wstring& ext = row.ExtText();
    return !ext.empty() && (groups.ExtensionsAudio.HasExtension(ext) || groups.ExtensionsVideo.HasExtension(ext));
}

// The selected files on the clipboard, to be pasted with `effect`; false when no row is selected.
bool PutSelectionOnClipboard(const TResultListView& list, DWORD effect) {
    const std::vector<std::wstring> paths = list.SelectedPaths();
    if (paths.empty()) return false;
    HourglassCursor wait;
    PutFilesOnClipboard(list.hwnd(), PathListText(paths), effect);
    return true;
}

} // namespace

void TResultListView::SetFileOperation(TFileOperation* operation) {
    fileOperation_ = operation ? operation : &ShellFileOperation();
}

bool TResultListView::FileActionsRefused() const { return !results_ || fileActionsRunning_ > 0 || (Busy && Busy()); }

// One file action at a time: the shell's questions and the prompts run message loops, where a second action or
// the cut-refresh tick would remove rows under the first.
void TResultListView::RunFileAction(const std::function<void()>& action) {
    if (FileActionsRefused()) return;
    const kit::ScopedIncrement running(fileActionsRunning_);
    action();
}

std::vector<std::wstring> TResultListView::SelectedPaths() const {
    std::vector<TSelectedEntry> selected;
    for (int index : SelectedIndexes()) {
        if (const TRow* row = results_->RowAt(index)) selected.push_back({row->Folder + row->Name, row->IsDirectory()});
    }
    return SelectedPathList(selected);
}

bool TResultListView::RunFileOperation(UINT function, const std::wstring& from, const std::wstring& to,
                                       FILEOP_FLAGS flags) {
    return fileOperation_->Run(hwnd(), {function, from, to, flags}).Succeeded();
}

bool TResultListView::AskDestination(const wchar_t* caption, std::wstring& folder) const {
    return FolderPrompts.SelectFolder && FolderPrompts.SelectFolder(caption, L"Destination Folder", folder) == IDOK;
}

void TResultListView::CutSelected() {
    RunFileAction([this] {
        if (!PutSelectionOnClipboard(*this, DropEffectMove)) return;
        // The cut's own mark, which later file actions (each with its snapshot) leave alone.
        MarkSelection(&TRow::Cut);
        InvalidateRect(hwnd(), nullptr, TRUE);
        SetTimer(hwnd(), CutRefreshTimer, CutRefreshInterval, nullptr);
    });
}

void TResultListView::CopySelected() {
    RunFileAction([this] { PutSelectionOnClipboard(*this, DropEffectCopy); });
}

// Checks every 2 s whether the cut files were moved away (pasted elsewhere) until no row is marked cut.
void TResultListView::OnCutRefreshTimer() {
    if (FileActionsRefused()) return;  // the next tick checks
    const kit::ScopedIncrement running(fileActionsRunning_);
    KillTimer(hwnd(), CutRefreshTimer);
    if (DropGoneRows(&TRow::Cut)) SetTimer(hwnd(), CutRefreshTimer, CutRefreshInterval, nullptr);
}

void TResultListView::CopySelectedToFolder() {
    RunFileAction([this] {
        std::wstring folder;
        if (!AskDestination(L"Copy to Folder", folder)) return;
        HourglassCursor wait;
        const std::vector<std::wstring> paths = SelectedPaths();
        if (paths.empty()) return;
        RunFileOperation(FO_COPY, PathListText(paths), PathListText({folder}), ToFolderFlags);
    });
}

void TResultListView::MoveSelectedToFolder() {
    RunFileAction([this] {
        std::wstring folder;
        if (!AskDestination(L"Move to Folder", folder)) return;
        HourglassCursor wait;
        SnapshotSelection();
        const std::vector<std::wstring> paths = SelectedPaths();
        if (paths.empty()) return;
        // Without FOF_NOCONFIRMATION: a same-named file in the folder is replaced only when the person says so.
        RunFileOperation(FO_MOVE, PathListText(paths), PathListText({folder}), ToFolderFlags);
        RefreshAfterMove();
    });
}

void TResultListView::DeleteSelected() {
    RunFileAction([this] {
        const std::vector<std::wstring> paths = SelectedPaths();
        if (paths.empty()) return;
        HourglassCursor wait;
        // To the recycle bin; the shell asks. Whatever its answer, a refresh drops the rows of the files that went:
        // a delete that fails or is cancelled part-way has still removed some.
        RunFileOperation(FO_DELETE, PathListText(paths), {}, FOF_ALLOWUNDO);
        SnapshotSelection();
        RefreshAfterMove();
    });
}

void TResultListView::CreateShortcutsOfSelected() {
    RunFileAction([this] {
        std::wstring folder;
        if (!FolderPrompts.SelectShortcutFolder ||
            FolderPrompts.SelectShortcutFolder(L"Create Shortcut", L"On the Desktop", L"In Source Folder", folder,
                                               L"in Selected Folder") != IDOK)
            return;
        HourglassCursor wait;
        for (int index : SelectedIndexes()) {
            const TRow* row = results_->RowAt(index);
            if (row) CreateShortcutIn(folder.empty() ? row->Folder : folder, row->Folder + row->Name, row->Folder);
        }
    });
}

void TResultListView::ShowPropertiesOfSelected() {
    RunFileAction([this] {
        const std::vector<std::wstring> paths = SelectedPaths();
        if (paths.empty()) return;
        HourglassCursor wait;
        kit::UserInteraction().ShowFileProperties(hwnd(), paths);
    });
}

void TResultListView::OpenFile() { OpenRow(FocusedIndex(), false); }
void TResultListView::PlayFile() { OpenRow(FocusedIndex(), true); }

void TResultListView::OpenRow(int index, bool playFirst) {
    const TRow* row = results_ && index >= 0 ? results_->RowAt(index) : nullptr;
    if (!row) return;
    const auto run = [&](const wchar_t* verb) {
        return kit::UserInteraction().ShellExecuteVerb(hwnd(), {verb, row->Name, L"", row->Folder, SW_SHOWNORMAL});
    };
    const wchar_t* first = playFirst ? L"Play" : L"Open";
    const wchar_t* second = playFirst ? L"Open" : L"Play";
    if (run(first) <= 32) run(second);
}

void TResultListView::OnDoubleClick(int index) {
    TRow* row = results_ && index >= 0 ? results_->RowAt(index) : nullptr;
    if (row) OpenRow(index, IsPlayable(*row));
}

void TResultListView::OnDragBegin() {
    RunFileAction([this] {
        if (!OnDragRequest) return;
        const std::vector<std::wstring> paths = SelectedPaths();
        if (paths.empty() || !OnDragRequest(paths)) return;
        SnapshotSelection();
        RefreshAfterMove();
    });
}

} // namespace results
