// The result list's pop-up menus as a person opens them: a right click on the header or on the rows, Shift+F10;
// the items are read and chosen through the interaction seam.
#include "tests/results/FileActionsFixture.h"

#include "kit/Strings.h"
#include "results/listview/ListClipboard.h"
#include "results/listview/ResultContextMenu.h"
#include "results/listview/SelectedPaths.h"
#include "tests/results/ScriptedShellMenu.h"
#include "tests/support/MenuItems.h"
#include "tests/support/MenuPick.h"

#include <commctrl.h>

using namespace results;
using resultstest::FileActionsTest;
using testsupport::Pick;
using testsupport::PlainTexts;
using resultstest::ScriptedShellMenu;

namespace {

class ListPopUpsTest : public FileActionsTest {
protected:
    void SetUp() override {
        FileActionsTest::SetUp();
        for (int i = 0; i < 5; ++i) files_.push_back(AddFile(kit::Format(L"f%d.txt", i)));
        Pump();
    }
    void RightClickHeader() {
        PostMessageW(List().Header(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 5));
        PostMessageW(List().Header(), WM_RBUTTONUP, 0, MAKELPARAM(30, 5));
        Pump();
    }
    void RightClickRow(int index) {
        RECT bounds{};
        bounds.left = LVIR_LABEL;
        SendMessageW(ListHwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&bounds));
        const LPARAM at = MAKELPARAM(bounds.left + 5, (bounds.top + bounds.bottom) / 2);
        PostMessageW(ListHwnd(), WM_RBUTTONDOWN, MK_RBUTTON, at);
        PostMessageW(ListHwnd(), WM_RBUTTONUP, 0, at);
        Pump();
    }
    // Shift+F10 as the keyboard gives it to the list.
    void PressShiftF10() {
        BYTE saved[256], held[256];
        GetKeyboardState(saved);
        std::copy(std::begin(saved), std::end(saved), held);
        held[VK_SHIFT] = 0x80;
        SetKeyboardState(held);
        PostMessageW(ListHwnd(), WM_SYSKEYDOWN, VK_F10, 1);
        Pump();
        SetKeyboardState(saved);
    }
    // Where a menu about the row opens from the keyboard: under its name.
    POINT UnderName(int index) const {
        RECT label{};
        label.left = LVIR_LABEL;
        SendMessageW(ListHwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&label));
        POINT at{label.left, label.bottom};
        ClientToScreen(ListHwnd(), &at);
        return at;
    }
    // Moves the focus alone, as Ctrl+arrow does.
    void FocusOnly(int index) {
        LVITEMW item{};
        item.state = item.stateMask = LVIS_FOCUSED;
        SendMessageW(ListHwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    bool ColumnShown(TColumnsEnum kind) const {
        return List().ColumnInfo(kind).visible && List().ColumnWidth(kind) > 0;
    }

    std::vector<std::wstring> files_;
};

const std::vector<std::wstring> kColumnItems = {
    L"N\u00B0", L"Name", L"Folder", L"Size", L"Ext", L"Type", L"Attributes", L"Modified Date", L"Creation Date",
    L"Last Access Date", L"-", L"Automatically Resizes", L"-", L"Reset to Default"};
const std::vector<std::wstring> kOwnItems = {
    L"Cut", L"Copy", L"-", L"Copy to Folder...", L"Move to Folder...", L"-", L"Create Shortcut...", L"Delete",
    L"Rename...", L"-", L"Remove From List", L"-", L"Select All", L"Invert Selection", L"UnselectAll", L"-",
    L"Properties"};

} // namespace

