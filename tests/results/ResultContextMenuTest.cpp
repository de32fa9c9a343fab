// The shell context menu of result files: Wine's own menu for real files, picked from through the seam (and once
// through the real menu and keys); a scripted shell object for the invocation, the callback window and the modes
// the list does not use.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kit/Interaction.h"
#include "kit/Strings.h"
#include "results/listview/ResultContextMenu.h"
#include "tests/results/ScriptedShellMenu.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/ListTestWindow.h"
#include "tests/support/MenuPick.h"
#include "tests/support/TempFolder.h"

using namespace results;
using testsupport::FakeInteraction;
using testsupport::MenuItemSeen;
using testsupport::FolderEntries;
using testsupport::Pick;
using testsupport::Plain;
using testsupport::PlainTexts;
using resultstest::ScriptedShellMenu;

namespace {

class ShellMenuTest : public testing::Test {
protected:
    void SetUp() override {
        testsupport::WriteBytes(file_, "report");
        ShowWindow(owner_.hwnd(), SW_SHOWNOACTIVATE);
    }
    bool Show(const std::wstring& fileName, std::wstring& verb) {
        return ShowResultContextMenu(fileName, owner_.hwnd(), POINT{200, 150}, false, verb);
    }

    testsupport::TempFolder folder_;
    const std::wstring file_ = folder_ / L"report.txt";
    testsupport::ListTestWindow owner_{500, 300};
    FakeInteraction person_;
};

} // namespace

TEST_F(ShellMenuTest, OpensWithTheProgramsItemsOverTheShellsOwnedByTheCallbackWindow) {
    std::wstring ownerClass, ownerName;
    person_.chooseFromMenu = [&](HWND owner, HMENU) -> UINT {
        ownerClass = testsupport::ClassOf(owner);
        ownerName = testsupport::TextOf(owner);
        return 0;
    };
    std::wstring verb = L"stale";
    EXPECT_TRUE(Show(file_, verb));
    EXPECT_EQ(verb, L"");  // closed without a choice
    ASSERT_EQ(person_.menus.size(), 1u);
    const testsupport::AskedMenu& menu = person_.menus[0];
    const std::vector<MenuItemSeen> ownItems(menu.items.begin(), menu.items.begin() + 3);
    EXPECT_EQ(ownItems, (std::vector<MenuItemSeen>{{OpenFolderCommand, L"Open Folder"},
                                                   {OpenContainingFolderCommand, L"Open Containing Folder"},
                                                   {0, L"", true}}));
    // Wine's menu of a file, its separators aside (Wine offers no Rename).
    std::vector<std::wstring> shellItems;
    for (const std::wstring& text : PlainTexts({menu.items.begin() + 3, menu.items.end()}))
        if (text != L"-") shellItems.push_back(text);
    EXPECT_EQ(shellItems, (std::vector<std::wstring>{L"Open", L"Cut", L"Copy", L"Create Link", L"Delete",
                                                     L"Properties"}));
    for (auto item = menu.items.begin() + 3; item != menu.items.end(); ++item)
        EXPECT_TRUE(item->separator || (item->id >= FirstShellCommand && item->id <= LastShellCommand));
    EXPECT_EQ(menu.point.x, 200);
    EXPECT_EQ(menu.point.y, 150);
    EXPECT_EQ(ownerClass, L"ItemPropMenuCallbackHelper");
    EXPECT_EQ(ownerName, L"ItemPropCallbackProcessor");
    EXPECT_FALSE(IsWindow(menu.owner));  // only while the menu shows
    EXPECT_TRUE(person_.shellRequests.empty());
}

TEST_F(ShellMenuTest, TheProgramsVerbsComeBackWithoutTheShellRunningThem) {
    struct Case {
        const wchar_t* item;
        const wchar_t* verb;
    };
    const Case cases[] = {
        {L"Delete", L"delete"}, {L"Cut", L"cut"}, {L"Copy", L"copy"}, {L"Create Link", L"link"},
    };
    const std::vector<std::wstring> before = FolderEntries(folder_.Path());
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.item));
        person_.chooseFromMenu = Pick(c.item);
        std::wstring verb;
        EXPECT_TRUE(Show(file_, verb));
        EXPECT_EQ(verb, c.verb);
        // Not deleted, not linked: the list runs these itself.
        EXPECT_EQ(FolderEntries(folder_.Path()), before);
    }
    EXPECT_TRUE(person_.shellRequests.empty());
}

