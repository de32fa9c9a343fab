#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/Actions.h"
#include "kit/Controls.h"
#include "kit/Window.h"
#include "tests/support/HeldKeys.h"
#include "tests/support/MenuItems.h"

namespace {

constexpr int kSearch = 2001, kStop = 2002, kZoom = 2003, kHidden = 2004, kSmall = 2005, kLarge = 2006;
constexpr int kViewMenu = 2100, kZoomMenu = 2101, kToolsMenu = 2102;

// A window whose commands all go through the action table, as the main window's will.
class ActionWindow : public kit::Window {
public:
    void Make() {
        Create({.className = L"KvrTestActionWindow", .title = L"Actions", .bounds = RECT{10, 10, 310, 210}});
        button.Create(hwnd(), kSearch, L"", RECT{10, 10, 110, 34});
    }
    kit::ActionList actions;
    kit::Button button;

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg == WM_INITMENUPOPUP) actions.OnInitMenuPopup(reinterpret_cast<HMENU>(wp));
        if (msg != WM_COMMAND || !actions.Execute(LOWORD(wp))) return false;
        result = 0;
        return true;
    }
};

class ActionsTest : public testing::Test {
protected:
    void SetUp() override {
        window.Make();
        window.actions.Add(kSearch, L"&Search", [this] { ++searches; }, {0, VK_F3});
        window.actions.Add(kStop, L"S&top", [this] { ++stops; }, {FCONTROL, 'T'});
        window.actions.Add(kZoom, L"Zoom &In", [] {});
        window.actions.Add(kHidden, L"Hidden", [] {});
        window.actions.BindControl(kSearch, window.button.hwnd());
    }
    ActionWindow window;
    int searches = 0, stops = 0;
};

TEST_F(ActionsTest, TheBoundButtonFollowsTheActionAndClickingItRunsTheHandler) {
    const HWND button = window.button.hwnd();
    EXPECT_EQ(window.button.Text(), L"&Search");
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(searches, 1);

    window.actions.SetEnabled(kSearch, false);
    EXPECT_FALSE(IsWindowEnabled(button));
    SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(kSearch, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(searches, 1);  // a disabled action does nothing, however the command comes

    window.actions.SetEnabled(kSearch, true);
    window.actions.SetCaption(kSearch, L"&Find");
    window.actions.SetVisible(kSearch, false);
    EXPECT_TRUE(IsWindowEnabled(button));
    EXPECT_EQ(window.button.Text(), L"&Find");
    EXPECT_FALSE(window.button.Visible());
    EXPECT_FALSE(window.actions.Execute(9999));  // not an action: the window handles it otherwise
}

TEST_F(ActionsTest, AMenuFilledFromTheTableShowsEachVisibleActionWithItsState) {
    window.actions.SetEnabled(kStop, false);
    window.actions.SetChecked(kZoom, true);
    window.actions.SetVisible(kHidden, false);
    HMENU menu = CreatePopupMenu();
    const int ids[] = {0, kSearch, kStop, 0, 0, kZoom, 0, kHidden};
    window.actions.FillMenu(menu, ids);

    struct Row { UINT id; const wchar_t* text; bool grayed; bool checked; };
    const Row rows[] = {
        {kSearch, L"&Search\tF3", false, false},
        {kStop, L"S&top\tCtrl+T", true, false},
        {0, L"", false, false},  // one separator between the groups, none at the ends
        {kZoom, L"Zoom &In", false, true},
    };
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    for (int i = 0; i < 4; ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.text);
        wchar_t text[64] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = 64;
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        EXPECT_EQ(info.wID, row.id);
        EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, row.id == 0);
        if (row.id == 0) continue;  // a separator has no text or state of its own
        EXPECT_STREQ(text, row.text);
        EXPECT_EQ((info.fState & MFS_GRAYED) != 0, row.grayed);
        EXPECT_EQ((info.fState & MFS_CHECKED) != 0, row.checked);
    }
    // Refilled after a change, the menu follows it.
    window.actions.SetEnabled(kStop, true);
    window.actions.FillMenu(menu, ids);
    EXPECT_EQ(GetMenuState(menu, kStop, MF_BYCOMMAND) & MF_GRAYED, 0u);
    DestroyMenu(menu);
}