TEST_F(ListPopUpsTest, TheHeadersMenuHidesAndShowsAColumn) {
    std::vector<bool> checks;
    person_.chooseFromMenu = [&](HWND owner, HMENU menu) {
        EXPECT_EQ(owner, ListHwnd());
        checks.clear();
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
            checks.push_back((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0);
        return Pick(L"Size")(owner, menu);
    };
    const int width = List().ColumnWidth(tcSize);
    RightClickHeader();
    ASSERT_EQ(person_.menus.size(), 1u);
    EXPECT_EQ(PlainTexts(person_.menus[0].items), kColumnItems);
    POINT corner{30, 5};
    ClientToScreen(List().Header(), &corner);
    EXPECT_EQ(person_.menus[0].point.x, corner.x);
    EXPECT_EQ(person_.menus[0].point.y, corner.y);
    std::vector<bool> expected(10, true);
    expected.resize(14, false);
    EXPECT_EQ(checks, expected);
    EXPECT_FALSE(ColumnShown(tcSize));

    RightClickHeader();
    EXPECT_FALSE(checks[3]) << "the hidden column's item is unchecked";
    EXPECT_TRUE(ColumnShown(tcSize));
    EXPECT_EQ(List().ColumnWidth(tcSize), width);
}

TEST_F(ListPopUpsTest, HidingTheLastColumnBringsAllBackAndResetRestoresTheDefaults) {
    for (TColumnsEnum kind : DisplayOrder)
        if (kind != tcName) List().ShowColumn(List().IndexOfKind(kind), false);
    List().MoveColumn(tcSize, 7);
    person_.chooseFromMenu = Pick(L"Name");
    RightClickHeader();
    for (TColumnsEnum kind : DisplayOrder) EXPECT_TRUE(ColumnShown(kind)) << kind;

    person_.chooseFromMenu = Pick(L"Reset to Default");
    RightClickHeader();
    EXPECT_EQ(List().DisplayedKinds(), std::vector<TColumnsEnum>(DisplayOrder.begin(), DisplayOrder.end()));
}

TEST_F(ListPopUpsTest, TheHeadersMenuNamesAMovedColumnByItsKind) {
    List().MoveColumn(tcSize, 8);
    person_.chooseFromMenu = Pick(L"Size");
    RightClickHeader();
    EXPECT_FALSE(ColumnShown(tcSize));
    EXPECT_TRUE(ColumnShown(tcAttribute)) << "the column that was at the Size item's place stays";
}

TEST_F(ListPopUpsTest, OneSelectedRowGetsItsFilesShellMenu) {
    person_.chooseFromMenu = Pick(L"Properties");
    RightClickRow(2);
    ASSERT_EQ(person_.menus.size(), 1u);
    const std::vector<std::wstring> texts = PlainTexts(person_.menus[0].items);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], L"Open Folder");
    EXPECT_EQ(texts[1], L"Open Containing Folder");
    ASSERT_EQ(person_.propertySheets.size(), 1u);
    EXPECT_EQ(person_.propertySheets[0].request, std::vector<std::wstring>{files_[2]});
}

TEST_F(ListPopUpsTest, TheShellsVerbsThatChangeRowsRunAsTheListsOwn) {
    struct Case {
        const wchar_t* item;
        std::optional<DWORD> effect;  // on the clipboard afterwards
        size_t deletes;               // file operations asked
        int shortcutPrompts;
    };
    const Case cases[] = {
        {L"Cut", DropEffectMove, 0, 0},
        {L"Copy", DropEffectCopy, 0, 0},
        {L"Delete", std::nullopt, 1, 0},
        {L"Create Link", std::nullopt, 0, 1},
    };
    List().SetFileOperation(&fakeShell_);
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.item));
        testsupport::PutTextOnClipboard(L"earlier");
        fakeShell_.requests.clear();
        shortcutPrompts_ = 0;
        Select({1});
        person_.chooseFromMenu = Pick(c.item);
        PressShiftF10();
        EXPECT_EQ(ReadClipboardFiles().dropEffect, c.effect);
        EXPECT_EQ(fakeShell_.requests.size(), c.deletes);
        EXPECT_EQ(shortcutPrompts_, c.shortcutPrompts);
        KillTimer(ListHwnd(), TResultListView::CutRefreshTimer);
    }
    EXPECT_EQ(RowPaths(), files_) << "no row left";
}

