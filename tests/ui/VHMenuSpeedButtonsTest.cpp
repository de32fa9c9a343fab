// The menu buttons in a plain window, driven by the mouse messages a person's clicks send. A real pop-up menu
// opens; a timer inside its loop notes where and how it opened, and closes it.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "kit/Window.h"
#include "tests/support/FakeInteraction.h"
#include "ui/VHMenuSpeedButtons.h"

namespace {

using ui::TVHCustomMenuSpeedButton;
using ui::TVHLinkedMenuSpeedButton;
using ui::TVHLinkedSpeedButton;
using ui::TVHUngroupedSpeedButton;

class Host : public kit::Window {
public:
    Host() {
        Create({.className = L"KvrTestButtonHost", .title = L"Buttons", .style = WS_OVERLAPPEDWINDOW,
                .bounds = RECT{100, 100, 500, 300}});
        ShowWindow(hwnd(), SW_SHOWNA);
    }
    std::vector<int> commands;  // the menu commands that reached the window

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg != WM_COMMAND) return false;
        commands.push_back(LOWORD(wp));
        result = 0;
        return true;
    }
};

// What the timer saw once the menu was open.
struct MenuSeen {
    bool opened = false;
    POINT topLeft{};
};
MenuSeen menuSeen;
std::function<void()> whileMenuOpen;

void CALLBACK WatchMenu(HWND, UINT, UINT_PTR id, DWORD) {
    const HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    KillTimer(nullptr, id);
    RECT r{};
    GetWindowRect(menu, &r);
    menuSeen = {true, POINT{r.left, r.top}};
    if (whileMenuOpen) whileMenuOpen();
    EndMenu();
}

class MenuSpeedButtonsTest : public testing::Test {
protected:
    void SetUp() override {
        menuSeen = {};
        whileMenuOpen = nullptr;
        menu_ = CreatePopupMenu();
        AppendMenuW(menu_, MF_STRING, 501, L"First");
        AppendMenuW(menu_, MF_STRING, 502, L"Second");
    }
    void TearDown() override {
        whileMenuOpen = nullptr;
        DestroyMenu(menu_);
    }

    // A left press at one point and a release at another, as the button with the mouse captured gets them.
    void Press(HWND button, POINT down, POINT up, bool left = true) {
        const UINT_PTR watch = SetTimer(nullptr, 0, 30, WatchMenu);
        SendMessageW(button, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON,
                     MAKELPARAM(down.x, down.y));
        SendMessageW(button, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0,
                     MAKELPARAM(static_cast<WORD>(up.x), static_cast<WORD>(up.y)));
        KillTimer(nullptr, watch);
    }
    static POINT ScreenPoint(const kit::Window& button, POINT client) {
        ClientToScreen(button.hwnd(), &client);
        return client;
    }

    Host host;
    HMENU menu_ = nullptr;
};

TEST_F(MenuSpeedButtonsTest, TheMenuDropsFromTheChosenCorner) {
    TVHCustomMenuSpeedButton button;
    button.Create(host.hwnd(), 10, RECT{50, 40, 130, 64}, L"Menu");
    button.SetVisible(true);
    button.SetActiveMenu(menu_);
    const POINT corners[] = {{0, 0}, {0, 24}, {80, 0}, {80, 24}};  // top-left, bottom-left, top-right, bottom-right
    for (std::uint8_t placing = 0; placing < 4; ++placing) {
        SCOPED_TRACE(testing::Message() << "placing " << int{placing});
        button.MenuPlacing = placing;
        menuSeen = {};
        Press(button.hwnd(), {10, 10}, {10, 10});
        ASSERT_TRUE(menuSeen.opened);
        const POINT expected = ScreenPoint(button, corners[placing]);
        EXPECT_EQ(menuSeen.topLeft.x, expected.x);
        EXPECT_EQ(menuSeen.topLeft.y, expected.y);
    }
}

// Released over the button: the click, then the menu; the button pops up before the menu with ReleaseButton,
// after it without. Released elsewhere, or by the right button: neither.
TEST_F(MenuSpeedButtonsTest, AReleaseOverTheButtonClicksThenDropsTheMenu) {
    struct Case {
        bool releaseButton, left;
        POINT up;
        bool clicked, menu, downWhileOpen;
    };
    const Case cases[] = {
        {false, true, {10, 10}, true, true, true},
        {true, true, {10, 10}, true, true, false},
        {false, true, {79, 24}, true, true, true},   // the last point that counts as over it
        {false, true, {80, 10}, false, false, false},
        {false, true, {10, -1}, false, false, false},
        {false, false, {10, 10}, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "release button " << c.releaseButton << ", left " << c.left << ", at "
                                        << c.up.x << "," << c.up.y);
        TVHCustomMenuSpeedButton button;
        button.Create(host.hwnd(), 10, RECT{50, 40, 130, 64});
        button.SetVisible(true);
        button.SetActiveMenu(menu_);
        button.ReleaseButton = c.releaseButton;
        std::vector<bool> menuOpenAtClick;
        button.OnClick = [&] { menuOpenAtClick.push_back(menuSeen.opened); };
        bool downWhileOpen = false;
        whileMenuOpen = [&] { downWhileOpen = button.DrawnDown(); };
        menuSeen = {};
        Press(button.hwnd(), {10, 10}, c.up, c.left);
        EXPECT_EQ(menuOpenAtClick, c.clicked ? std::vector<bool>{false} : std::vector<bool>{});
        EXPECT_EQ(menuSeen.opened, c.menu);
        EXPECT_EQ(downWhileOpen, c.downWhileOpen);
        EXPECT_FALSE(button.DrawnDown());
    }
}

