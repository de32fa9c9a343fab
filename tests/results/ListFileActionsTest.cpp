// The list's file actions on real files: shortcuts, the shell's copy, move and delete with its questions answered
// from another thread, open and play, the property sheet, the drag request, the selection commands, and every
// action refused while the list is busy.
#include "tests/results/FileActionsFixture.h"

#include "kit/Files.h"
#include "kit/Handles.h"
#include "kit/Strings.h"
#include "tests/support/DialogDriver.h"

#include <shlobj.h>

#include <algorithm>
#include <functional>

using namespace results;
using resultstest::FileActionsTest;
using testsupport::ClipboardText;
using testsupport::PutTextOnClipboard;
using testsupport::FileExists;
using testsupport::ReadBytes;
using testsupport::FolderEntries;

namespace {

class ListFileActionsTest : public FileActionsTest {};

// The target a shortcut file names, read back through the shell's link object.
std::wstring ShortcutTarget(const std::wstring& shortcut) {
    kit::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
        return {};
    const auto file = link.As<IPersistFile>();
    if (!file || FAILED(file->Load(shortcut.c_str(), STGM_READ))) return {};
    wchar_t target[MAX_PATH] = L"";
    link->GetPath(target, MAX_PATH, nullptr, 0);
    return target;
}

// Answers the shell's question with `button` (IDYES, IDNO) from another thread; the caption it had.
std::wstring AnswerShell(const std::function<void()>& action, int button) {
    std::wstring caption;
    testsupport::ShowWithPerson(action, [&](HWND dialog) {
        if (!dialog) return;
        caption = testsupport::TextOf(dialog);
        PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
    });
    return caption;
}

} // namespace

TEST_F(ListFileActionsTest, ShortcutsAreNumberedAndNeverOverwritten) {
    const std::wstring target = AddFile(L"src\\x.txt");
    const std::wstring links = folder_ / L"links";  // chosen without its separator
    kit::ForceDirectories(links);
    Select({0});
    shortcutFolders_ = {links, links, L"", L""};  // twice in the chosen folder, twice in the source folder
    for (int i = 0; i < 4; ++i) List().CreateShortcutsOfSelected();
    const std::vector<std::wstring> made = {L"Shortcut to x.txt(1).lnk", L"Shortcut to x.txt.lnk"};
    EXPECT_EQ(FolderEntries(folder_ / L"links\\"), made);
    std::vector<std::wstring> inSource = made;
    inSource.push_back(L"x.txt");
    EXPECT_EQ(FolderEntries(folder_ / L"src\\"), inSource);
    EXPECT_EQ(FolderEntries(folder_.Path()), (std::vector<std::wstring>{L"links", L"src"})) << "nothing beside";
    for (const std::wstring& folder : {folder_ / L"links\\", folder_ / L"src\\"})
        for (const std::wstring& name : made) {
            SCOPED_TRACE(kit::WideToUtf8(folder + name));
            EXPECT_TRUE(kit::SameText(ShortcutTarget(folder + name), target));
        }
    EXPECT_EQ(shortcutPrompts_, 4);

    // A third one takes the next number and leaves the two there alone.
    testsupport::WriteBytes(folder_ / L"links\\Shortcut to x.txt.lnk", "kept");
    shortcutFolders_ = {links + L"\\"};
    List().CreateShortcutsOfSelected();
    EXPECT_EQ(ReadBytes(folder_ / L"links\\Shortcut to x.txt.lnk"), "kept");
    EXPECT_TRUE(kit::SameText(ShortcutTarget(folder_ / L"links\\Shortcut to x.txt(1).lnk"), target));
    EXPECT_TRUE(kit::SameText(ShortcutTarget(folder_ / L"links\\Shortcut to x.txt(2).lnk"), target));
    List().CreateShortcutsOfSelected();  // cancelled
    EXPECT_EQ(FolderEntries(folder_ / L"links\\").size(), 3u);
}

// Wine asks "Confirm file deletion" with Yes and No only for one file; No cancels.
TEST_F(ListFileActionsTest, DeleteGoesThroughTheShellsQuestion) {
    const std::wstring doomed = AddFile(L"doomed.txt");
    const std::wstring kept = AddFile(L"kept.txt");
    struct Case {
        int button;
        bool deleted;
    };
    for (const Case c : {Case{IDNO, false}, Case{IDYES, true}}) {
        SCOPED_TRACE(c.button);
        Select({0});
        EXPECT_EQ(AnswerShell([&] { List().DeleteSelected(); }, c.button), L"Confirm file deletion");
        EXPECT_EQ(FileExists(doomed), !c.deleted);
        const std::vector<std::wstring> rows =
            c.deleted ? std::vector<std::wstring>{kept} : std::vector<std::wstring>{doomed, kept};
        EXPECT_EQ(RowPaths(), rows);
        EXPECT_TRUE(FileExists(kept));
    }
}