// Wine's menu offers four of the six verbs the list carries out itself: a shell object that offers all six shows
// that each runs the list's own action, the one its verb names, and that the shell runs none of them.
TEST_F(ListPopUpsTest, EachOfTheShellsProgramVerbsRunsTheListsOwnAction) {
    ScriptedShellMenu shell;
    shell.items = {{L"Cu&t", L"cut"},           {L"&Copy", L"copy"},     {L"&Delete", L"delete"},
                   {L"Create &Shortcut", L"link"}, {L"Rena&me", L"rename"}, {L"P&roperties", L"properties"}};
    std::vector<std::wstring> shownFor;
    List().ShellContextMenu = [&](const std::wstring& fileName, HWND owner, POINT at, bool, std::wstring& verb) {
        shownFor.push_back(fileName);
        return TrackShellContextMenu(shell, SFGAO_HASPROPSHEET, true, {fileName, owner, at}, verb);
    };
    List().SetFileOperation(&fakeShell_);
    struct Case {
        const wchar_t* item;
        std::optional<DWORD> effect;  // on the clipboard afterwards
        size_t deletes;
        int shortcutPrompts;
        size_t renamePrompts;
        size_t propertySheets;
    };
    const Case cases[] = {
        {L"Cut", DropEffectMove, 0, 0, 0, 0},     {L"Copy", DropEffectCopy, 0, 0, 0, 0},
        {L"Delete", std::nullopt, 1, 0, 0, 0},    {L"Create Shortcut", std::nullopt, 0, 1, 0, 0},
        {L"Rename", std::nullopt, 0, 0, 1, 0},    {L"Properties", std::nullopt, 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.item));
        testsupport::PutTextOnClipboard(L"earlier");
        fakeShell_.requests.clear();
        person_.prompts.clear();
        person_.propertySheets.clear();
        shortcutPrompts_ = 0;
        shownFor.clear();
        Select({2});
        person_.chooseFromMenu = Pick(c.item);
        RightClickRow(2);
        EXPECT_EQ(shownFor, std::vector<std::wstring>{files_[2]});
        EXPECT_EQ(ReadClipboardFiles().dropEffect, c.effect);
        ASSERT_EQ(fakeShell_.requests.size(), c.deletes);
        if (c.deletes) {
            EXPECT_EQ(fakeShell_.requests[0].function, static_cast<UINT>(FO_DELETE));
        }
        EXPECT_EQ(shortcutPrompts_, c.shortcutPrompts);
        ASSERT_EQ(person_.prompts.size(), c.renamePrompts);
        if (c.renamePrompts) {
            EXPECT_EQ(person_.prompts[0].caption, L"Rename File");
        }
        ASSERT_EQ(person_.propertySheets.size(), c.propertySheets);
        if (c.propertySheets) {
            EXPECT_EQ(person_.propertySheets[0].request, std::vector<std::wstring>{files_[2]});
        }
        KillTimer(ListHwnd(), TResultListView::CutRefreshTimer);
    }
    EXPECT_TRUE(shell.invoked.empty()) << "the shell ran none of them";
    EXPECT_EQ(RowPaths(), files_);
}

