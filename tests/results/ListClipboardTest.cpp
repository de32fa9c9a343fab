// Cut and copy of result files to the clipboard, the rows a cut marks, the refresh that drops them once their
// files were moved away, and the list's shortcut keys.
#include "tests/results/FileActionsFixture.h"

#include "kit/Files.h"
#include "kit/Strings.h"
#include "results/listview/ListClipboard.h"
#include "tests/support/HeldKeys.h"

#include <commctrl.h>

using namespace results;
using resultstest::ClipboardFiles;
using resultstest::FileActionsTest;
using testsupport::ClipboardText;
using testsupport::HeldKeys;
using testsupport::PutTextOnClipboard;

namespace {

class ListClipboardTest : public FileActionsTest {};

} // namespace

TEST_F(ListClipboardTest, CopyReplacesTheClipboardWithAFileDropOfTheSelectedFiles) {
    const std::wstring a = AddFile(L"a.txt"), b = AddFile(L"b.txt");
    AddFile(L"c.txt");
    PutTextOnClipboard(L"earlier");
    Select({0, 1});
    List().CopySelected();

    const ClipboardFiles files = ReadClipboardFiles();
    EXPECT_EQ(files.paths, (std::vector<std::wstring>{a, b}));
    ASSERT_TRUE(files.dropEffect.has_value());
    EXPECT_EQ(*files.dropEffect, DropEffectCopy);
    const size_t characters = a.size() + 1 + b.size() + 1 + 1;
    EXPECT_EQ(files.blockSize, 20 + 2 * characters);
    EXPECT_EQ(files.filesOffset, 20u);
    EXPECT_TRUE(files.wide);
    EXPECT_EQ(files.owner, ListHwnd());
    EXPECT_EQ(ClipboardText(), std::nullopt) << "the earlier text is gone";
    EXPECT_FALSE(ItemIsCut(0)) << "a copy marks nothing";
}

TEST_F(ListClipboardTest, CutMarksTheSelectedRowsAndAsksForAMove) {
    const auto [folder, sibling] = AddFolderAndSibling();
    AddFile(L"other.txt");
    Select({0, 1, 3});
    List().CutSelected();

    const ClipboardFiles files = ReadClipboardFiles();
    EXPECT_EQ(files.paths, (std::vector<std::wstring>{folder, sibling})) << "the folder stands for its file";
    ASSERT_TRUE(files.dropEffect.has_value());
    EXPECT_EQ(*files.dropEffect, DropEffectMove);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ItemIsCut(i), i != 2 && i != 4) << i;
}

TEST_F(ListClipboardTest, NothingSelectedLeavesTheClipboardAlone) {
    AddFile(L"a.txt");
    PutTextOnClipboard(L"earlier");
    Select({});
    List().CopySelected();
    List().CutSelected();
    EXPECT_EQ(ClipboardText(), L"earlier");
    EXPECT_FALSE(ItemIsCut(0));
}

// The cut files pasted elsewhere (here: moved by another program) leave the list at the next check, and so do the
// rows inside a cut folder; a folder whose name merely begins the same stays.
TEST_F(ListClipboardTest, RowsOfCutFilesMovedAwayLeaveWithinTheRefresh) {
    const auto [folder, sibling] = AddFolderAndSibling();
    const std::wstring file = AddFile(L"x.txt");
    const std::wstring other = AddFile(L"other.txt");
    const std::wstring elsewhere = folder_ / L"elsewhere\\";
    kit::ForceDirectories(elsewhere);
    Select({0, 4});
    List().CutSelected();

    ASSERT_TRUE(MoveFileW(file.c_str(), (elsewhere + L"x.txt").c_str()));
    ASSERT_TRUE(MoveFileW(folder.c_str(), (elsewhere + L"A").c_str()));
    EXPECT_TRUE(PumpUntil(2500, [&] { return RowPaths().size() == 2; }));
    EXPECT_EQ(RowPaths(), (std::vector<std::wstring>{sibling, other}));
}

// A later action on another row takes its own snapshot (or, refused, none): the cut's rows stay the cut's, and
// the refresh stops once no row is marked cut any more.
TEST_F(ListClipboardTest, ACutKeepsItsRowsThroughLaterFileActions) {
    struct Case {
        const char* what;
        std::function<void()> act;  // on row 1, B
    };
    const Case cases[] = {
        {"a delete answered No",
         [&] {
             fakeShell_.answer.aborted = true;
             List().DeleteSelected();
         }},
        {"a move to a folder", [&] { List().MoveSelectedToFolder(); }},
        {"a drag that ended in a move",
         [&] {
             List().OnDragRequest = [](const std::vector<std::wstring>&) { return true; };
             NMLISTVIEW begin{};
             begin.hdr = {ListHwnd(), testsupport::ListTestWindow::ListId, LVN_BEGINDRAG};
             begin.iItem = 1;
             SendMessageW(window_->hwnd(), WM_NOTIFY, begin.hdr.idFrom, reinterpret_cast<LPARAM>(&begin));
         }},
    };
    destination_ = folder_ / L"destination";
    List().SetFileOperation(&fakeShell_);  // touches no file: B stays
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring a = AddFile(L"a.txt"), b = AddFile(L"b.txt");
        fakeShell_ = {};
        Select({0});
        List().CutSelected();
        Select({1});
        c.act();
        ASSERT_TRUE(MoveFileW(a.c_str(), (folder_ / L"pasted.txt").c_str()));  // pasted elsewhere
        EXPECT_TRUE(PumpUntil(2500, [&] { return RowPaths() == std::vector<std::wstring>{b}; }));
        EXPECT_FALSE(KillTimer(ListHwnd(), TResultListView::CutRefreshTimer)) << "no row is marked cut any more";
        table_.Clear();
        List().UpdateItemCount();
        DeleteFileW(b.c_str());
        DeleteFileW((folder_ / L"pasted.txt").c_str());
    }
}

