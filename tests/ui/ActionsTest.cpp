#include <gtest/gtest.h>

#include "kit/Actions.h"
#include "kit/Controls.h"
#include "kit/Window.h"

namespace {

constexpr int kSearch = 2001, kStop = 2002, kZoom = 2003, kHidden = 2004;

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
