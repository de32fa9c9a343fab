#include <gtest/gtest.h>

#include "kit/Exception.h"
#include "kit/Handles.h"
#include "kit/Window.h"
#include "tests/support/FakeInteraction.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT kAnswer = WM_APP;
constexpr UINT kThrowOwn = WM_APP + 1;
constexpr UINT kThrowStd = WM_APP + 2;
constexpr UINT kOuter = WM_APP + 10;
constexpr UINT kInner = WM_APP + 11;

class TestWindow : public kit::Window {
public:
    explicit TestWindow(LRESULT answer, int* destroyed = nullptr) : answer_(answer), destroyed_(destroyed) {}
    void Make(const kit::WindowParams& params) { Create(params); }
    using kit::Window::StopDispatch;
    HWND seenAtCreate = nullptr;

protected:
    bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        switch (msg) {
        case WM_CREATE: seenAtCreate = hwnd(); return false;
        case WM_DESTROY: if (destroyed_) ++*destroyed_; return false;
        case kAnswer: result = answer_; return true;
        case kThrowOwn: throw kit::Exception(L"Unable to Create Application Directory: 'C:\\x'");
        case kThrowStd: throw std::runtime_error("plain failure");
        default: return false;
        }
    }

private:
    LRESULT answer_;
    int* destroyed_;
};

const wchar_t* const kClass = L"KvrTestWindow";

} // namespace

TEST(Window, EachObjectHandlesTheMessagesOfItsOwnWindow) {
    // Two windows of one class: the class is registered once and each window finds its own object.
    TestWindow a(42), b(43);
    a.Make({.className = kClass, .title = L"First"});
    b.Make({.className = kClass, .title = L"Second"});
    ASSERT_NE(a.hwnd(), nullptr);
    EXPECT_EQ(a.seenAtCreate, a.hwnd());
    EXPECT_EQ(SendMessageW(a.hwnd(), kAnswer, 0, 0), 42);
    EXPECT_EQ(SendMessageW(b.hwnd(), kAnswer, 0, 0), 43);

    wchar_t title[32] = {};
    GetWindowTextW(b.hwnd(), title, 32);  // unhandled messages reach the default procedure
    EXPECT_STREQ(title, L"Second");
}

// A destructor's first step: the messages its members' controls send as they go find no half-destroyed object.
TEST(Window, AfterStopDispatchTheMessagesGoToTheDefaultProcedureUntilTheWindowGoes) {
    int destroyed = 0;
    HWND hwnd = nullptr;
    {
        TestWindow window(42, &destroyed);
        window.Make({.className = kClass, .title = L"Stopping"});
        hwnd = window.hwnd();
        window.StopDispatch();
        EXPECT_EQ(SendMessageW(hwnd, kAnswer, 0, 0), 0);
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(destroyed, 0);
}

TEST(Window, ChildWindowSitsInItsParentAndLetsGoOfItsHandleWithIt) {
    TestWindow parent(1), child(2);
    parent.Make({.className = kClass, .title = L"Parent"});
    child.Make({.className = kClass, .style = WS_CHILD | WS_VISIBLE, .parent = parent.hwnd(), .childId = 7,
                .bounds = RECT{10, 20, 110, 70}});
    ASSERT_NE(child.hwnd(), nullptr);
    EXPECT_EQ(GetDlgItem(parent.hwnd(), 7), child.hwnd());
    RECT r{};
    GetWindowRect(child.hwnd(), &r);
    MapWindowPoints(nullptr, parent.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 110);
    EXPECT_EQ(r.bottom, 70);

    DestroyWindow(parent.hwnd());
    EXPECT_EQ(parent.hwnd(), nullptr);
    EXPECT_EQ(child.hwnd(), nullptr);
}

TEST(Window, ObjectDestroyedFirstTakesItsWindowWithoutCallingTheGoneHandler) {
    int destroyed = 0;
    HWND hwnd = nullptr;
    {
        TestWindow w(1, &destroyed);
        w.Make({.className = kClass});
        hwnd = w.hwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(destroyed, 0);
}

TEST(Window, ExceptionInAHandlerIsReportedAndTheWindowLivesOn) {
    struct Case { UINT msg; const wchar_t* text; };
    const Case cases[] = {
        {kThrowOwn, L"Unable to Create Application Directory: 'C:\\x'"},
        {kThrowStd, L"plain failure"},
    };
    testsupport::FakeInteraction fake;
    TestWindow w(42);
    w.Make({.className = kClass});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.msg);
        fake.asked.clear();
        EXPECT_EQ(SendMessageW(w.hwnd(), c.msg, 0, 0), 0);
        ASSERT_EQ(fake.asked.size(), 1u);
        EXPECT_EQ(fake.asked[0].text, c.text);
        EXPECT_EQ(fake.asked[0].type, kit::MessageType::Error);
        EXPECT_EQ(fake.asked[0].buttons, kit::MessageButtons::Ok);
        EXPECT_EQ(SendMessageW(w.hwnd(), kAnswer, 0, 0), 42);
    }
}

TEST(Window, ClassOfAnotherProcedureIsRefused) {
    TestWindow w(1);
    EXPECT_THROW(w.Make({.className = L"Button"}), kit::Exception);
    EXPECT_EQ(w.hwnd(), nullptr);
}

// A handler that sends the window another message: the inner one knows it is nested, and the window hears once,
// after the outer one, that no message of its own is under way any more.
TEST(Window, AMessageHandledInsideAnotherKnowsItIsNested) {
    class Nesting : public kit::Window {
    public:
        void Make() { Create({.className = L"KvrNestingTestWindow", .title = L""}); }
        std::vector<std::string> seen;

    protected:
        bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
            if (msg != kOuter && msg != kInner) return false;
            seen.push_back(std::string(msg == kOuter ? "outer" : "inner") + (InNestedMessage() ? " nested" : ""));
            if (msg == kOuter) SendMessageW(hwnd(), kInner, 0, 0);
            result = 0;
            return true;
        }
        void OnOutermostMessageDone() override { seen.push_back("done"); }
    } window;
    window.Make();
    window.seen.clear();
    SendMessageW(window.hwnd(), kOuter, 0, 0);
    EXPECT_EQ(window.seen, (std::vector<std::string>{"outer", "inner nested", "done"}));
}

// A person who goes to another window and comes back finds the keys where they left them, not on the frame.
TEST(Window, ATopLevelWindowGivesTheFocusBackToItsControlWhenActivatedAgain) {
    TestWindow window(0);
    window.Make({.className = kClass, .title = L"Edits", .style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                 .bounds = RECT{50, 50, 450, 350}});
    HWND edits[2];
    for (int i = 0; i < 2; ++i)
        edits[i] = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10 + 30 * i, 200, 24,
                                   window.hwnd(), nullptr, nullptr, nullptr);
    const kit::UniqueWindow otherWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 500, 50, 100, 100,
                                                        nullptr, nullptr, nullptr, nullptr));
    const HWND other = otherWindow.get();
    SetForegroundWindow(window.hwnd());
    SetFocus(edits[1]);
    SetActiveWindow(other);
    ASSERT_NE(GetFocus(), edits[1]);
    SetActiveWindow(window.hwnd());
    EXPECT_EQ(GetFocus(), edits[1]);
    // Gone meanwhile: the frame takes the keys, as before.
    SetActiveWindow(other);
    DestroyWindow(edits[1]);
    SetActiveWindow(window.hwnd());
    EXPECT_EQ(GetFocus(), window.hwnd());
}
