// What the list does with the files behind the selected rows: the clipboard, the shell's copy, move and delete,
// shortcuts, the property sheet, opening a file and the start of a drag.
#include "results/listview/ResultListView.h"

#include "engine/FileTypesGroups.h"
#include "kit/Interaction.h"
#include "kit/ModalWait.h"
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
    const std::wstring ext(row.ExtText());
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

bool TResultListView::SelectionHeld() const { return fileActionsRunning_ > 0 || kit::ModalWaiting(); }

bool TResultListView::FileActionsRefused() const { return !results_ || SelectionHeld() || (Busy && Busy()); }

// One file action at a time, and none inside a modal wait (a menu's, another program window's): the prompts, the
// shell's questions and the menus run message loops, where a second action or the cut-refresh tick would remove
// rows under the first.
void TResultListView::RunFileAction(const std::function<void()>& action) {
    if (FileActionsRefused()) return;
    const kit::ScopedIncrement running(fileActionsRunning_);
    action();
}

std::vector<std::wstring> TResultListView::SelectedPaths() const { return ChosenTargets().paths; }

TResultListView::TFileTargets TResultListView::ChosenTargets() const {
    std::vector<TSelectedEntry> selected;
    TFileTargets targets;
    for (int index : SelectedIndexes()) {
        const TRow* row = results_->RowAt(index);
        if (!row) continue;
        selected.push_back({row->FullPath(), row->IsDirectory()});
        targets.rows.push_back(selected.back().path);
    }
    targets.paths = SelectedPathList(selected);
    return targets;
}

// The shell asks its questions and shows its errors in a loop of its own: a modal wait, whoever answers it.
bool TResultListView::RunFileOperation(UINT function, const std::wstring& from, const std::wstring& to,
                                       FILEOP_FLAGS flags) {
    const kit::ModalWait wait(hwnd());
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

// Checks every 2 s whether the cut files were moved away (pasted elsewhere) until no row is marked cut. Never inside
// a file action or a modal wait, where it would drop rows and change the selection under what waits: a tick that
// comes there passes, and the next one after the wait checks.
void TResultListView::OnCutRefreshTimer() {
    if (FileActionsRefused()) return;
    const kit::ScopedIncrement running(fileActionsRunning_);
    KillTimer(hwnd(), CutRefreshTimer);
    if (DropGoneRows(&TRow::Cut)) SetTimer(hwnd(), CutRefreshTimer, CutRefreshInterval, nullptr);
}

// Each action below decides its targets (ChosenTargets) before its first prompt or question, and works on those
// alone: whatever the selection is once the person has answered, it is not what the person chose.

void TResultListView::CopySelectedToFolder() {
    RunFileAction([this] {
        const TFileTargets targets = ChosenTargets();
        std::wstring folder;
        if (!AskDestination(L"Copy to Folder", folder)) return;
        HourglassCursor wait;
        if (targets.paths.empty()) return;
        RunFileOperation(FO_COPY, PathListText(targets.paths), PathListText({folder}), ToFolderFlags);
    });
}

void TResultListView::MoveSelectedToFolder() {
    RunFileAction([this] {
        const TFileTargets targets = ChosenTargets();
        std::wstring folder;
        if (!AskDestination(L"Move to Folder", folder)) return;
        HourglassCursor wait;
        if (targets.paths.empty()) return;
        // Without FOF_NOCONFIRMATION: a same-named file in the folder is replaced only when the person says so.
        RunFileOperation(FO_MOVE, PathListText(targets.paths), PathListText({folder}), ToFolderFlags);
        RefreshAfterMove(targets.rows);
    });
}

void TResultListView::DeleteSelected() {
    RunFileAction([this] {
        const TFileTargets targets = ChosenTargets();
        if (targets.paths.empty()) return;
        HourglassCursor wait;
        // To the recycle bin; the shell asks. Whatever its answer, a refresh drops the rows of the files that went:
        // a delete that fails or is cancelled part-way has still removed some.
        RunFileOperation(FO_DELETE, PathListText(targets.paths), {}, FOF_ALLOWUNDO);
        RefreshAfterMove(targets.rows);
    });
}

void TResultListView::CreateShortcutsOfSelected() {
    RunFileAction([this] {
        const TFileTargets targets = ChosenTargets();
        std::wstring folder;
        if (!FolderPrompts.SelectShortcutFolder ||
            FolderPrompts.SelectShortcutFolder(L"Create Shortcut", L"On the Desktop", L"In Source Folder", folder,
                                               L"in Selected Folder") != IDOK)
            return;
        HourglassCursor wait;
        for (const std::wstring& target : targets.rows) {
            const std::wstring targetFolder = kit::ExtractFilePath(target);
            CreateShortcutIn(folder.empty() ? targetFolder : folder, target, targetFolder);
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
    // Copied: the shell's error box after a failed first verb is a loop, after which the row may be gone.
    const std::wstring name(row->Name());
    const std::wstring folder = row->Folder();
    const auto run = [&](const wchar_t* verb) {
        return kit::UserInteraction().ShellExecuteVerb(hwnd(), {verb, name, L"", folder, SW_SHOWNORMAL});
    };
    const wchar_t* first = playFirst ? L"Play" : L"Open";
    const wchar_t* second = playFirst ? L"Open" : L"Play";
    if (run(first) <= 32) run(second);
}

void TResultListView::OnDoubleClick(int index) {
    TRow* row = results_ && index >= 0 ? results_->RowAt(index) : nullptr;
    if (row) OpenRow(index, IsPlayable(*row));
}

// Refused inside a modal wait, as every file action: no drag starts from a menu's or a dialog's loop.
void TResultListView::OnDragBegin() {
    RunFileAction([this] {
        if (!OnDragRequest) return;
        const TFileTargets targets = ChosenTargets();
        if (targets.paths.empty() || !OnDragRequest(targets.paths)) return;
        RefreshAfterMove(targets.rows);
    });
}

} // namespace results