TEST_F(ShellMenuTest, TheProgramsItemsOpenTheFileManagerThroughTheSeam) {
    struct Case {
        UINT id;
        kit::ShellRequest request;
    };
    const Case cases[] = {
        {OpenFolderCommand, {L"Explore", folder_.Path()}},
        {OpenContainingFolderCommand, {L"Open", L"explorer.exe", L"/select, \"" + file_ + L"\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        person_.shellRequests.clear();
        person_.chooseFromMenu = [&](HWND, HMENU) { return c.id; };
        std::wstring verb = L"stale";
        EXPECT_TRUE(Show(file_, verb));
        EXPECT_EQ(verb, L"");
        ASSERT_EQ(person_.shellRequests.size(), 1u);
        const auto& asked = person_.shellRequests[0];
        EXPECT_EQ(asked.owner, owner_.hwnd());
        EXPECT_EQ(asked.request.verb, c.request.verb);
        EXPECT_EQ(asked.request.file, c.request.file);
        EXPECT_EQ(asked.request.parameters, c.request.parameters);
        EXPECT_EQ(asked.request.directory, L"");
        EXPECT_EQ(asked.request.showCommand, SW_SHOWNORMAL);
    }
}

TEST_F(ShellMenuTest, AMaskShowsOneMenuForWhatItMatchesAndAPathThatIsNotThereNone) {
    testsupport::WriteBytes(folder_ / L"notes.txt", "notes");
    testsupport::WriteBytes(folder_ / L"image.png", "png");
    struct Case {
        std::wstring fileName;
        bool shown;
    };
    const Case cases[] = {
        {folder_ / L"*.txt", true},
        {folder_ / L"?otes.txt", true},
        {folder_ / L"*.doc", false},            // a mask that matches nothing
        {folder_ / L"missing.txt", false},      // a file that is not there
        {folder_ / L"gone\\report.txt", false},  // a folder that is not there
        {L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.fileName));
        person_.menus.clear();
        person_.chooseFromMenu = Pick(L"Copy");
        std::wstring verb;
        EXPECT_EQ(Show(c.fileName, verb), c.shown);
        EXPECT_EQ(person_.menus.size(), c.shown ? 1u : 0u);
        EXPECT_EQ(verb, c.shown ? L"copy" : L"");
    }
}

// ---------------------------------------------------------------------------------------------------------------
// A scripted shell object: what the menu asked of it and what it was told to run.

namespace {

class ScriptedMenuTest : public testing::Test {
protected:
    bool Track(TContextMenuMode mode, std::wstring& verb, SFGAOF attributes = 0, UINT commandId = 0,
               bool useCallbackWindow = true) {
        const TContextMenuCall call{L"C:\\Data\\report.txt", owner_.hwnd(), POINT{10, 10}, mode, commandId};
        return TrackShellContextMenu(shell_, attributes, useCallbackWindow, call, verb);
    }

    testsupport::ListTestWindow owner_{300, 200};
    FakeInteraction person_;
    ScriptedShellMenu shell_;
};

} // namespace

TEST_F(ScriptedMenuTest, AVerbOfItsOwnIsRunByTheShellByItsOffset) {
    struct Case {
        const wchar_t* item;
        HRESULT invokeAnswer;
        bool result;
        const wchar_t* verb;
        bool invoked;
    };
    const Case cases[] = {
        {L"Send to Archive", S_OK, true, L"x-archive", true},
        {L"Send to Archive", E_FAIL, false, L"x-archive", true},  // the shell refused it
        {L"No Verb", S_OK, true, L"", true},                      // asked by its offset all the same
        {L"Cut", S_OK, true, L"cut", false},                      // lower-cased and left to the program
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.item));
        shell_.invoked.clear();
        shell_.invokeAnswer = c.invokeAnswer;
        person_.chooseFromMenu = Pick(c.item);
        std::wstring verb;
        EXPECT_EQ(Track(TContextMenuMode::cmmShow, verb), c.result);
        EXPECT_EQ(verb, c.verb);
        ASSERT_EQ(shell_.invoked.size(), c.invoked ? 1u : 0u);
        if (!c.invoked) continue;
        const ScriptedShellMenu::Invocation& run = shell_.invoked[0];
        EXPECT_EQ(run.size, sizeof(CMINVOKECOMMANDINFO));  // not the 32-bit 36 bytes
        EXPECT_TRUE(run.byOffset);
        const auto item = std::find_if(shell_.items.begin(), shell_.items.end(),
                                       [&](const auto& i) { return Plain(i.text) == c.item; });
        EXPECT_EQ(run.offset, static_cast<UINT_PTR>(item - shell_.items.begin()));
        EXPECT_EQ(run.owner, owner_.hwnd());
        EXPECT_EQ(run.show, SW_SHOWNORMAL);
    }
    EXPECT_EQ(shell_.queryFlags, std::vector<UINT>(std::size(cases), CMF_EXPLORE | CMF_CANRENAME));
}

