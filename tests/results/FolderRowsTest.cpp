// A folder with ten thousand rows below it: renamed, they follow it; moved or deleted, they leave the list with
// it. The rows of a sibling folder whose name begins the same ("A" and "AB") stay as they were either way.
#include "tests/results/FileActionsFixture.h"

#include "kit/Files.h"

#include <functional>

using namespace results;
using resultstest::FileActionsTest;

namespace {

constexpr int ChildRows = 10000;  // half in "A", half in "A\sub"
constexpr int SiblingRows = 1000;

class FolderRowsTest : public FileActionsTest {
protected:
    // Rows, in this order: the folder "A" (on disk, with "in.txt"), the rows inside it (the files not on disk:
    // only the folder's own row is looked for), "AB\y.txt" and the rows of "AB", and "x.txt" beside both.
    // Returns every row's path, as added.
    std::vector<std::wstring> MakeRows() {
        table_.Clear();
        testsupport::RemoveTree(folder_ / L"A");
        testsupport::RemoveTree(folder_ / L"AB");
        std::vector<std::wstring> paths = {AddFolder(L"A"), AddFile(L"A\\in.txt")};
        const auto addRows = [&](const std::wstring& folder, int count) {
            for (int i = 0; i < count; ++i) {
                const std::wstring name = L"row" + std::to_wstring(i) + L".txt";
                table_.AddRow(table_.Count() + 1, -1, {engine::saArchive}, 40000, 40000, 40000, 1, L"", folder, -1,
                              name, -1);
                paths.push_back(folder + name);
            }
        };
        addRows(folder_ / L"A\\", ChildRows / 2);
        addRows(folder_ / L"A\\sub\\", ChildRows / 2);
        paths.push_back(AddFile(L"AB\\y.txt"));
        addRows(folder_ / L"AB\\", SiblingRows);
        paths.push_back(AddFile(L"x.txt"));
        List().UpdateItemCount();
        return paths;
    }
};

} // namespace

TEST_F(FolderRowsTest, RowsInsideAFolderFollowItsRenameAndLeaveWithItsMoveOrDelete) {
    const std::wstring folder = folder_ / L"A";
    const std::wstring renamed = folder_ / L"Renamed";
    const std::wstring destination = folder_ / L"dest";
    struct Case {
        const char* what;
        std::function<void(TResultListView&)> action;
        std::function<void()> shell;  // what the shell does to the folder
        bool follow;                  // the rows inside follow the folder (else they leave the list)
    };
    const Case cases[] = {
        {"rename", [](TResultListView& list) { list.RenameSelected(); },
         [&] { MoveFileW(folder.c_str(), renamed.c_str()); }, true},
        {"move", [](TResultListView& list) { list.MoveSelectedToFolder(); },
         [&] { MoveFileW(folder.c_str(), (destination + L"\\A").c_str()); }, false},
        {"delete", [](TResultListView& list) { list.DeleteSelected(); },
         [&] { testsupport::RemoveTree(folder); }, false},
    };
    List().SetFileOperation(&fakeShell_);
    destination_ = destination;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::RemoveTree(renamed);
        testsupport::RemoveTree(destination);
        kit::ForceDirectories(destination);
        const std::vector<std::wstring> before = MakeRows();
        std::vector<std::wstring> expected;
        for (const std::wstring& path : before) {
            const bool inside = path == folder || path.starts_with(folder + L"\\");
            if (!inside) expected.push_back(path);
            else if (c.follow) expected.push_back(renamed + path.substr(folder.size()));
        }
        fakeShell_.effect = c.shell;
        person_.promptAnswers = {std::wstring(L"Renamed")};
        Select({0});
        c.action(List());
        EXPECT_EQ(RowPaths(), expected);
    }
}
