// The modal wait: while the program waits on a person, its other windows are off and back on afterwards exactly as
// they were, its stay-on-top windows below the wait's window, and the focus comes back to the control that had it;
// every way the program waits (the seam, a kit dialog, the menu bar, a window menu) holds one; what waits for its
// end is posted once; and no action runs meanwhile.
#include <gtest/gtest.h>

#include "kit/Actions.h"
#include "kit/Dialog.h"
#include "kit/Handles.h"
#include "kit/ModalWait.h"
#include "kit/Window.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FakeInteraction.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// A shown top-level window of this thread, owned by `owner` (none: standing alone).
kit::UniqueWindow Shown(HWND owner = nullptr) {
    return kit::UniqueWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, owner, nullptr,
                                             nullptr, nullptr));
}

bool Enabled(const kit::UniqueWindow& window) { return IsWindowEnabled(window.get()) != FALSE; }

// A window of the kit that counts one message and answers nothing else.
class CountingWindow : public kit::Window {
public:
    static constexpr UINT kCounted = WM_APP + 7;
    void Make() { Create({.className = L"KvrModalWaitTestWindow", .title = L"", .style = WS_POPUP | WS_VISIBLE}); }
    int counted = 0;

protected:
    bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        if (msg != kCounted) return false;
        ++counted;
        result = 0;
        return true;
    }
};

// A modal dialog with nothing in it.
class EmptyDialog : public kit::Dialog {
public:
    EmptyDialog() : Dialog({.title = L"Empty", .clientSize = {200, 120}}) {}

protected:
    void OnCreate() override {}
};

struct Question {
    const char* name;
    std::function<void()> ask;
};

// The seam's questions that the system answers in a dialog of its own, each asked of `owner`.
std::vector<Question> DialogQuestions(HWND owner) {
    const auto seam = [] { return &kit::UserInteraction(); };
    return {
        {"message", [=] { seam()->ShowMessage(owner, L"x", kit::MessageType::Warning, kit::MessageButtons::Ok); }},
        {"Yes/No", [=] {
             seam()->AskYesNo(owner, L"x", L"c", kit::MessageType::Confirmation, kit::MessageAnswer::No);
         }},
        {"prompt", [=] {
             std::wstring value;
             seam()->InputQuery(owner, L"c", L"p", value);
         }},
        {"folder browser", [=] { seam()->BrowseForFolder(owner, {}); }},
    };
}

// A main window with two edits, the second focused as a person leaves it.
class EditsWindow : public kit::Window {
public:
    void Make() {
        Create({.className = L"KvrModalWaitTestEdits", .title = L"Edits", .style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                .bounds = RECT{100, 100, 700, 500}});
        for (int i = 0; i < 2; ++i)
            edits[i] = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 10,
                                       10 + 30 * i, 200, 24, hwnd(), nullptr, nullptr, nullptr);
    }
    HWND edits[2] = {};

protected:
    bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
};


bool Topmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

} // namespace

TEST(ModalWait, TheOtherWindowsAreOffMeanwhileAndExactlyThoseComeBack) {
    const kit::UniqueWindow owner = Shown();
    const kit::UniqueWindow tool = Shown(owner.get());  // a modeless tool window of the owner
    const kit::UniqueWindow other = Shown();
    const kit::UniqueWindow alreadyOff = Shown();
    EnableWindow(alreadyOff.get(), FALSE);
    const kit::UniqueWindow hidden(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                                   nullptr, nullptr));
    const kit::UniqueWindow child(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, owner.get(),
                                                  nullptr, nullptr, nullptr));
    EXPECT_FALSE(kit::ModalWaiting());
    {
        // Asked from a control of the owner: the owner's window is the loop's to handle.
        const kit::ModalWait wait(child.get());
        EXPECT_TRUE(kit::ModalWaiting());
        EXPECT_TRUE(Enabled(owner));
        EXPECT_FALSE(Enabled(tool));
        EXPECT_FALSE(Enabled(other));
        EXPECT_TRUE(Enabled(hidden)) << "a hidden window takes no input";
        {
            const kit::ModalWait standingAlone(nullptr);
            EXPECT_FALSE(Enabled(owner));
        }
        EXPECT_TRUE(Enabled(owner)) << "the inner wait gives back what it took";
        EXPECT_FALSE(Enabled(tool)) << "and leaves the outer wait's";
        EXPECT_TRUE(kit::ModalWaiting());
    }
    EXPECT_FALSE(kit::ModalWaiting());
    EXPECT_TRUE(Enabled(tool));
    EXPECT_TRUE(Enabled(other));
    EXPECT_FALSE(Enabled(alreadyOff)) << "off before, off after";
    EXPECT_TRUE(Enabled(hidden));
}