// A shell object may number its items anywhere in the range it is given: the program's own ids lie outside it.
TEST_F(ScriptedMenuTest, TheShellsRangeOfIdsLeavesOutTheProgramsOwnItems) {
    for (const TContextMenuMode mode : {TContextMenuMode::cmmShow, TContextMenuMode::cmmDefault}) {
        SCOPED_TRACE(static_cast<int>(mode));
        shell_.firstGiven = shell_.lastGiven = 0;
        std::wstring verb;
        Track(mode, verb);
        ASSERT_GT(shell_.lastGiven, 0u);
        for (const UINT own : {OpenFolderCommand, OpenContainingFolderCommand})
            EXPECT_TRUE(own < shell_.firstGiven || own > shell_.lastGiven) << own;
    }
}

TEST_F(ScriptedMenuTest, AShellObjectThatFillsNoMenuShowsNone) {
    shell_.queryAnswer = E_FAIL;
    std::wstring verb;
    EXPECT_FALSE(Track(TContextMenuMode::cmmShow, verb));
    EXPECT_TRUE(person_.menus.empty());
}

TEST_F(ScriptedMenuTest, TheCallbackWindowPassesTheMenusDrawingToTheNewestInterface) {
    struct Case {
        const char* name;
        bool offersVersion3;
        bool useCallbackWindow;
        int version;  // the interface that gets the messages; 0: none, the caller's window owns the menu
    };
    const Case cases[] = {
        {"third version", true, true, 3},
        {"second version", false, true, 2},
        {"no callback window", true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shell_.offersVersion3 = c.offersVersion3;
        shell_.forwarded.clear();
        std::vector<LRESULT> answers;
        HWND menuOwner = nullptr;
        std::wstring ownerClass;
        person_.chooseFromMenu = [&](HWND owner, HMENU menu) -> UINT {
            menuOwner = owner;
            ownerClass = testsupport::ClassOf(owner);
            if (!c.version) return 0;
            MEASUREITEMSTRUCT measure{ODT_MENU};
            DRAWITEMSTRUCT draw{ODT_MENU};
            answers.push_back(SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0));
            answers.push_back(SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
            answers.push_back(SendMessageW(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
            SendMessageW(owner, WM_USER, 0, 0);  // not the menu's: stays with the window
            return 0;
        };
        std::wstring verb;
        EXPECT_TRUE(Track(TContextMenuMode::cmmShow, verb, 0, 0, c.useCallbackWindow));
        if (!c.version) {
            EXPECT_EQ(menuOwner, owner_.hwnd());
            EXPECT_TRUE(shell_.forwarded.empty());
            continue;
        }
        EXPECT_EQ(ownerClass, L"ItemPropMenuCallbackHelper");
        EXPECT_EQ(answers, (std::vector<LRESULT>{0, TRUE, TRUE}));
        EXPECT_EQ(shell_.forwarded, (std::vector<std::pair<int, UINT>>{
                                        {c.version, WM_INITMENUPOPUP},
                                        {c.version, WM_MEASUREITEM},
                                        {c.version, WM_DRAWITEM}}));
    }
}

TEST_F(ScriptedMenuTest, TheOtherModesInvokeWithoutShowingAMenu) {
    struct Case {
        const char* name;
        TContextMenuMode mode;
        SFGAOF attributes;
        UINT commandId;
        bool result;
        const char* verb;  // the invoked text verb; null: by offset
        UINT_PTR offset;
        bool invoked;
    };
    const Case cases[] = {
        {"properties", TContextMenuMode::cmmProperties, SFGAO_HASPROPSHEET, 0, true, "properties", 0, true},
        {"properties without a sheet", TContextMenuMode::cmmProperties, 0, 0, false, nullptr, 0, false},
        {"default item", TContextMenuMode::cmmDefault, 0, 0, true, nullptr, 2, true},
        {"command id 2", TContextMenuMode::cmmCommand, 0, 2, true, nullptr, 1, true},
        {"command id 0", TContextMenuMode::cmmCommand, 0, 0, false, nullptr, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shell_.invoked.clear();
        shell_.queryFlags.clear();
        std::wstring verb;
        EXPECT_EQ(Track(c.mode, verb, c.attributes, c.commandId), c.result);
        EXPECT_TRUE(person_.menus.empty());
        ASSERT_EQ(shell_.invoked.size(), c.invoked ? 1u : 0u);
        if (c.mode == TContextMenuMode::cmmDefault) {
            EXPECT_EQ(shell_.queryFlags, std::vector<UINT>{CMF_DEFAULTONLY});
        }
        if (!c.invoked) continue;
        const ScriptedShellMenu::Invocation& run = shell_.invoked[0];
        EXPECT_EQ(run.size, sizeof(CMINVOKECOMMANDINFO));
        EXPECT_EQ(run.byOffset, c.verb == nullptr);
        if (c.verb) {
            EXPECT_EQ(run.verb, c.verb);
        } else {
            EXPECT_EQ(run.offset, c.offset);
        }
    }
}

// ---------------------------------------------------------------------------------------------------------------
// The real menu, as a person works it with the keyboard.

namespace {

struct KeyScript {
    std::vector<WPARAM> keys;  // posted one a tick to the menu's owner; empty: the menu is ended instead
    size_t next = 0;
    bool ended = false;
};
KeyScript g_script;

void CALLBACK PressNextKey(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND owner = FindWindowW(L"ItemPropMenuCallbackHelper", nullptr);
    if (!owner) return;  // the menu is not open yet
    if (g_script.keys.empty()) {
        EndMenu();
        g_script.ended = true;
    } else if (g_script.next < g_script.keys.size()) {
        PostMessageW(owner, WM_KEYDOWN, g_script.keys[g_script.next++], 0);
    }
    if (g_script.ended || g_script.next == g_script.keys.size()) KillTimer(nullptr, timer);
}

} // namespace

TEST_F(ShellMenuTest, TheRealMenuAnswersAPersonsKeys) {
    // Where Delete is: the items a Down press visits before it.
    person_.chooseFromMenu = [](HWND, HMENU) -> UINT { return 0; };
    std::wstring verb;
    ASSERT_TRUE(Show(file_, verb));
    ASSERT_EQ(person_.menus.size(), 1u);
    size_t downs = 0;
    for (const MenuItemSeen& item : person_.menus[0].items) {
        if (item.separator) continue;
        ++downs;
        if (Plain(item.text) == L"Delete") break;
    }

    // The real menu; everything else, the shell's verbs included, still goes to a fake.
    class RealMenu : public FakeInteraction {
        UINT TrackMenu(HWND owner, HMENU menu, POINT point) override {
            return kit::RealInteraction().TrackMenu(owner, menu, point);
        }
    } realMenu;
    struct Case {
        const char* name;
        std::vector<WPARAM> keys;
        const wchar_t* verb;
    };
    std::vector<WPARAM> toDelete(downs, VK_DOWN);
    toDelete.push_back(VK_RETURN);
    const Case cases[] = {{"Down to Delete, Enter", toDelete, L"delete"}, {"closed", {}, L""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_script = {c.keys};
        SetTimer(nullptr, 0, 100, PressNextKey);
        verb = L"stale";
        EXPECT_TRUE(Show(file_, verb));
        EXPECT_EQ(verb, c.verb);
        EXPECT_TRUE(testsupport::FileExists(file_));
    }
    EXPECT_TRUE(realMenu.shellRequests.empty());
}