// To the recycle bin, never gone for good, and with the shell's own question: the request says both.
TEST_F(ListFileActionsTest, DeleteAsksTheShellForTheRecycleBin) {
    const std::wstring file = AddFile(L"doomed.txt");
    const std::wstring folder = AddFolder(L"old");
    List().SetFileOperation(&fakeShell_);
    Select({0, 1});
    List().DeleteSelected();
    ASSERT_EQ(fakeShell_.requests.size(), 1u);
    const TFileOperationRequest& request = fakeShell_.requests[0];
    EXPECT_EQ(request.function, static_cast<UINT>(FO_DELETE));
    EXPECT_EQ(request.from, file + L'\0' + folder + std::wstring(2, L'\0'));
    EXPECT_EQ(request.to, L"");
    EXPECT_EQ(request.flags, FOF_ALLOWUNDO);
}

// The shell removed one file, then failed on the other (in use): the removed file's row must not stay.
TEST_F(ListFileActionsTest, ADeleteThatFailsPartWayDropsTheRowsOfWhatWent) {
    const std::wstring gone = AddFile(L"gone.txt");
    const std::wstring locked = AddFile(L"locked.txt");
    List().SetFileOperation(&fakeShell_);
    fakeShell_.effect = [&] { DeleteFileW(gone.c_str()); };
    fakeShell_.answer = {ERROR_SHARING_VIOLATION, false};
    Select({0, 1});
    List().DeleteSelected();
    EXPECT_EQ(RowPaths(), std::vector<std::wstring>{locked});
}

TEST_F(ListFileActionsTest, MoveToFolderDropsTheRowsOfWhatLeft) {
    const std::wstring sibling = AddFolderAndSibling().sibling;
    const std::wstring file = AddFile(L"x.txt", "moved");
    const std::wstring stays = AddFile(L"stays.txt");
    destination_ = folder_ / L"dest";
    kit::ForceDirectories(destination_);
    Select({0, 1, 4});
    List().MoveSelectedToFolder();
    EXPECT_EQ(destinationCaptions_, std::vector<std::wstring>{L"Move to Folder"});
    EXPECT_EQ(RowPaths(), (std::vector<std::wstring>{sibling, stays}));
    EXPECT_EQ(ReadBytes(destination_ + L"\\x.txt"), "moved");
    EXPECT_TRUE(FileExists(destination_ + L"\\A\\sub\\deep.txt"));
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(FileExists(sibling));
}

// The shell is not told to replace without asking; a move the person declined changes nothing.
TEST_F(ListFileActionsTest, MoveOntoASameNamedFileIsTheShellsQuestion) {
    const std::wstring file = AddFile(L"x.txt", "source");
    destination_ = folder_ / L"dest";
    kit::ForceDirectories(destination_);
    testsupport::WriteBytes(destination_ + L"\\x.txt", "destination");
    List().SetFileOperation(&fakeShell_);
    fakeShell_.answer = {0, true};  // answered No
    Select({0});
    List().MoveSelectedToFolder();
    ASSERT_EQ(fakeShell_.requests.size(), 1u);
    const TFileOperationRequest& request = fakeShell_.requests[0];
    EXPECT_EQ(request.function, static_cast<UINT>(FO_MOVE));
    EXPECT_EQ(request.from, file + std::wstring(2, L'\0'));
    EXPECT_EQ(request.to, destination_ + std::wstring(2, L'\0'));
    EXPECT_EQ(request.flags, FOF_ALLOWUNDO | FOF_FILESONLY | FOF_NOCONFIRMMKDIR);
    EXPECT_EQ(ReadBytes(file), "source");
    EXPECT_EQ(ReadBytes(destination_ + L"\\x.txt"), "destination");
    EXPECT_EQ(RowPaths(), std::vector<std::wstring>{file});
}

