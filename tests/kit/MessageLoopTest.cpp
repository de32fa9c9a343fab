#include <windows.h>

#include <gtest/gtest.h>

#include "kit/MessageLoop.h"
#include "tests/support/FakeInteraction.h"

namespace {

int g_delivered = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
        ++g_delivered;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Waits until the tick count itself has moved on: under load, Wine updates it later than Sleep returns.
void WaitTicks(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) Sleep(1);
}

HWND MakeMessageWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KvrMessageLoopTest";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

} // namespace

TEST(MessageLoop, ProcessMessagesPumpsAtMostEveryTenMilliseconds) {
    const HWND window = MakeMessageWindow();
    g_delivered = 0;
    kit::ProcessMessagesNow();
    PostMessageW(window, WM_APP, 0, 0);
    kit::ProcessMessages();  // right after a pump: returns at once
    EXPECT_EQ(g_delivered, 0);
    WaitTicks(15);
    kit::ProcessMessages();
    EXPECT_EQ(g_delivered, 1);
    PostMessageW(window, WM_APP, 0, 0);
    kit::ProcessMessagesNow();  // the forced form pumps whatever the time
    EXPECT_EQ(g_delivered, 2);
    DestroyWindow(window);
}

TEST(MessageLoop, AQuitSeenByANestedPumpReachesTheOuterLoop) {
    PostQuitMessage(7);
    kit::ProcessMessagesNow();
    EXPECT_TRUE(kit::QuitRequested());
    EXPECT_EQ(kit::QuitExitCode(), 7);
    // The outer loop still sees the quit and ends with its code.
    EXPECT_EQ(kit::RunMessageLoop(), 7);
    EXPECT_FALSE(kit::QuitRequested());
}

TEST(MessageLoop, AWaitThroughTheSeamCountsAsTimePassed) {
    // A walk paused under a test's clock waits through the seam; each wait must let the queue be seen.
    testsupport::FakeInteraction clock;
    const HWND window = MakeMessageWindow();
    g_delivered = 0;
    kit::ProcessMessagesNow();
    PostMessageW(window, WM_APP, 0, 0);
    kit::ProcessMessages();
    EXPECT_EQ(g_delivered, 0);
    clock.Sleep(20);  // no real time passes
    kit::ProcessMessages();
    EXPECT_EQ(g_delivered, 1);
    DestroyWindow(window);
}