TEST(ModalWait, WhatWaitsForTheEndIsPostedOnceWhenTheOutermostWaitEnds) {
    CountingWindow window;
    window.Make();
    kit::PostAfterModalWaits(window.hwnd(), CountingWindow::kCounted);
    Pump();
    EXPECT_EQ(window.counted, 1) << "no wait: at once";
    {
        const kit::ModalWait outer(window.hwnd());
        {
            const kit::ModalWait inner(window.hwnd());
            kit::PostAfterModalWaits(window.hwnd(), CountingWindow::kCounted);
            kit::PostAfterModalWaits(window.hwnd(), CountingWindow::kCounted);
        }
        Pump();
        EXPECT_EQ(window.counted, 1) << "the outer wait still lasts";
    }
    Pump();
    EXPECT_EQ(window.counted, 2);
}

TEST(ModalWait, EveryQuestionThroughTheSeamIsAWaitWhoeverAnswersIt) {
    testsupport::FakeInteraction person;
    const kit::UniqueWindow owner = Shown();
    const kit::UniqueWindow tool = Shown(owner.get());
    bool waiting = false, toolOff = false;
    const auto look = [&] {
        waiting = kit::ModalWaiting();
        toolOff = !Enabled(tool);
    };
    person.whileAsked = look;
    person.chooseFromMenu = [&](HWND, HMENU) -> UINT {
        look();
        return 0;
    };
    kit::Interaction& seam = kit::UserInteraction();
    const HWND o = owner.get();
    const kit::UniqueMenu menu(CreatePopupMenu());
    std::vector<Question> cases = DialogQuestions(o);
    cases.insert(cases.end(), {
        {"save dialog", [&] { seam.SaveFile(o, {}); }},
        {"shell verb", [&] { seam.ShellExecuteVerb(o, {L"open", L"x.txt"}); }},
        {"property sheet", [&] { seam.ShowFileProperties(o, {L"C:\\x"}); }},
        {"pop-up menu", [&] { seam.TrackMenu(o, menu.get(), {0, 0}); }},
    });
    for (const Question& c : cases) {
        SCOPED_TRACE(c.name);
        waiting = toolOff = false;
        c.ask();
        EXPECT_TRUE(waiting);
        EXPECT_TRUE(toolOff);
        EXPECT_FALSE(kit::ModalWaiting());
        EXPECT_TRUE(Enabled(tool));
    }
    // The clock and the waits ask no one.
    person.onSleep = [&](DWORD) { waiting = kit::ModalWaiting(); };
    seam.Sleep(5);
    EXPECT_FALSE(waiting);
}

TEST(ModalWait, AModalKitDialogIsAWait) {
    EmptyDialog dialog;
    const kit::UniqueWindow owner = Shown();
    const kit::UniqueWindow tool = Shown(owner.get());
    bool ownerOff = false, toolOff = false;
    testsupport::ShowWithPerson([&] { dialog.ShowModal(owner.get()); },
                                [&](HWND shown) {
                                    if (!shown) return;
                                    ownerOff = !Enabled(owner);
                                    toolOff = !Enabled(tool);
                                    PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
                                });
    EXPECT_TRUE(ownerOff) << "by the dialog itself";
    EXPECT_TRUE(toolOff) << "by the wait";
    EXPECT_TRUE(Enabled(owner));
    EXPECT_TRUE(Enabled(tool));
}

