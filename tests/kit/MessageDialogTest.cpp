// Drives the real message dialog as a person would: a second thread waits for it, reads it and answers it.
#include <gtest/gtest.h>

#include "kit/MessageDialog.h"
#include "tests/support/DialogDriver.h"

#include <functional>
#include <vector>

using kit::MessageAnswer;
using kit::MessageButtons;
using kit::MessageType;
using testsupport::ClassOf;
using testsupport::PostKeyToFocus;
using testsupport::ShowWithPerson;
using testsupport::TextOf;

namespace {

struct Child {
    HWND hwnd;
    std::wstring className;
    std::wstring text;
    int id;
    RECT rect;  // in the dialog's client coordinates
};

// What the person saw, collected on their thread and checked on the test's.
struct Seen {
    bool found = false;
    std::wstring title;
    std::vector<Child> buttons;  // in tab order, the order of the set
    std::vector<Child> statics;
    int defaultId = 0;
    HICON icon = nullptr;
    int textHeightNeeded = 0;  // of the text in its static's font and width, wrapped as the static wraps it
    HWND owner = nullptr;
    LONG_PTR exStyle = 0;
    RECT window{};
    RECT client{};
    bool foreground = false;

    const Child* TextStatic() const {
        for (const Child& c : statics)
            if (!c.text.empty()) return &c;
        return nullptr;
    }
    std::vector<std::wstring> Captions() const {
        std::vector<std::wstring> captions;
        for (const Child& b : buttons) captions.push_back(b.text);
        return captions;
    }
};

bool SameClass(const std::wstring& a, const wchar_t* b) {
    return CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

int WrappedHeight(const Child& label) {
    HDC dc = GetDC(label.hwnd);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label.hwnd, WM_GETFONT, 0, 0)));
    RECT r{0, 0, label.rect.right - label.rect.left, 0};
    DrawTextW(dc, label.text.c_str(), -1, &r,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label.hwnd, dc);
    return r.bottom;
}

Seen Read(HWND dialog) {
    Seen seen;
    seen.found = true;
    seen.title = TextOf(dialog);
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
    seen.foreground = GetForegroundWindow() == dialog;
    GetWindowRect(dialog, &seen.window);
    GetClientRect(dialog, &seen.client);
    const LRESULT defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(defId) == DC_HASDEFID) seen.defaultId = LOWORD(defId);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        Child child{c, ClassOf(c), TextOf(c), GetDlgCtrlID(c), {}};
        GetWindowRect(c, &child.rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&child.rect), 2);
        (SameClass(child.className, L"Button") ? seen.buttons : seen.statics).push_back(child);
        if (const LRESULT icon = SendMessageW(c, STM_GETICON, 0, 0)) seen.icon = reinterpret_cast<HICON>(icon);
    }
    if (const Child* text = seen.TextStatic()) seen.textHeightNeeded = WrappedHeight(*text);
    return seen;
}

// Shows the dialog on this thread; a second thread reads it and then does what the person does.
MessageAnswer ShowAndAct(Seen& seen, HWND owner, const std::wstring& text, MessageType type,
                         MessageButtons buttons, const std::function<void(HWND dialog, const Seen&)>& act) {
    MessageAnswer answer{};
    ShowWithPerson([&] { answer = kit::ShowMessageDialog(owner, text, type, buttons); },
                   [&](HWND dialog) {
                       if (!dialog) return;
                       seen = Read(dialog);
                       act(dialog, seen);
                   });
    return answer;
}

struct SetCase {
    MessageButtons buttons;
    MessageType type;
    const wchar_t* title;
    LPCWSTR icon;
    std::vector<std::wstring> captions;
    std::vector<MessageAnswer> answers;  // one per button
    MessageAnswer cancel;
};

const SetCase kSets[] = {
    {MessageButtons::Ok, MessageType::Information, L"Kolvaran", IDI_INFORMATION, {L"OK"}, {MessageAnswer::Ok},
     MessageAnswer::Ok},
    {MessageButtons::Abort, MessageType::Warning, L"Warning", IDI_WARNING, {L"&Abort"}, {MessageAnswer::Abort},
     MessageAnswer::Abort},
    {MessageButtons::AbortIgnore, MessageType::Error, L"Error", IDI_ERROR, {L"&Abort", L"&Ignore"},
     {MessageAnswer::Abort, MessageAnswer::Ignore}, MessageAnswer::Abort},
    {MessageButtons::AbortRetry, MessageType::Warning, L"Warning", IDI_WARNING, {L"&Abort", L"&Retry"},
     {MessageAnswer::Abort, MessageAnswer::Retry}, MessageAnswer::Abort},
    {MessageButtons::AbortRetryIgnore, MessageType::Error, L"Error", IDI_ERROR, {L"&Abort", L"&Retry", L"&Ignore"},
     {MessageAnswer::Abort, MessageAnswer::Retry, MessageAnswer::Ignore}, MessageAnswer::Abort},
    {MessageButtons::YesNo, MessageType::Confirmation, L"Confirm", IDI_QUESTION, {L"&Yes", L"&No"},
     {MessageAnswer::Yes, MessageAnswer::No}, MessageAnswer::No},
};

} // namespace