TEST_F(ListClipboardTest, TheRefreshWaitsWhileTheListIsBusy) {
    const std::wstring file = AddFile(L"x.txt");
    Select({0});
    List().CutSelected();
    bool busy = true;
    List().Busy = [&] { return busy; };
    ASSERT_TRUE(MoveFileW(file.c_str(), (folder_ / L"moved.txt").c_str()));
    EXPECT_FALSE(PumpUntil(2500, [&] { return RowPaths().empty(); })) << "no row leaves during a search";
    busy = false;
    EXPECT_TRUE(PumpUntil(2500, [&] { return RowPaths().empty(); }));
}

TEST_F(ListClipboardTest, TheListsShortcutKeys) {
    struct Case {
        const char* what;
        std::vector<BYTE> held;
        WORD key;
        bool selection;
        std::optional<DWORD> effect;  // on the clipboard afterwards
        size_t deletes;               // file operations asked
        std::vector<int> selected;    // afterwards
    };
    const Case cases[] = {
        {"Ctrl+C", {VK_CONTROL}, 'C', true, DropEffectCopy, 0, {0}},
        {"Ctrl+X", {VK_CONTROL}, 'X', true, DropEffectMove, 0, {0}},
        {"Del", {}, VK_DELETE, true, std::nullopt, 1, {0}},
        {"Ctrl+A", {VK_CONTROL}, 'A', true, std::nullopt, 0, {0, 1, 2}},
        {"Ctrl+C without a selection", {VK_CONTROL}, 'C', false, std::nullopt, 0, {}},
        {"Del without a selection", {}, VK_DELETE, false, std::nullopt, 0, {}},
        {"Ctrl+A without a selection", {VK_CONTROL}, 'A', false, std::nullopt, 0, {0, 1, 2}},
        {"C alone", {}, 'C', true, std::nullopt, 0, {0}},
        {"Shift+Del", {VK_SHIFT}, VK_DELETE, true, std::nullopt, 0, {0}},
    };
    for (int i = 0; i < 3; ++i) AddFile(kit::Format(L"f%d.txt", i));
    List().SetFileOperation(&fakeShell_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PutTextOnClipboard(L"earlier");
        fakeShell_.requests.clear();
        Select(c.selection ? std::vector<int>{0} : std::vector<int>{});
        {
            const HeldKeys held(c.held);
            SendMessageW(ListHwnd(), WM_KEYDOWN, c.key, 0);
        }
        EXPECT_EQ(ReadClipboardFiles().dropEffect, c.effect);
        EXPECT_EQ(fakeShell_.requests.size(), c.deletes);
        EXPECT_EQ(Selected(), c.selected);
    }
}

TEST_F(ListClipboardTest, TheWindowsKeysAndActionsTakenOutOfTheSetDoNothingInTheList) {
    for (int i = 0; i < 3; ++i) AddFile(kit::Format(L"f%d.txt", i));
    List().SetFileOperation(&fakeShell_);
    const auto press = [&](const std::vector<BYTE>& held, WORD key) {
        PutTextOnClipboard(L"earlier");
        Select({0});
        const HeldKeys keys(held);
        SendMessageW(ListHwnd(), WM_KEYDOWN, key, 0);
    };
    const auto nothingRan = [&] {
        return ClipboardText() == L"earlier" && fakeShell_.requests.empty() && person_.prompts.empty() &&
               Selected() == std::vector<int>{0};
    };
    // Paste, Open, View (the window's find), New Folder, Back, Rename and Find File belong to the window.
    struct Case { const char* what; std::vector<BYTE> held; WORD key; };
    const Case cases[] = {{"Ctrl+V", {VK_CONTROL}, 'V'}, {"Ctrl+O", {VK_CONTROL}, 'O'}, {"Ctrl+F", {VK_CONTROL}, 'F'},
                          {"Ctrl+N", {VK_CONTROL}, 'N'}, {"Backspace", {}, VK_BACK},      {"F2", {}, VK_F2},
                          {"F3", {}, VK_F3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        press(c.held, c.key);
        EXPECT_TRUE(nothingRan());
    }
    List().ShortCuts.Actions.reset(vaSelectAll);
    press({VK_CONTROL}, 'A');
    EXPECT_TRUE(nothingRan()) << "Select All is out of the set";
    // Another key for an action runs it, and the old key no longer does.
    List().ShortCuts.scCopy = {FCONTROL, VK_INSERT};
    press({VK_CONTROL}, 'C');
    EXPECT_TRUE(nothingRan());
    press({VK_CONTROL}, VK_INSERT);
    EXPECT_EQ(ReadClipboardFiles().dropEffect, DropEffectCopy);
}