// While the list is busy (a search runs) its file actions do nothing: both menus show their items greyed, the
// shell's by their verbs whatever the shell calls them, and the rest live. A shell object that offers all six of
// the list's verbs stands in for Wine's, which lacks Rename.
TEST_F(ListPopUpsTest, TheItemsOfRefusedFileActionsAreGreyedWhileTheListIsBusy) {
    ScriptedShellMenu shell;
    shell.items = {{L"&Open", L"open"},         {L"Cu&t", L"cut"},           {L"&Copy", L"copy"},
                   {L"&Delete", L"delete"},     {L"Create &Shortcut", L"link"}, {L"Rena&me", L"rename"},
                   {L"P&roperties", L"properties"}, {L"Send to &Archive", L"x-archive"}};
    List().ShellContextMenu = [&](const std::wstring& fileName, HWND owner, POINT at, bool refused,
                                  std::wstring& verb) {
        const TContextMenuCall call{.fileName = fileName, .owner = owner, .point = at, .programVerbsRefused = refused};
        return TrackShellContextMenu(shell, SFGAO_HASPROPSHEET, true, call, verb);
    };
    bool busy = false;
    List().Busy = [&] { return busy; };
    std::vector<std::wstring> greyed, live;
    person_.chooseFromMenu = [&](HWND, HMENU menu) -> UINT {
        for (const testsupport::MenuItem& item : testsupport::MenuItemsOf(menu))
            if (!item.separator) (item.grayed ? greyed : live).push_back(testsupport::Plain(item.text));
        return 0;
    };
    using Texts = std::vector<std::wstring>;
    const Texts shellRefused = {L"Cut", L"Copy", L"Delete", L"Create Shortcut", L"Rename", L"Properties"};
    const Texts shellLive = {L"Open Folder", L"Open Containing Folder", L"Open", L"Send to Archive"};
    const Texts ownRefused = {L"Cut", L"Copy", L"Copy to Folder...", L"Move to Folder...", L"Create Shortcut...",
                              L"Delete", L"Rename...", L"Remove From List", L"Properties"};
    const Texts ownLive = {L"Select All", L"Invert Selection", L"UnselectAll"};
    struct Case {
        const char* what;
        bool busy;
        std::vector<int> selected;
        Texts greyed, live;  // in menu order
    };
    const Case cases[] = {
        {"the shell's menu, busy", true, {2}, shellRefused, shellLive},
        {"the shell's menu, idle", false, {2}, {}, {L"Open Folder", L"Open Containing Folder", L"Open", L"Cut",
                                                     L"Copy", L"Delete", L"Create Shortcut", L"Rename",
                                                     L"Properties", L"Send to Archive"}},
        {"the program's menu, busy", true, {1, 3}, ownRefused, ownLive},
        {"the program's menu, idle", false, {1, 3}, {}, {L"Cut", L"Copy", L"Copy to Folder...",
                                                          L"Move to Folder...", L"Create Shortcut...", L"Delete",
                                                          L"Rename...", L"Remove From List", L"Select All",
                                                          L"Invert Selection", L"UnselectAll", L"Properties"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        busy = c.busy;
        greyed.clear();
        live.clear();
        person_.menus.clear();
        Select(c.selected);
        PressShiftF10();
        ASSERT_EQ(person_.menus.size(), 1u);
        EXPECT_EQ(greyed, c.greyed);
        EXPECT_EQ(live, c.live);
    }
    EXPECT_TRUE(shell.invoked.empty());
}

TEST_F(ListPopUpsTest, AKeyboardMenuOpensUnderTheRowItIsAbout) {
    struct Case {
        const char* what;
        std::vector<int> selected;  // the first one focused
        int focusAfter;             // -1: stays
        int row;                    // where the menu opens
        bool shellMenu;             // the shell's menu of the row, not the program's own
    };
    const Case cases[] = {
        {"one selected and focused", {2}, -1, 2, true},
        {"one selected, another focused", {1}, 3, 1, true},
        {"two selected", {3, 4}, -1, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        person_.menus.clear();
        Select(c.selected);
        if (c.focusAfter >= 0) FocusOnly(c.focusAfter);
        PressShiftF10();
        ASSERT_EQ(person_.menus.size(), 1u);
        const POINT expected = UnderName(c.row);
        EXPECT_EQ(person_.menus[0].point.x, expected.x);
        EXPECT_EQ(person_.menus[0].point.y, expected.y);
        const std::vector<std::wstring> texts = PlainTexts(person_.menus[0].items);
        EXPECT_EQ(!texts.empty() && texts[0] == L"Open Folder", c.shellMenu);
    }
}

TEST_F(ListPopUpsTest, SeveralSelectedRowsGetTheProgramsMenuWhoseItemsRunTheListsActions) {
    struct Case {
        const wchar_t* item;
        std::function<bool()> ran;
    };
    List().SetFileOperation(&fakeShell_);
    destination_ = folder_ / L"elsewhere";
    const Case cases[] = {
        {L"Cut", [&] { return ReadClipboardFiles().dropEffect == DropEffectMove; }},
        {L"Copy", [&] { return ReadClipboardFiles().dropEffect == DropEffectCopy; }},
        {L"Copy to Folder...", [&] { return destinationCaptions_.back() == L"Copy to Folder"; }},
        {L"Move to Folder...", [&] { return destinationCaptions_.back() == L"Move to Folder"; }},
        {L"Create Shortcut...", [&] { return shortcutPrompts_ == 1; }},
        {L"Delete", [&] { return fakeShell_.requests.size() == 1 && fakeShell_.requests[0].function == FO_DELETE; }},
        {L"Rename...", [&] { return person_.prompts.size() == 2; }},
        {L"Select All", [&] { return Selected() == std::vector<int>{0, 1, 2, 3, 4}; }},
        {L"Invert Selection", [&] { return Selected() == std::vector<int>{0, 2, 4}; }},
        {L"UnselectAll", [&] { return Selected().empty(); }},
        {L"Properties",
         [&] { return person_.propertySheets.size() == 1 && person_.propertySheets[0].request.size() == 2; }},
        {L"Remove From List", [&] { return RowPaths() == std::vector<std::wstring>{files_[0], files_[2], files_[4]}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.item));
        testsupport::PutTextOnClipboard(L"earlier");
        fakeShell_.requests.clear();
        person_.prompts.clear();
        person_.propertySheets.clear();
        shortcutPrompts_ = 0;
        destinationCaptions_ = {L""};
        person_.menus.clear();
        Select({1, 3});
        person_.chooseFromMenu = Pick(c.item);
        PressShiftF10();
        ASSERT_EQ(person_.menus.size(), 1u);
        EXPECT_EQ(PlainTexts(person_.menus[0].items), kOwnItems) << "the leading separator dropped";
        EXPECT_TRUE(c.ran());
        KillTimer(ListHwnd(), TResultListView::CutRefreshTimer);
    }
}

TEST_F(ListPopUpsTest, NoMenuWithoutASelectedRowOrWithoutRows) {
    Select({});
    PressShiftF10();
    EXPECT_TRUE(person_.menus.empty());
    table_.Clear();
    List().UpdateItemCount();
    PressShiftF10();
    EXPECT_TRUE(person_.menus.empty());
}

TEST_F(ListPopUpsTest, AfterTheHeadersMenuARowsRightClickOpensTheItemsMenu) {
    RightClickHeader();
    RightClickRow(0);
    ASSERT_EQ(person_.menus.size(), 2u);
    EXPECT_EQ(PlainTexts(person_.menus[0].items), kColumnItems);
    EXPECT_EQ(PlainTexts(person_.menus[1].items)[0], L"Open Folder");
}

// Two files cut, one of them pasted elsewhere since; the menu of two other rows is open when the cut refresh ticks.
// The tick waits for the menu: it would drop the pasted file's row, clear the selection and select the row still
// cut, and the menu's Delete would then delete that file instead of the two the menu was opened for.
TEST_F(ListPopUpsTest, TheCutRefreshWaitsWhileAMenuIsOpen) {
    List().SetFileOperation(&fakeShell_);
    Select({0, 1});
    List().CutSelected();
    KillTimer(ListHwnd(), TResultListView::CutRefreshTimer);  // the test gives the ticks
    ASSERT_TRUE(MoveFileW(files_[0].c_str(), (folder_ / L"pasted.txt").c_str()));
    const auto tick = [this] { SendMessageW(ListHwnd(), WM_TIMER, TResultListView::CutRefreshTimer, 0); };
    Select({3, 4});
    person_.chooseFromMenu = [&](HWND owner, HMENU menu) {
        tick();
        EXPECT_EQ(RowPaths(), files_) << "no row leaves while the menu is open";
        EXPECT_EQ(Selected(), (std::vector<int>{3, 4}));
        return Pick(L"Delete")(owner, menu);
    };
    PressShiftF10();
    ASSERT_EQ(fakeShell_.requests.size(), 1u);
    EXPECT_EQ(fakeShell_.requests[0].from, PathListText({files_[3], files_[4]}));
    tick();
    EXPECT_EQ(RowPaths(), (std::vector<std::wstring>{files_[1], files_[2], files_[3], files_[4]})) << "after it";
}