TEST(MessageDialog, ShowsTheSetAndAnswersWithTheClickedButton) {
    const std::wstring text = L"No disk in Drive: 'Q:'";
    for (const SetCase& c : kSets) {
        for (size_t i = 0; i < c.captions.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "set " << static_cast<int>(c.buttons) << ", button " << i);
            Seen seen;
            const MessageAnswer answer = ShowAndAct(seen, nullptr, text, c.type, c.buttons, [&](HWND, const Seen& s) {
                if (i < s.buttons.size()) SendMessageW(s.buttons[i].hwnd, BM_CLICK, 0, 0);
            });
            ASSERT_TRUE(seen.found);
            EXPECT_EQ(seen.title, c.title);
            EXPECT_EQ(seen.Captions(), c.captions);
            ASSERT_NE(seen.TextStatic(), nullptr);
            EXPECT_EQ(seen.TextStatic()->text, text);
            EXPECT_EQ(seen.icon, LoadIconW(nullptr, c.icon));
            ASSERT_FALSE(seen.buttons.empty());
            EXPECT_EQ(seen.defaultId, seen.buttons[0].id);
            EXPECT_EQ(answer, c.answers[i]);
        }
    }
}

TEST(MessageDialog, EscapeAndTheCloseBoxGiveTheCancellingAnswerAndEnterTheFirst) {
    struct Way {
        const char* name;
        std::function<void(HWND)> act;
        bool cancels;
    };
    const Way ways[] = {
        {"WM_COMMAND IDCANCEL", [](HWND d) { PostMessageW(d, WM_COMMAND, IDCANCEL, 0); }, true},
        {"Esc key", [](HWND d) { PostKeyToFocus(d, VK_ESCAPE); }, true},
        {"close box", [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, true},
        {"Enter key", [](HWND d) { PostKeyToFocus(d, VK_RETURN); }, false},
    };
    for (const SetCase& c : kSets) {
        for (const Way& way : ways) {
            SCOPED_TRACE(testing::Message() << "set " << static_cast<int>(c.buttons) << ", " << way.name);
            Seen seen;
            const MessageAnswer answer = ShowAndAct(seen, nullptr, L"Question", c.type, c.buttons,
                                                    [&](HWND d, const Seen&) { way.act(d); });
            ASSERT_TRUE(seen.found);
            EXPECT_EQ(answer, way.cancels ? c.cancel : c.answers[0]);
        }
    }
}

TEST(MessageDialog, TextFitsAndButtonsSitCentredBelowIt) {
    const std::wstring texts[] = {
        L"Done.",
        L"The Path 'Z:\\" + std::wstring(300, L'x') + L"' does not exist.\r\nSecond line of the message.",
        std::wstring(120, L'w') + L" " + std::wstring(40, L'y'),
    };
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (const std::wstring& text : texts) {
        SCOPED_TRACE(testing::Message() << "text of " << text.size() << " characters");
        Seen seen;
        ShowAndAct(seen, nullptr, text, MessageType::Warning, MessageButtons::AbortRetryIgnore,
                   [](HWND d, const Seen&) { PostMessageW(d, WM_COMMAND, IDCANCEL, 0); });
        ASSERT_TRUE(seen.found);
        const Child* t = seen.TextStatic();
        ASSERT_NE(t, nullptr);
        EXPECT_GT(seen.textHeightNeeded, 0);
        EXPECT_LE(seen.textHeightNeeded, t->rect.bottom - t->rect.top);
        EXPECT_LE(t->rect.right, seen.client.right);

        ASSERT_EQ(seen.buttons.size(), 3u);
        for (size_t i = 0; i < seen.buttons.size(); ++i) {
            const RECT& b = seen.buttons[i].rect;
            EXPECT_GE(b.top, t->rect.bottom);
            EXPECT_EQ(b.top, seen.buttons[0].rect.top);
            EXPECT_LE(b.bottom, seen.client.bottom);
            if (i > 0) {
                EXPECT_GT(b.left, seen.buttons[i - 1].rect.right);
            }
        }
        const LONG leftGap = seen.buttons.front().rect.left;
        const LONG rightGap = seen.client.right - seen.buttons.back().rect.right;
        EXPECT_GT(leftGap, 0);
        EXPECT_LE(std::abs(leftGap - rightGap), 1);

        EXPECT_GE(seen.window.left, work.left);
        EXPECT_LE(seen.window.right, work.right);
    }
}

TEST(MessageDialog, StandsAloneWithoutAnOwnerAndCentresOverOne) {
    Seen alone;
    ShowAndAct(alone, nullptr, L"Alone", MessageType::Information, MessageButtons::Ok,
               [](HWND d, const Seen&) { PostMessageW(d, WM_COMMAND, IDOK, 0); });
    ASSERT_TRUE(alone.found);
    EXPECT_EQ(alone.owner, nullptr);
    EXPECT_TRUE(alone.exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(alone.foreground);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((alone.window.left + alone.window.right) - (work.left + work.right)), 2);
    EXPECT_LE(std::abs((alone.window.top + alone.window.bottom) - (work.top + work.bottom)), 2);

    HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 150, 700, 500,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    Seen owned;
    ShowAndAct(owned, owner, L"Owned", MessageType::Information, MessageButtons::Ok,
               [](HWND d, const Seen&) { PostMessageW(d, WM_COMMAND, IDOK, 0); });
    ASSERT_TRUE(owned.found);
    EXPECT_EQ(owned.owner, owner);
    EXPECT_FALSE(owned.exStyle & WS_EX_APPWINDOW);
    EXPECT_LE(std::abs((owned.window.left + owned.window.right) - (100 + 800)), 2);
    EXPECT_LE(std::abs((owned.window.top + owned.window.bottom) - (150 + 650)), 2);
    DestroyWindow(owner);
}
