#pragma once
// The result list over real files in a temporary folder, with the person, the destination prompts and (where a
// test wants it) the shell's file operation answered by the test.
#include "results/listview/ShellFileOperation.h"
#include "tests/results/ListViewFixture.h"
#include "tests/support/ClipboardText.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace resultstest {

// Records each request and gives one answer; touches no file but what `effect` does.
class FakeFileOperation : public results::TFileOperation {
public:
    std::vector<results::TFileOperationRequest> requests;
    results::TFileOperationAnswer answer;
    std::function<void()> effect;  // what the shell did before it answered
    results::TFileOperationAnswer Run(HWND, const results::TFileOperationRequest& request) override {
        requests.push_back(request);
        if (effect) effect();
        return answer;
    }
};

// What the clipboard holds as a file drop.
struct ClipboardFiles {
    std::vector<std::wstring> paths;  // read with DragQueryFileW
    size_t blockSize = 0;
    DWORD filesOffset = 0;            // DROPFILES.pFiles
    bool wide = false;
    std::optional<DWORD> dropEffect;  // "Preferred DropEffect"
    HWND owner = nullptr;
};

class FileActionsTest : public ListViewTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file (with `content`) or a folder under the temporary folder, made on disk and added as a row.
    std::wstring AddFile(const std::wstring& relative, const std::string& content = "x");
    std::wstring AddFolder(const std::wstring& relative);
    // Rows 0 to 3: the folder "A", "A\in.txt", "A\sub\deep.txt", and "AB\y.txt" beside the folder, whose name
    // begins the same.
    struct FolderAndSibling {
        std::wstring folder;
        std::wstring sibling;  // AB\y.txt
    };
    FolderAndSibling AddFolderAndSibling();
    // Exactly these items selected, the first one focused.
    void Select(const std::vector<int>& indexes);
    std::vector<int> Selected() const;
    std::vector<std::wstring> RowPaths() const;  // Folder + Name of every row, top to bottom
    bool ItemIsCut(int index) const;
    // Runs the list's timers and messages for up to `milliseconds`, until `condition` holds; whether it did.
    bool PumpUntil(int milliseconds, const std::function<bool()>& condition);

    static ClipboardFiles ReadClipboardFiles();

    testsupport::TempFolder folder_;
    testsupport::FakeInteraction person_;
    FakeFileOperation fakeShell_;
    // The destination prompts answer OK with these folders, and count how often they were asked.
    std::wstring destination_;
    std::vector<std::wstring> shortcutFolders_;  // one a prompt, in order; Cancel when none is left
    int destinationPrompts_ = 0;
    std::vector<std::wstring> destinationCaptions_;
    int shortcutPrompts_ = 0;
};

} // namespace resultstest