TEST(ModalWait, EachWaitsWindowStandsAboveTheStayOnTopWindowsAndTheFocusComesBackAfterIt) {
    EditsWindow owner;
    owner.Make();
    // A stay-on-top tool window over the owner's middle, where a prompt opens.
    // SS_NOTIFY: a static control that answers no hit test would let every click through.
    const kit::UniqueWindow tool(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"",
                                                 WS_POPUP | WS_VISIBLE | SS_NOTIFY, 250, 150, 300, 300, owner.hwnd(),
                                                 nullptr, nullptr, nullptr));
    EmptyDialog dialog;
    std::vector<Question> cases = DialogQuestions(owner.hwnd());
    cases.push_back({"a dialog of the kit", [&] { dialog.ShowModal(owner.hwnd()); }});
    for (const Question& c : cases) {
        SCOPED_TRACE(c.name);
        SetForegroundWindow(owner.hwnd());
        SetFocus(owner.edits[1]);
        Pump();
        ASSERT_EQ(GetFocus(), owner.edits[1]);
        bool above = false, clickReaches = false;
        testsupport::ShowWithPerson(c.ask, [&](HWND shown) {
            if (!shown) return;
            above = testsupport::StandsAbove(shown, tool.get());
            RECT bounds{};
            GetWindowRect(shown, &bounds);
            const POINT middle{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
            clickReaches = GetAncestor(WindowFromPoint(middle), GA_ROOT) == shown;
            PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_TRUE(above);
        EXPECT_TRUE(clickReaches) << "a click on the wait's window goes to it";
        EXPECT_TRUE(Topmost(tool.get())) << "on top again";
        EXPECT_EQ(GetFocus(), owner.edits[1]);
    }
}

TEST(ModalWait, AMenuLoopOfTheDefaultProcedureIsAWait) {
    CountingWindow window;
    window.Make();
    EmptyDialog modeless;
    modeless.CreateModeless(nullptr);
    ShowWindow(modeless.hwnd(), SW_SHOWNA);
    const kit::UniqueWindow other = Shown();
    // The menu bar's loop, and a pop-up's: the caption's window menu, which the default procedure opens; of a
    // window and of a modeless dialog.
    for (const HWND menuOwner : {window.hwnd(), modeless.hwnd()})
        for (const BOOL popUp : {FALSE, TRUE}) {
            SCOPED_TRACE(popUp ? "pop-up" : "menu bar");
            SendMessageW(menuOwner, WM_ENTERMENULOOP, popUp, 0);
            EXPECT_TRUE(kit::ModalWaiting());
            EXPECT_FALSE(Enabled(other));
            EXPECT_TRUE(IsWindowEnabled(menuOwner)) << "the menu's own window";
            SendMessageW(menuOwner, WM_EXITMENULOOP, popUp, 0);
            EXPECT_FALSE(kit::ModalWaiting());
            EXPECT_TRUE(Enabled(other));
        }
    // A window that goes inside its menu loop ends the wait with it.
    {
        CountingWindow going;
        going.Make();
        SendMessageW(going.hwnd(), WM_ENTERMENULOOP, TRUE, 0);
        DestroyWindow(going.hwnd());
        EXPECT_FALSE(kit::ModalWaiting());
        EXPECT_TRUE(Enabled(other));
    }
}

TEST(ModalWait, NoActionRunsWhileAWaitLasts) {
    kit::ActionList actions;
    int runs = 0;
    actions.Add(1, L"Act", [&] { ++runs; });
    {
        const kit::ModalWait wait(nullptr);
        EXPECT_TRUE(actions.Execute(1)) << "an action, dropped";
        EXPECT_EQ(runs, 0);
    }
    actions.Execute(1);
    EXPECT_EQ(runs, 1);
}