TEST_F(ListFileActionsTest, CopyToFolderKeepsTheRowsAndAsksBeforeReplacing) {
    const std::wstring file = AddFile(L"x.txt", "source");
    destination_ = folder_ / L"dest";
    kit::ForceDirectories(destination_);
    Select({0});
    List().CopySelectedToFolder();
    EXPECT_EQ(destinationCaptions_, std::vector<std::wstring>{L"Copy to Folder"});
    EXPECT_EQ(ReadBytes(destination_ + L"\\x.txt"), "source");

    testsupport::WriteBytes(destination_ + L"\\x.txt", "destination");
    EXPECT_EQ(AnswerShell([&] { List().CopySelectedToFolder(); }, IDNO), L"Confirm file overwrite");
    EXPECT_EQ(ReadBytes(destination_ + L"\\x.txt"), "destination");
    EXPECT_EQ(ReadBytes(file), "source");
    EXPECT_EQ(RowPaths(), std::vector<std::wstring>{file});
}

TEST_F(ListFileActionsTest, EveryFileActionIsRefusedWhileTheListIsBusy) {
    struct Case {
        const char* what;
        std::function<void(TResultListView&)> run;
    };
    const Case cases[] = {
        {"cut", [](TResultListView& l) { l.CutSelected(); }},
        {"copy", [](TResultListView& l) { l.CopySelected(); }},
        {"copy to folder", [](TResultListView& l) { l.CopySelectedToFolder(); }},
        {"move to folder", [](TResultListView& l) { l.MoveSelectedToFolder(); }},
        {"create shortcut", [](TResultListView& l) { l.CreateShortcutsOfSelected(); }},
        {"delete", [](TResultListView& l) { l.DeleteSelected(); }},
        {"rename", [](TResultListView& l) { l.RenameSelected(); }},
        {"remove from list", [](TResultListView& l) { l.RemoveSelectedFromList(); }},
        {"properties", [](TResultListView& l) { l.ShowPropertiesOfSelected(); }},
    };
    const std::wstring file = AddFile(L"x.txt", "content");
    destination_ = folder_ / L"dest";
    kit::ForceDirectories(destination_);
    shortcutFolders_.assign(std::size(cases), destination_);
    person_.promptAnswers.assign(std::size(cases), std::wstring(L"renamed.txt"));
    List().SetFileOperation(&fakeShell_);
    List().Busy = [] { return true; };
    PutTextOnClipboard(L"earlier");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Select({0});
        c.run(List());
        EXPECT_EQ(RowPaths(), std::vector<std::wstring>{file});
        EXPECT_EQ(ReadBytes(file), "content");
        EXPECT_FALSE(ItemIsCut(0));
    }
    EXPECT_EQ(ClipboardText(), L"earlier");
    EXPECT_TRUE(fakeShell_.requests.empty());
    EXPECT_EQ(destinationPrompts_ + shortcutPrompts_, 0);
    EXPECT_TRUE(person_.prompts.empty());
    EXPECT_TRUE(person_.propertySheets.empty());
    EXPECT_EQ(FolderEntries(destination_ + L"\\"), std::vector<std::wstring>{});
}

