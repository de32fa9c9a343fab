// Rename of the selected rows' files and folders through the shell, one prompt a row.
#include "results/listview/ResultListView.h"

#include "kit/Files.h"
#include "kit/Interaction.h"
#include "kit/Strings.h"
#include "results/listview/HourglassCursor.h"
#include "results/listview/SelectedPaths.h"

namespace results {
namespace {

// A name the file system keeps as typed: not empty, no path pieces, none of the characters names cannot hold,
// and no blank or dot at the end (Windows drops those, and the row would show a name no file has).
bool IsUsableName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    if (name.back() == L' ' || name.back() == L'.') return false;
    for (wchar_t c : name)
        if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
    return true;
}

} // namespace

// The rows chosen are held by their paths, never by index or pointer: each prompt and the shell's rename are loops,
// after which an index may name another row.
void TResultListView::RenameSelected() {
    RunFileAction([this] {
        std::vector<std::wstring> paths = ChosenTargets().rows;
        for (size_t i = 0; i < paths.size(); ++i) {
            const std::wstring newPath = RenameRowOf(paths[i]);
            if (newPath.empty()) continue;
            // A chosen entry inside a renamed folder is asked for under the folder's new name.
            for (size_t later = i + 1; later < paths.size(); ++later)
                if (PathIsInside(paths[later], paths[i])) paths[later] = newPath + paths[later].substr(paths[i].size());
        }
        InvalidateRect(hwnd(), nullptr, TRUE);
    });
}

// Asks until the person gives a name the entry `oldName` in `folder` can take, or cancels (false, also for the
// same name).
bool TResultListView::AskNewName(const std::wstring& folder, const std::wstring& oldName, std::wstring& name) const {
    kit::Interaction& person = kit::UserInteraction();
    for (;;) {
        if (!person.InputQuery(hwnd(), L"Rename File", L"New Name", name) || name == oldName) return false;
        if (!IsUsableName(name)) {
            person.ShowMessage(hwnd(), L"A file name cannot be empty, end in a blank or a dot, or hold any of "
                                       L"the characters \\ / : * ? \" < > |.",
                               kit::MessageType::Warning, kit::MessageButtons::Ok);
            continue;
        }
        // A change of letter case names the row's own file, which is no other file of that name.
        if (!kit::SameText(name, oldName) && kit::PathExists(folder + name)) {
            person.ShowMessage(hwnd(), L"A File or Directory with this name: " + kit::QuotedString(name) +
                                           L" already exists.",
                               kit::MessageType::Warning, kit::MessageButtons::Ok);
            continue;
        }
        return true;
    }
}

std::wstring TResultListView::RenameRowOf(const std::wstring& oldPath) {
    const int index = RowOfPath(oldPath);
    if (index < 0) return {};
    const std::wstring folder = results_->RowAt(index)->Folder();
    const std::wstring oldName(results_->RowAt(index)->Name());
    std::wstring name = oldName;
    if (!AskNewName(folder, oldName, name)) return {};
    HourglassCursor wait;
    const std::wstring newPath = folder + name;
    if (!RunFileOperation(FO_RENAME, PathListText({oldPath}), PathListText({newPath}), FOF_ALLOWUNDO)) return {};
    const int renamed = RowOfPath(oldPath);
    if (renamed < 0) return {};
    TRow& row = *results_->RowAt(renamed);
    if (row.IsDirectory()) {
        // The rows inside the folder follow it (their folders' records do); a sibling whose name merely begins
        // the same does not.
        const std::wstring oldPrefix = oldPath + L"\\";
        const std::wstring newPrefix = newPath + L"\\";
        results_->RewriteFolders([&](std::wstring& path) {
            if (PathIsInside(path, oldPath)) path = newPrefix + path.substr(oldPrefix.size());
        });
    }
    results_->RenameRow(row, name);
    // The match list holds the old texts.
    if (findMatch_) findMatch_->MarkStale();
    return newPath;
}

} // namespace results