TEST_F(ActionsTest, TheAcceleratorTableCarriesEveryShortcutAndRunsEnabledActionsOnly) {
    window.actions.SetShortcuts(kZoom, {{FCONTROL, VK_OEM_PLUS}, {FCONTROL, VK_ADD}});
    const HACCEL table = window.actions.Accelerators();
    ASSERT_NE(table, nullptr);
    ACCEL entries[8] = {};
    ASSERT_EQ(CopyAcceleratorTableW(table, entries, 8), 4);
    EXPECT_EQ(entries[0].cmd, kSearch);
    EXPECT_EQ(entries[0].key, VK_F3);
    EXPECT_EQ(entries[3].cmd, kZoom);
    EXPECT_EQ(entries[3].key, VK_ADD);
    EXPECT_EQ(entries[3].fVirt, FVIRTKEY | FCONTROL);

    // F3 pressed in the window, as the message loop hands it over.
    MSG key{window.hwnd(), WM_KEYDOWN, VK_F3, 0x003D0001};
    EXPECT_TRUE(TranslateAcceleratorW(window.hwnd(), window.actions.Accelerators(), &key));
    EXPECT_EQ(searches, 1);
    window.actions.SetEnabled(kSearch, false);
    TranslateAcceleratorW(window.hwnd(), window.actions.Accelerators(), &key);
    EXPECT_EQ(searches, 1);

    window.actions.SetShortcuts(kSearch, {});
    ACCEL none[8] = {};
    EXPECT_EQ(CopyAcceleratorTableW(window.actions.Accelerators(), none, 8), 3);
    // A hidden action leaves its keys to the controls.
    window.actions.SetVisible(kStop, false);
    EXPECT_EQ(CopyAcceleratorTableW(window.actions.Accelerators(), none, 8), 2);
}

