// The modal wait: while the program waits on a person, its other windows are off and back on afterwards exactly as
// they were; every way the program waits (the seam, a kit dialog, the menu bar) holds one; what waits for its end
// is posted once; and no action runs meanwhile.
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
    struct Case {
        const char* name;
        std::function<void()> ask;
    };
    const Case cases[] = {
        {"message", [&] { seam.ShowMessage(o, L"x", kit::MessageType::Warning, kit::MessageButtons::Ok); }},
        {"Yes/No", [&] { seam.AskYesNo(o, L"x", L"c", kit::MessageType::Confirmation, kit::MessageAnswer::No); }},
        {"prompt", [&] {
             std::wstring value;
             seam.InputQuery(o, L"c", L"p", value);
         }},
        {"folder browser", [&] { seam.BrowseForFolder(o, {}); }},
        {"save dialog", [&] { seam.SaveFile(o, {}); }},
        {"shell verb", [&] { seam.ShellExecuteVerb(o, {L"open", L"x.txt"}); }},
        {"property sheet", [&] { seam.ShowFileProperties(o, {L"C:\\x"}); }},
        {"pop-up menu", [&] { seam.TrackMenu(o, menu.get(), {0, 0}); }},
    };
    for (const Case& c : cases) {
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
    class Empty : public kit::Dialog {
    public:
        Empty() : Dialog({.title = L"Empty", .clientSize = {100, 60}}) {}

    protected:
        void OnCreate() override {}
    } dialog;
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

TEST(ModalWait, TheMenuBarsLoopIsAWaitAndAPopUpsLeavesItToTheSeam) {
    CountingWindow window;
    window.Make();
    const kit::UniqueWindow tool = Shown(window.hwnd());
    SendMessageW(window.hwnd(), WM_ENTERMENULOOP, FALSE, 0);
    EXPECT_TRUE(kit::ModalWaiting());
    EXPECT_FALSE(Enabled(tool));
    EXPECT_TRUE(IsWindowEnabled(window.hwnd())) << "the menu's own window";
    SendMessageW(window.hwnd(), WM_EXITMENULOOP, FALSE, 0);
    EXPECT_FALSE(kit::ModalWaiting());
    EXPECT_TRUE(Enabled(tool));

    SendMessageW(window.hwnd(), WM_ENTERMENULOOP, TRUE, 0);
    EXPECT_FALSE(kit::ModalWaiting());
    SendMessageW(window.hwnd(), WM_EXITMENULOOP, TRUE, 0);
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