// The menu goes through the interaction seam like every other; the item chosen reaches the top-level window.
TEST_F(MenuSpeedButtonsTest, TheMenuIsAskedThroughTheSeamAndItsChoiceReachesTheWindow) {
    testsupport::FakeInteraction person;
    TVHCustomMenuSpeedButton button;
    button.Create(host.hwnd(), 10, RECT{50, 40, 130, 64}, L"Menu");
    button.SetVisible(true);
    button.SetActiveMenu(menu_);
    button.MenuPlacing = 1;  // bottom-left
    for (const UINT chosen : {502u, 0u}) {
        SCOPED_TRACE(chosen);
        person.menus.clear();
        host.commands.clear();
        person.chooseFromMenu = [&](HWND, HMENU) { return chosen; };
        Press(button.hwnd(), {10, 10}, {10, 10});
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        ASSERT_EQ(person.menus.size(), 1u);
        EXPECT_EQ(person.menus[0].owner, host.hwnd());
        const POINT corner = ScreenPoint(button, {0, 24});
        EXPECT_EQ(person.menus[0].point.x, corner.x);
        EXPECT_EQ(person.menus[0].point.y, corner.y);
        EXPECT_EQ(host.commands, chosen ? std::vector<int>{502} : std::vector<int>{});
        EXPECT_FALSE(menuSeen.opened) << "no real menu";
    }
}

TEST_F(MenuSpeedButtonsTest, AClickArrivingWhileTheReleaseIsHandledDoesNothing) {
    TVHCustomMenuSpeedButton button;
    button.Create(host.hwnd(), 10, RECT{50, 40, 130, 64});
    button.SetVisible(true);
    button.SetActiveMenu(menu_);
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    bool inMouseUp = false;
    whileMenuOpen = [&] {
        inMouseUp = button.InMouseUp();
        SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
    };
    Press(button.hwnd(), {10, 10}, {10, 10});
    ASSERT_TRUE(menuSeen.opened);
    EXPECT_TRUE(inMouseUp);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button.InMouseUp());
    SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
}

