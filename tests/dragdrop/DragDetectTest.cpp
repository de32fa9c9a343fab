#include <gtest/gtest.h>

#include <windows.h>

#include "dragdrop/DragDrop.h"
#include "kit/Handles.h"

#include <thread>

using namespace dragdrop;

TEST(DragDetect, VerdictOfOneMessage) {
    const POINT press{100, 100};
    const RECT dragRect = DragRectangle(press, 4, 4);  // 96..103 inside on both axes
    const DWORD start = 1000;
    const DWORD delay = 200;
    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
        POINT pt;
        DWORD time;
        DWORD start;
        TDragDetectVerdict verdict;
    };
    using V = TDragDetectVerdict;
    const Case cases[] = {
        {"out of the rectangle after the delay", WM_MOUSEMOVE, 0, {110, 100}, 1200, start, V::Drag},
        {"out, one ms too early", WM_MOUSEMOVE, 0, {110, 100}, 1199, start, V::Undecided},
        {"inside, late", WM_MOUSEMOVE, 0, {103, 103}, 1500, start, V::Undecided},
        {"top-left corner is inside", WM_MOUSEMOVE, 0, {96, 96}, 1500, start, V::Undecided},
        {"right edge is outside", WM_MOUSEMOVE, 0, {104, 100}, 1500, start, V::Drag},
        {"left of the rectangle", WM_MOUSEMOVE, 0, {95, 100}, 1500, start, V::Drag},
        {"above the rectangle", WM_MOUSEMOVE, 0, {100, 50}, 1500, start, V::Drag},
        {"a move queued before the press", WM_MOUSEMOVE, 0, {300, 300}, 990, start, V::Undecided},
        {"the clock wrapped since the press", WM_MOUSEMOVE, 0, {300, 300}, 0x100, 0xFFFFFF00u, V::Drag},
        {"button released", WM_LBUTTONUP, 0, {100, 100}, 1100, start, V::NoDrag},
        {"right button", WM_RBUTTONDOWN, 0, {100, 100}, 1100, start, V::NoDrag},
        {"middle button released", WM_MBUTTONUP, 0, {300, 300}, 1500, start, V::NoDrag},
        {"Escape", WM_KEYDOWN, VK_ESCAPE, {100, 100}, 1100, start, V::NoDrag},
        {"another key", WM_KEYDOWN, 'A', {100, 100}, 1100, start, V::Undecided},
        {"cancel mode", WM_CANCELMODE, 0, {100, 100}, 1100, start, V::NoDrag},
        {"quit", WM_QUIT, 0, {100, 100}, 1100, start, V::NoDrag},
        {"a timer", WM_TIMER, 1, {300, 300}, 1500, start, V::Undecided},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MSG message{};
        message.message = c.message;
        message.wParam = c.wParam;
        message.pt = c.pt;
        message.time = c.time;
        EXPECT_EQ(DragDetectVerdict(message, dragRect, c.start, delay), c.verdict);
    }
}

namespace {

// A window of this thread with the left button down in the thread's key state; the state and the module
// values are restored afterwards.
class DetectDragTest : public testing::Test {
protected:
    void SetUp() override {
        window_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200, nullptr,
                                      nullptr, nullptr, nullptr));
        ASSERT_TRUE(window_);
        GetKeyboardState(saved_);
        Drain();
        SetLeftButton(true);
    }
    void TearDown() override {
        SetKeyboardState(saved_);
        DragDetectHoldTimeout = 500;
        DragDetectDelay = 200;
        DragDetectOnHold = true;
        Drain();
    }
    static void SetLeftButton(bool down) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_LBUTTON] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    static void Drain() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);  // paints too
    }
    HWND window() const { return window_.get(); }
    POINT Centre() const {
        RECT bounds;
        GetWindowRect(window(), &bounds);
        return POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    }

private:
    kit::UniqueWindow window_;
    BYTE saved_[256] = {};
};

} // namespace

TEST_F(DetectDragTest, NoButtonDownIsNoDrag) {
    SetLeftButton(false);
    EXPECT_FALSE(DetectDrag(window(), Centre()));
}

TEST_F(DetectDragTest, ButtonReleasedIsAClickLeftForTheWindow) {
    PostMessageW(window(), WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(DetectDrag(window(), Centre()));
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, window(), WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)) << "still queued";
    EXPECT_NE(GetCapture(), window()) << "the capture is released";
}

TEST_F(DetectDragTest, HoldingStillStartsADragUnlessSwitchedOff) {
    DragDetectHoldTimeout = 50;
    EXPECT_TRUE(DetectDrag(window(), Centre()));
    EXPECT_NE(GetCapture(), window());

    DragDetectOnHold = false;
    PostMessageW(window(), WM_KEYDOWN, VK_ESCAPE, 0);  // ends the wait
    EXPECT_FALSE(DetectDrag(window(), Centre()));
}

TEST_F(DetectDragTest, EscapeEndsAndQuitIsPostedAgain) {
    PostMessageW(window(), WM_KEYDOWN, 'A', 0);
    PostMessageW(window(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(DetectDrag(window(), Centre()));

    PostQuitMessage(7);
    EXPECT_FALSE(DetectDrag(window(), Centre()));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

TEST_F(DetectDragTest, AMoveOutOfTheRectangleAfterThePressStartsADrag) {
    DragDetectOnHold = false;
    DragDetectHoldTimeout = 50;
    DragDetectDelay = 10;
    const POINT centre = Centre();
    // A move queued before the press is no drag, wherever it points.
    SetCursorPos(centre.x + 50, centre.y);
    PostMessageW(window(), WM_MOUSEMOVE, 0, 0);
    PostMessageW(window(), WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(20);
    EXPECT_FALSE(DetectDrag(window(), centre));

    // One that arrives later does; its own point is what counts (the cursor is back on the press point).
    std::thread mover([&] {
        Sleep(40);
        SetCursorPos(centre.x + 50, centre.y);
        PostMessageW(window(), WM_MOUSEMOVE, 0, 0);
        SetCursorPos(centre.x, centre.y);
    });
    const bool dragged = DetectDrag(window(), centre);
    mover.join();
    EXPECT_TRUE(dragged);
}
