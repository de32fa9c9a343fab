#include "tests/results/FileActionsFixture.h"

#include "kit/Files.h"
#include "kit/Strings.h"

#include <shellapi.h>
#include <shlobj.h>

#include <chrono>
#include <cstring>

using namespace results;

namespace resultstest {

void FileActionsTest::SetUp() {
    ListViewTest::SetUp();
    List().FolderPrompts.SelectFolder = [this](const std::wstring& caption, const std::wstring&, std::wstring& folder) {
        ++destinationPrompts_;
        destinationCaptions_.push_back(caption);
        folder = destination_;
        return IDOK;
    };
    List().FolderPrompts.SelectShortcutFolder = [this](const std::wstring&, const std::wstring&, const std::wstring&,
                                                       std::wstring& folder, const std::wstring&) {
        ++shortcutPrompts_;
        if (shortcutFolders_.empty()) return IDCANCEL;
        folder = shortcutFolders_.front();
        shortcutFolders_.erase(shortcutFolders_.begin());
        return IDOK;
    };
}

void FileActionsTest::TearDown() {
    KillTimer(ListHwnd(), TResultListView::CutRefreshTimer);
    ListViewTest::TearDown();
}

std::wstring FileActionsTest::AddFile(const std::wstring& relative, const std::string& content) {
    const std::wstring path = folder_ / relative;
    kit::ForceDirectories(kit::ExtractFilePath(path));
    testsupport::WriteBytes(path, content);
    table_.AddRow(table_.Count() + 1, -1, {engine::saArchive}, 40000, 40000, 40000, content.size(), L"",
                  kit::ExtractFilePath(path), -1, kit::ExtractFileName(path), -1);
    List().UpdateItemCount();
    return path;
}

std::wstring FileActionsTest::AddFolder(const std::wstring& relative) {
    const std::wstring path = folder_ / relative;
    kit::ForceDirectories(path);
    table_.AddRow(table_.Count() + 1, -1, {engine::saDirectory}, 40000, 40000, 40000, 0, L"",
                  kit::ExtractFilePath(path), -1, kit::ExtractFileName(path), -1);
    List().UpdateItemCount();
    return path;
}

FileActionsTest::FolderAndSibling FileActionsTest::AddFolderAndSibling() {
    FolderAndSibling added;
    added.folder = AddFolder(L"A");
    AddFile(L"A\\in.txt");
    AddFile(L"A\\sub\\deep.txt");
    added.sibling = AddFile(L"AB\\y.txt");
    return added;
}

void FileActionsTest::Select(const std::vector<int>& indexes) {
    LVITEMW clear{};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(ListHwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    for (size_t i = 0; i < indexes.size(); ++i) {
        LVITEMW item{};
        item.state = LVIS_SELECTED | (i == 0 ? LVIS_FOCUSED : 0);
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(ListHwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(indexes[i]), reinterpret_cast<LPARAM>(&item));
    }
}

std::vector<int> FileActionsTest::Selected() const {
    std::vector<int> indexes;
    for (int i = -1; (i = static_cast<int>(SendMessageW(ListHwnd(), LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
        indexes.push_back(i);
    return indexes;
}

std::vector<std::wstring> FileActionsTest::RowPaths() const {
    std::vector<std::wstring> paths;
    const auto count = static_cast<int>(SendMessageW(ListHwnd(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) paths.push_back(Cell(i, tcFolder) + Cell(i, tcName));
    return paths;
}

bool FileActionsTest::ItemIsCut(int index) const {
    return (SendMessageW(ListHwnd(), LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_CUT) & LVIS_CUT) != 0;
}

bool FileActionsTest::PumpUntil(int milliseconds, const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    return true;
}

ClipboardFiles FileActionsTest::ReadClipboardFiles() {
    ClipboardFiles files;
    files.owner = GetClipboardOwner();
    if (!OpenClipboard(nullptr)) return files;
    if (HANDLE drop = GetClipboardData(CF_HDROP)) {
        files.blockSize = GlobalSize(drop);
        if (const auto* header = static_cast<const DROPFILES*>(GlobalLock(drop))) {
            files.filesOffset = header->pFiles;
            files.wide = header->fWide != FALSE;
            GlobalUnlock(drop);
        }
        const auto hdrop = static_cast<HDROP>(drop);
        const UINT count = DragQueryFileW(hdrop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            wchar_t path[MAX_PATH * 2] = L"";
            DragQueryFileW(hdrop, i, path, MAX_PATH * 2);
            files.paths.emplace_back(path);
        }
    }
    if (HANDLE effect = GetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"))) {
        files.dropEffect = *static_cast<const DWORD*>(GlobalLock(effect));
        GlobalUnlock(effect);
    }
    CloseClipboard();
    return files;
}

} // namespace resultstest