class LinkedPairTest : public MenuSpeedButtonsTest {
protected:
    void SetUp() override {
        MenuSpeedButtonsTest::SetUp();
        master.Create(host.hwnd(), 20, RECT{50, 40, 130, 64}, L"Browse...");
        half = std::make_unique<TVHLinkedMenuSpeedButton>();
        half->Create(host.hwnd(), 21);
        master.SetMenuButton(half.get());
        master.SetVisible(true);
        half->SetVisible(true);
        half->SetActiveMenu(menu_);
        master.OnClick = [this] { ++masterClicks; };
        half->OnClick = [this] { ++halfOwnClicks; };
        half->OnMouseDown = [this](ui::TMouseButton, UINT, int, int) { ++halfMouseDowns; };
    }
    void Move(HWND button, int x, int y) {
        SendMessageW(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }

    TVHLinkedSpeedButton master;
    std::unique_ptr<TVHLinkedMenuSpeedButton> half;
    int masterClicks = 0;
    int halfOwnClicks = 0;
    int halfMouseDowns = 0;
};

TEST_F(LinkedPairTest, TheHalfSitsAtTheMastersRightEdgeAndFollowsIt) {
    EXPECT_EQ(half->MasterButton(), &master);
    const auto expectGlued = [&](int width) {
        const RECT m = master.Bounds(), h = half->Bounds();
        EXPECT_EQ(h.left, m.right);
        EXPECT_EQ(h.top, m.top);
        EXPECT_EQ(h.bottom, m.bottom);
        EXPECT_EQ(h.right - h.left, width);
    };
    expectGlued(TVHLinkedMenuSpeedButton::kWidth);
    master.SetBounds(RECT{20, 10, 120, 40});
    expectGlued(TVHLinkedMenuSpeedButton::kWidth);
    half->SetBounds(RECT{300, 100, 320, 110});  // a half with a master goes where the master says, its width its own
    expectGlued(20);

    // A new half takes the old one's place; the old one moves to its right and is unlinked.
    TVHLinkedMenuSpeedButton other;
    other.Create(host.hwnd(), 22);
    master.SetMenuButton(&other);
    EXPECT_EQ(half->MasterButton(), nullptr);
    EXPECT_EQ(other.Bounds().left, master.Bounds().right);
    EXPECT_EQ(half->Bounds().left, other.Bounds().right);
    master.SetMenuButton(half.get());
    EXPECT_EQ(other.MasterButton(), nullptr);
    half.reset();  // a freed half is forgotten by its master
    EXPECT_EQ(master.MenuButton(), nullptr);
}

TEST_F(LinkedPairTest, TheHalfTakesTheMastersLookAndState) {
    master.SetFlat(true);
    EXPECT_TRUE(half->Flat());
    half->SetFlat(false);  // not against its master
    EXPECT_TRUE(half->Flat());

    master.SetEnabled(false);
    EXPECT_FALSE(half->Enabled());
    half->SetEnabled(true);  // a half whose master is disabled cannot be enabled
    EXPECT_FALSE(half->Enabled());
    master.SetEnabled(true);
    EXPECT_TRUE(half->Enabled());

    for (TVHUngroupedSpeedButton* button : {static_cast<TVHUngroupedSpeedButton*>(&master),
                                            static_cast<TVHUngroupedSpeedButton*>(half.get())}) {
        button->SetGroupIndex(3);
        EXPECT_EQ(button->GroupIndex(), 0);
    }
    EXPECT_TRUE(half->UseDefaultGlyph());
    EXPECT_NE(half->Glyph(), nullptr);
    half->SetGlyph(kit::UniqueBitmap(CreateBitmap(4, 4, 1, 1, nullptr)));
    EXPECT_FALSE(half->UseDefaultGlyph());
}

// Pressing the master presses the half with it: over either, both are drawn down and the release clicks the
// master; the half's own events are set aside meanwhile and its menu stays closed.
TEST_F(LinkedPairTest, ThePairIsPressedAsOneButton) {
    const UINT_PTR watch = SetTimer(nullptr, 0, 30, WatchMenu);
    SendMessageW(master.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(master.DrawnDown());
    EXPECT_TRUE(half->LinkedDown());
    EXPECT_TRUE(half->DrawnDown());
    EXPECT_EQ(halfMouseDowns, 0) << "the half's own mouse-down event is set aside";

    struct Step {
        int x;
        bool masterDown, halfDown;
    };
    const Step moves[] = {{85, true, true}, {200, false, false}, {85, true, true}, {10, true, true}};
    for (const Step& step : moves) {
        SCOPED_TRACE(testing::Message() << "at " << step.x);
        Move(master.hwnd(), step.x, 10);
        EXPECT_EQ(master.DrawnDown(), step.masterDown);
        EXPECT_EQ(half->DrawnDown(), step.halfDown);
    }
    Move(master.hwnd(), 85, 10);
    SendMessageW(master.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(85, 10));  // released over the half
    KillTimer(nullptr, watch);
    EXPECT_EQ(masterClicks, 1);
    EXPECT_FALSE(menuSeen.opened);
    EXPECT_FALSE(half->LinkedDown());
    EXPECT_FALSE(master.DrawnDown());
    EXPECT_FALSE(half->DrawnDown());

    // The half's events are back: pressed alone, it clicks and drops its menu.
    Press(half->hwnd(), {5, 5}, {5, 5});
    EXPECT_EQ(halfMouseDowns, 1);
    EXPECT_TRUE(menuSeen.opened);
    EXPECT_EQ(masterClicks, 1);
    // Released off the pair, nothing is clicked.
    Press(master.hwnd(), {10, 10}, {200, 10});
    EXPECT_EQ(masterClicks, 1);
    Press(master.hwnd(), {10, 10}, {10, 10});
    EXPECT_EQ(masterClicks, 2);
}

TEST_F(LinkedPairTest, TheHalfsMenuCanAlignWithTheMaster) {
    for (const bool align : {false, true}) {
        SCOPED_TRACE(testing::Message() << "align " << align);
        half->AlignMenuToMaster = align;
        menuSeen = {};
        Press(half->hwnd(), {5, 5}, {5, 5});
        ASSERT_TRUE(menuSeen.opened);
        const POINT expected = align ? ScreenPoint(master, {0, 24}) : ScreenPoint(*half, {0, 24});
        EXPECT_EQ(menuSeen.topLeft.x, expected.x);
        EXPECT_EQ(menuSeen.topLeft.y, expected.y);
    }
}

TEST_F(LinkedPairTest, TheMastersClickCanRunTheMenusDefaultItem) {
    master.TriggerDefMenuItem = true;
    SendMessageW(master.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(masterClicks, 1) << "no default item: the master's own click";
    SetMenuDefaultItem(menu_, 502, FALSE);
    SendMessageW(master.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(masterClicks, 1);
    EXPECT_EQ(host.commands, std::vector<int>{502});
}

} // namespace
