#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <stdexcept>
#include <vector>

#include "kit/Scope.h"

namespace {

LRESULT CALLBACK RecordRedraw(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    if (msg == WM_SETREDRAW) reinterpret_cast<std::vector<WPARAM>*>(data)->push_back(wp);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace

TEST(Scope, EachOwnerUndoesItsBeginOnEveryWayOut) {
    int exits = 0, counter = 0;
    try {
        const kit::ScopeExit exit([&] { ++exits; });
        const kit::ScopedIncrement outer(counter);
        {
            const kit::ScopedIncrement inner(counter);  // nested: the inner end leaves the outer standing
            EXPECT_EQ(counter, 2);
        }
        EXPECT_EQ(counter, 1);
        throw std::runtime_error("leave early");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(counter, 0);
}

TEST(Scope, RedrawOffSwitchesRedrawBackOnAndRepaintsTheWholeWindow) {
    const HWND window = CreateWindowExW(0, WC_STATICW, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    std::vector<WPARAM> redraws;
    SetWindowSubclass(window, RecordRedraw, 1, reinterpret_cast<DWORD_PTR>(&redraws));
    {
        const kit::RedrawOff off(window);
        EXPECT_EQ(redraws, std::vector<WPARAM>{FALSE});
    }
    EXPECT_EQ(redraws, (std::vector<WPARAM>{FALSE, TRUE}));
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(window, &pending, FALSE));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_TRUE(EqualRect(&pending, &client));
    RemoveWindowSubclass(window, RecordRedraw, 1);
    DestroyWindow(window);
}