TEST_F(ActionsTest, MenusAreFilledFromTheTableAsTheyOpenAndTheBarFollowsThem) {
    window.actions.Add(kSmall, L"Small", [] {});
    window.actions.Add(kLarge, L"Large", [] {});
    window.actions.SetGroup(kSmall, 1);
    window.actions.SetGroup(kLarge, 1);
    bool largeAllowed = true;
    const HMENU zoom = window.actions.AddMenu(kZoomMenu, L"Zoom", {kSmall, kLarge, 9999},  // 9999: no action
                                              [&] { window.actions.SetEnabled(kLarge, largeAllowed); });
    const HMENU view = window.actions.AddMenu(kViewMenu, L"&View", {kZoom, 0, kZoomMenu});
    window.actions.AddMenu(kToolsMenu, L"Tools", {kStop});
    window.actions.SetVisible(kToolsMenu, false);
    window.actions.SetMenuBar(window.hwnd(), {kViewMenu, kToolsMenu});

    const HMENU bar = GetMenu(window.hwnd());
    const std::vector<testsupport::MenuItem> barItems = testsupport::MenuItemsOf(bar);
    ASSERT_EQ(barItems.size(), 1u) << "a hidden menu is not on the bar";
    EXPECT_EQ(barItems[0].submenu, view);
    EXPECT_EQ(barItems[0].text, L"&View");
    const std::vector<testsupport::MenuItem> viewItems = testsupport::MenuItemsOf(view);
    ASSERT_EQ(viewItems.size(), 3u);
    EXPECT_EQ(viewItems[0].text, L"Zoom &In");
    EXPECT_TRUE(viewItems[1].separator);
    EXPECT_EQ(viewItems[2].submenu, zoom);
    EXPECT_EQ(viewItems[2].text, L"&Zoom");  // a key of its own beside Zoom &In's

    // One of a radio group checked at a time; the menu shows it once it opens, after its handler ran.
    window.actions.SetChecked(kSmall, true);
    window.actions.SetChecked(kLarge, true);
    EXPECT_FALSE(window.actions.Checked(kSmall));
    largeAllowed = false;
    SendMessageW(window.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(zoom), MAKELPARAM(2, FALSE));
    const std::vector<testsupport::MenuItem> zoomItems = testsupport::MenuItemsOf(zoom);
    ASSERT_EQ(zoomItems.size(), 2u);
    EXPECT_EQ(zoomItems[0].text, L"&Small");
    EXPECT_TRUE(zoomItems[0].radio);
    EXPECT_FALSE(zoomItems[0].checked);
    EXPECT_EQ(zoomItems[1].text, L"&Large");
    EXPECT_TRUE(zoomItems[1].radio && zoomItems[1].checked && zoomItems[1].grayed);

    // The bar follows its menus' states at once.
    window.actions.SetEnabled(kViewMenu, false);
    EXPECT_NE(GetMenuState(bar, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
    window.actions.SetVisible(kToolsMenu, true);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
}

TEST_F(ActionsTest, ACommandRunsOnlyWhatItsMenuWouldOfferAtThatMoment) {
    int larges = 0;
    window.actions.Add(kLarge, L"Large", [&] { ++larges; }, {FCONTROL, 'L'});
    bool allowed = false;
    window.actions.AddMenu(kZoomMenu, L"Zoom", {kLarge}, [&] { window.actions.SetEnabled(kLarge, allowed); });
    window.actions.AddMenu(kViewMenu, L"View", {kZoom, kZoomMenu});
    window.actions.SetMenuBar(window.hwnd(), {kViewMenu});

    // The menu never opened, and the action still stands enabled in the table: its rule is asked all the same.
    EXPECT_TRUE(window.actions.Execute(kLarge));
    EXPECT_EQ(larges, 0);
    allowed = true;
    window.actions.Execute(kLarge);
    EXPECT_EQ(larges, 1);

    // Its shortcut as the message loop hands it over, while the rule allows it and while it does not.
    MSG key{window.hwnd(), WM_KEYDOWN, 'L', 0x00260001};
    {
        const testsupport::HeldKeys ctrl({VK_CONTROL});
        EXPECT_TRUE(TranslateAcceleratorW(window.hwnd(), window.actions.Accelerators(), &key));
        EXPECT_EQ(larges, 2);
        allowed = false;
        TranslateAcceleratorW(window.hwnd(), window.actions.Accelerators(), &key);
        EXPECT_EQ(larges, 2);
    }

    // A disabled menu offers nothing: its actions do not run, whatever their own state.
    allowed = true;
    window.actions.SetEnabled(kViewMenu, false);
    window.actions.Execute(kLarge);
    EXPECT_EQ(larges, 2);
    EXPECT_FALSE(window.actions.Execute(kZoomMenu)) << "a menu is no command";
}

TEST(ActionMenus, TheListDestroysTheMenusThatNoOtherMenuHolds) {
    const HMENU outer = CreatePopupMenu();
    HMENU loose = nullptr, held = nullptr;
    {
        kit::ActionList actions;
        actions.Add(1, L"One", nullptr);
        loose = actions.AddMenu(10, L"Loose", {1});
        held = actions.AddMenu(11, L"Held", {1});
        const int ids[] = {11};
        actions.FillMenu(outer, ids);
    }
    EXPECT_FALSE(IsMenu(loose));
    EXPECT_TRUE(IsMenu(held)) << "it goes with the menu that holds it";
    DestroyMenu(outer);
    EXPECT_FALSE(IsMenu(held));
}

TEST(WithAccessKeys, KeepsTheCaptionsOwnKeysAndGivesTheRestFreeOnes) {
    struct Case { std::vector<std::wstring> captions, shown; };
    const Case cases[] = {
        // A second caption with a taken key gives it up; word starts come first, then any letter.
        {{L"&Cut", L"&Copy", L"Copy to Folder...", L"&Delete"}, {L"&Cut", L"C&opy", L"Copy &to Folder...", L"&Delete"}},
        {{L"Large Icon", L"List", L"Tile"}, {L"&Large Icon", L"L&ist", L"&Tile"}},
        {{L"Remove", L"&Rename"}, {L"R&emove", L"&Rename"}},  // a later caption's own key is kept too
        {{L"R&&D", L"Rest"}, {L"&R&&D", L"R&est"}},          // "&&" is an ampersand, not a key
        {{L"a", L"A", L"...", L"12"}, {L"&a", L"A", L"...", L"&12"}},  // keys compare regardless of case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.captions));
        EXPECT_EQ(kit::WithAccessKeys(c.captions), c.shown);
    }
}

TEST(ShortcutText, NamesTheModifiersAndTheKey) {
    struct Case { kit::Shortcut shortcut; const wchar_t* text; };
    const Case cases[] = {
        {{0, 0}, L""},
        {{FCONTROL, 'F'}, L"Ctrl+F"},
        {{FCONTROL | FSHIFT, 'S'}, L"Ctrl+Shift+S"},
        {{FALT, VK_F4}, L"Alt+F4"},
        {{0, VK_DELETE}, L"Del"},
        {{FCONTROL, VK_NUMPAD0}, L"Ctrl+Num 0"},
    };
    for (const Case& c : cases) EXPECT_EQ(kit::ShortcutText(c.shortcut), c.text);
}

} // namespace
