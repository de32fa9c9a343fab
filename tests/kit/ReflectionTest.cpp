// A control's notifications reach its wrapper by reflection from the parent; what no wrapper takes reaches the
// parent's own handler.
#include <gtest/gtest.h>

#include "kit/Controls.h"
#include "kit/Window.h"
#include "tests/support/FakeInteraction.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kButtonId = 10;
constexpr int kPlainButtonId = 11;
constexpr int kProbeId = 12;
constexpr UINT kThrow = WM_APP + 5;

// A control that records what reaches it: reflected notifications, and its own messages once subclassed.
class Probe : public kit::Control {
public:
    void Create(HWND parent, const wchar_t* className, DWORD style) {
        CreateControl(className, parent, kProbeId, L"Probe", WS_VISIBLE | style, RECT{10, 60, 200, 90});
    }
    void Subclass() { SubclassControl(); }
    std::vector<UINT> reflected;

protected:
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        reflected.push_back(msg);
        switch (msg) {
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = 20;
            result = TRUE;
            return true;
        case WM_DRAWITEM:
            result = TRUE;
            return true;
        case WM_CTLCOLORSTATIC:
            result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            return true;
        case WM_NOTIFY:
            result = 0;
            return true;
        }
        return Control::OnReflected(msg, wp, lp, result);
    }
    bool OnOwnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        if (msg != kThrow) return false;
        result = 1;
        throw std::runtime_error("the probe failed");
    }
};

// The parent: records the notifications that reached its own handler.
class Parent : public kit::Window {
public:
    Parent() {
        Create({.className = L"KvrReflectionParent", .title = L"Parent", .style = WS_OVERLAPPEDWINDOW,
                .bounds = RECT{40, 40, 440, 240}});
        ShowWindow(hwnd(), SW_SHOWNA);
    }
    std::vector<std::pair<UINT, int>> seen;  // (message, the sender's id)

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT&) override {
        if (msg == WM_COMMAND) seen.emplace_back(msg, LOWORD(wp));
        if (msg == WM_NOTIFY) seen.emplace_back(msg, static_cast<int>(reinterpret_cast<const NMHDR*>(lp)->idFrom));
        return false;
    }
};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

TEST(Reflection, AClickReachesTheButtonsHandlerAndWhatNoWrapperTakesReachesTheParent) {
    Parent parent;
    kit::Button button, plain;
    button.Create(parent.hwnd(), kButtonId, L"Bound", RECT{10, 10, 100, 35});
    plain.Create(parent.hwnd(), kPlainButtonId, L"Plain", RECT{110, 10, 200, 35});
    int clicks = 0;
    std::vector<int> codes;
    button.OnClick = [&] { ++clicks; };
    button.OnCommand = [&](int code) { codes.push_back(code); };

    SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(codes, std::vector<int>{BN_CLICKED});
    EXPECT_TRUE(parent.seen.empty());

    SendMessageW(plain.hwnd(), BM_CLICK, 0, 0);  // no handler bound
    SendMessageW(parent.hwnd(), WM_COMMAND, MAKEWPARAM(300, 0), 0);  // a menu item
    EXPECT_EQ(parent.seen, (std::vector<std::pair<UINT, int>>{{WM_COMMAND, kPlainButtonId}, {WM_COMMAND, 300}}));
}

TEST(Reflection, NotifyDrawMeasureAndColourMessagesReachTheSendersWrapper) {
    struct Case {
        const char* name;
        const wchar_t* className;
        DWORD style;
        UINT expected;
        std::function<void(HWND parent, HWND probe)> cause;
    };
    const Case cases[] = {
        {"WM_NOTIFY", WC_STATICW, SS_LEFT, WM_NOTIFY,
         [](HWND parent, HWND probe) {
             NMHDR header{probe, kProbeId, NM_CLICK};
             SendMessageW(parent, WM_NOTIFY, kProbeId, reinterpret_cast<LPARAM>(&header));
         }},
        {"WM_CTLCOLORSTATIC", WC_STATICW, SS_LEFT, WM_CTLCOLORSTATIC,
         [](HWND, HWND probe) {
             InvalidateRect(probe, nullptr, TRUE);
             UpdateWindow(probe);
         }},
        {"WM_DRAWITEM", WC_BUTTONW, BS_OWNERDRAW, WM_DRAWITEM,
         [](HWND, HWND probe) {
             InvalidateRect(probe, nullptr, TRUE);
             UpdateWindow(probe);
         }},
        {"WM_MEASUREITEM", WC_LISTBOXW, LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, WM_MEASUREITEM,
         [](HWND, HWND probe) { SendMessageW(probe, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row")); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Parent parent;
        Probe probe;
        probe.Create(parent.hwnd(), c.className, c.style);
        Pump();
        probe.reflected.clear();
        c.cause(parent.hwnd(), probe.hwnd());
        EXPECT_NE(std::find(probe.reflected.begin(), probe.reflected.end(), c.expected), probe.reflected.end());
        EXPECT_TRUE(parent.seen.empty());
    }
}

TEST(Reflection, ASubclassedControlsFailureIsReportedOnceAndTheControlLetsGoWithItsParent) {
    testsupport::FakeInteraction fake;
    Probe probe;
    {
        Parent parent;
        probe.Create(parent.hwnd(), WC_STATICW, SS_LEFT);
        probe.Subclass();
        EXPECT_EQ(SendMessageW(probe.hwnd(), kThrow, 0, 0), 0);  // the control's own handling answers
        ASSERT_EQ(fake.asked.size(), 1u);
        EXPECT_EQ(fake.asked[0].text, L"the probe failed");
        EXPECT_EQ(kit::Control::FromHandle(probe.hwnd()), &probe);
    }
    // The parent took the control with it: the wrapper holds no handle another window could get.
    EXPECT_EQ(probe.hwnd(), nullptr);
}