TEST_F(ListFileActionsTest, OpenAndPlayThroughTheShell) {
    AddFile(L"a.txt");
    AddFile(L"song.mp3");
    AddFile(L"clip.AVI");
    const auto doubleClickOn = [this](int index) {
        return [this, index] {
            RECT bounds{LVIR_BOUNDS};
            SendMessageW(ListHwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&bounds));
            SendMessageW(ListHwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(bounds.left + 30, (bounds.top + bounds.bottom) / 2));
        };
    };
    const auto blankSpace = [this] {
        SendMessageW(ListHwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 300));
    };
    struct Case {
        const char* what;
        std::function<void()> act;
        INT_PTR shellResult;
        std::vector<std::wstring> verbs;
    };
    const Case cases[] = {
        {"double click on a text file", doubleClickOn(0), 42, {L"Open"}},
        {"double click, Open fails", doubleClickOn(0), 2, {L"Open", L"Play"}},
        {"double click on an audio file", doubleClickOn(1), 42, {L"Play"}},
        {"double click on a video file", doubleClickOn(2), 42, {L"Play"}},
        {"double click, Play fails", doubleClickOn(2), 31, {L"Play", L"Open"}},
        {"double click on blank space", blankSpace, 42, {}},
        {"open the focused row", [this] { List().OpenFile(); }, 42, {L"Open"}},
        {"play the focused row", [this] { List().PlayFile(); }, 42, {L"Play"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Select({0});
        person_.shellRequests.clear();
        person_.shellResult = c.shellResult;
        c.act();
        std::vector<std::wstring> verbs;
        for (const auto& asked : person_.shellRequests) verbs.push_back(asked.request.verb);
        EXPECT_EQ(verbs, c.verbs);
    }
    Select({1});
    person_.shellRequests.clear();
    List().OpenFile();
    ASSERT_EQ(person_.shellRequests.size(), 1u);
    const auto& asked = person_.shellRequests[0];
    EXPECT_EQ(asked.owner, ListHwnd());
    EXPECT_EQ(asked.request.file, L"song.mp3");
    EXPECT_EQ(asked.request.directory, folder_.Path());
    EXPECT_EQ(asked.request.parameters, L"");
    EXPECT_EQ(asked.request.showCommand, SW_SHOWNORMAL);
}

TEST_F(ListFileActionsTest, PropertiesOfTheSelectedPaths) {
    const std::wstring folder = AddFolder(L"A");
    AddFile(L"A\\in.txt");
    const std::wstring file = AddFile(L"x.txt");
    Select({0, 1, 2});
    List().ShowPropertiesOfSelected();
    ASSERT_EQ(person_.propertySheets.size(), 1u);
    EXPECT_EQ(person_.propertySheets[0].request, (std::vector<std::wstring>{folder, file}));
    Select({});
    List().ShowPropertiesOfSelected();
    EXPECT_EQ(person_.propertySheets.size(), 1u);
}

TEST_F(ListFileActionsTest, ADragIsRequestedWithTheSelectedPathsAndAMoveDropsTheRows) {
    const std::wstring moved = AddFile(L"moved.txt");
    const std::wstring kept = AddFile(L"kept.txt");
    std::vector<std::wstring> dragged;
    List().OnDragRequest = [&](const std::vector<std::wstring>& paths) {
        dragged = paths;
        MoveFileW(moved.c_str(), (folder_ / L"elsewhere.txt").c_str());  // the drop target moved it
        return true;
    };
    Select({0});
    NMLISTVIEW begin{};
    begin.hdr = {ListHwnd(), testsupport::ListTestWindow::ListId, LVN_BEGINDRAG};
    begin.iItem = 0;
    SendMessageW(window_->hwnd(), WM_NOTIFY, begin.hdr.idFrom, reinterpret_cast<LPARAM>(&begin));
    EXPECT_EQ(dragged, std::vector<std::wstring>{moved});
    EXPECT_EQ(RowPaths(), std::vector<std::wstring>{kept});
}

TEST_F(ListFileActionsTest, SelectionCommands) {
    for (int i = 0; i < 4; ++i) AddFile(kit::Format(L"f%d.txt", i));
    Select({1});
    List().SelectAll();
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2, 3}));
    Select({1});
    List().InvertSelection();
    EXPECT_EQ(Selected(), (std::vector<int>{0, 2, 3}));
    List().UnselectAll();
    EXPECT_EQ(Selected(), std::vector<int>{});

    // The single-select list: Select All and Invert would leave only the last row selected.
    RECT client{};
    GetClientRect(window_->hwnd(), &client);
    TResultListView single(window_->hwnd(), 1002, client, kit::ControlOptions{.singleSelect = true});
    single.SetResults(&table_);
    LVITEMW item{};
    item.state = item.stateMask = LVIS_SELECTED;
    SendMessageW(single.hwnd(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
    const auto selectedOfSingle = [&] {
        return static_cast<int>(SendMessageW(single.hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    };
    single.SelectAll();
    EXPECT_EQ(selectedOfSingle(), 1);
    single.InvertSelection();
    EXPECT_EQ(selectedOfSingle(), 1);
    single.UnselectAll();
    EXPECT_EQ(selectedOfSingle(), -1);
}

TEST_F(ListFileActionsTest, RemoveFromListDropsOnlyRows) {
    std::vector<std::wstring> paths;
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt"}) paths.push_back(AddFile(name));
    Select({1, 3});
    List().RemoveSelectedFromList();
    EXPECT_EQ(RowPaths(), (std::vector<std::wstring>{paths[0], paths[2], paths[4]}));
    for (const std::wstring& path : paths) EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(Selected(), std::vector<int>{});
    EXPECT_EQ(SendMessageW(ListHwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 1);
}

// The table lost its last row and the list was not told yet: its selected item names no row.
TEST_F(ListFileActionsTest, RemoveFromListPassesOverAnItemWhoseRowIsGone) {
    AddFile(L"a.txt");
    const std::wstring b = AddFile(L"b.txt");
    AddFile(L"c.txt");
    Select({0, 2});
    table_.RowAt(2)->Gone = true;
    table_.DeleteGoneRows();
    List().RemoveSelectedFromList();
    EXPECT_EQ(RowPaths(), std::vector<std::wstring>{b});
    EXPECT_EQ(SendMessageW(ListHwnd(), LVM_GETITEMCOUNT, 0, 0), 1);
}
