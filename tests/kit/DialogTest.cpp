// The dialog base driven as a person drives a dialog: keys posted to the focused control, read back on screen.
#include <gtest/gtest.h>

#include "kit/AnchorLayout.h"
#include "kit/Controls.h"
#include "kit/Dialog.h"
#include "kit/MessageLoop.h"
#include "tests/support/DialogDriver.h"

#include <vector>

using testsupport::FocusOf;
using testsupport::PostAccessKeyToFocus;
using testsupport::PostKeyToFocus;
using testsupport::ShowWithPerson;
using testsupport::WaitUntil;

namespace {

enum Ids { kNameLabel = 10, kName, kCheck, kSmall, kMedium, kLarge, kNext };
constexpr INT_PTR kNextCode = 77;

// A small form: a labelled edit, a check box, a group of three radio buttons, then Next, OK and Cancel.
class FormDialog : public kit::Dialog {
public:
    explicit FormDialog(bool nextIsDefault = false, bool resizable = false)
        : Dialog({.title = L"Form", .clientSize = {320, 150}, .resizable = resizable,
                  .minTrackSize = {200, 120}, .maxTrackSize = {900, 600}}),
          nextIsDefault_(nextIsDefault) {}
    ~FormDialog() override { DestroyDialog(); }

    int oks = 0, cancels = 0, nextClicks = 0, checkClicks = 0;
    kit::Label nameLabel;
    kit::Edit name;
    kit::CheckBox check;
    kit::RadioButton small, medium, large;
    kit::Button next, ok, cancel;

protected:
    void OnCreate() override {
        nameLabel.Create(hwnd(), kNameLabel, L"&Name:", RECT{8, 10, 60, 24});
        name.Create(hwnd(), kName, RECT{64, 8, 312, 29});
        check.Create(hwnd(), kCheck, L"&Check", RECT{8, 36, 150, 53}, false, {.startsGroup = true});
        small.Create(hwnd(), kSmall, L"&Small", RECT{8, 60, 100, 77}, true, true);
        medium.Create(hwnd(), kMedium, L"&Medium", RECT{104, 60, 200, 77}, false);
        large.Create(hwnd(), kLarge, L"&Large", RECT{204, 60, 300, 77}, false);
        next.Create(hwnd(), kNext, L"Ne&xt", RECT{8, 112, 88, 137}, {.startsGroup = true, .defaultButton = nextIsDefault_});
        ok.Create(hwnd(), IDOK, L"OK", RECT{144, 112, 224, 137}, {.defaultButton = !nextIsDefault_});
        cancel.Create(hwnd(), IDCANCEL, L"Cancel", RECT{232, 112, 312, 137});
        next.OnClick = [this] {
            ++nextClicks;
            if (nextIsDefault_) End(kNextCode);
        };
        check.OnClick = [this] { ++checkClicks; };
        Anchor(name, kit::AnchorTopLeftRight);
        Anchor(cancel, kit::AnchorRight | kit::AnchorBottom);
        SetInitialFocus(name);
    }
    void OnOk() override {
        ++oks;
        End(IDOK);
    }
    void OnCancel() override {
        ++cancels;
        End(IDCANCEL);
    }

private:
    bool nextIsDefault_;
};

int FocusedId(HWND dialog) { return GetDlgCtrlID(FocusOf(dialog)); }

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// Posts a key and waits until the dialog's thread has taken it (the focus or a check moved on).
template <class Changed>
bool PressAndWait(HWND dialog, WPARAM key, Changed changed) {
    PostKeyToFocus(dialog, key);
    return WaitUntil(changed);
}

} // namespace

TEST(Dialog, EnterPressesTheDefaultButtonAndEscapeAndTheCloseBoxCancel) {
    struct Case {
        const char* name;
        bool nextIsDefault;
        void (*act)(HWND dialog);
        INT_PTR code;
        int oks, cancels, nextClicks;
    };
    const Case cases[] = {
        {"Enter in the edit", false, [](HWND d) { PostKeyToFocus(d, VK_RETURN); }, IDOK, 1, 0, 0},
        {"Enter, Next the default", true, [](HWND d) { PostKeyToFocus(d, VK_RETURN); }, kNextCode, 0, 0, 1},
        {"Escape", false, [](HWND d) { PostKeyToFocus(d, VK_ESCAPE); }, IDCANCEL, 0, 1, 0},
        {"close box", true, [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL, 0, 1, 0},
        {"OK clicked", false, [](HWND d) { PostMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0); }, IDOK, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormDialog dialog(c.nextIsDefault);
        INT_PTR code = 0;
        int defaultId = 0, focusAtStart = 0;
        ShowWithPerson([&] { code = dialog.ShowModal(nullptr); },
                       [&](HWND d) {
                           if (!d) return;
                           defaultId = LOWORD(SendMessageW(d, DM_GETDEFID, 0, 0));
                           focusAtStart = FocusedId(d);
                           c.act(d);
                       });
        EXPECT_EQ(defaultId, c.nextIsDefault ? kNext : IDOK);
        EXPECT_EQ(focusAtStart, kName);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(dialog.oks, c.oks);
        EXPECT_EQ(dialog.cancels, c.cancels);
        EXPECT_EQ(dialog.nextClicks, c.nextClicks);
    }
}

TEST(Dialog, TabWalksTheTabStopsInCreationOrderAndComesRound) {
    FormDialog dialog;
    std::vector<int> focused;
    ShowWithPerson([&] { dialog.ShowModal(nullptr); },
                   [&](HWND d) {
                       if (!d) return;
                       focused.push_back(FocusedId(d));
                       for (int i = 0; i < 6; ++i) {
                           const int before = FocusedId(d);
                           PressAndWait(d, VK_TAB, [&] { return FocusedId(d) != before; });
                           focused.push_back(FocusedId(d));
                       }
                       PostKeyToFocus(d, VK_ESCAPE);
                   });
    // The label is no tab stop; the radio group is one, at its checked button.
    EXPECT_EQ(focused, (std::vector<int>{kName, kCheck, kSmall, kNext, IDOK, IDCANCEL, kName}));
}

TEST(Dialog, AccessKeysFocusTheLabelledControlOrPressTheButton) {
    FormDialog dialog;
    int afterLabel = 0;
    bool checkedByKey = false;
    ShowWithPerson([&] { dialog.ShowModal(nullptr); },
                   [&](HWND d) {
                       if (!d) return;
                       PostAccessKeyToFocus(d, L'c');
                       checkedByKey = WaitUntil([&] { return IsChecked(d, kCheck); });
                       PostAccessKeyToFocus(d, L'n');  // the label's key: the edit after it
                       WaitUntil([&] { return FocusedId(d) == kName; });
                       afterLabel = FocusedId(d);
                       PostAccessKeyToFocus(d, L'x');
                       WaitUntil([&] { return dialog.nextClicks == 1; });
                       PostKeyToFocus(d, VK_ESCAPE);
                   });
    EXPECT_TRUE(checkedByKey);
    EXPECT_EQ(dialog.checkClicks, 1);
    EXPECT_EQ(afterLabel, kName);
    EXPECT_EQ(dialog.nextClicks, 1);
}

TEST(Dialog, ArrowKeysMoveWithinTheRadioGroupAndCheckAsTheyGo) {
    FormDialog dialog;
    std::vector<int> seen;  // focused id, then the checked one, at each step
    ShowWithPerson([&] { dialog.ShowModal(nullptr); },
                   [&](HWND d) {
                       if (!d) return;
                       PostAccessKeyToFocus(d, L's');
                       WaitUntil([&] { return FocusedId(d) == kSmall; });
                       for (int i = 0; i < 3; ++i) {
                           const int before = FocusedId(d);
                           PressAndWait(d, VK_DOWN, [&] { return FocusedId(d) != before; });
                           const int now = FocusedId(d);
                           WaitUntil([&] { return IsChecked(d, now); });
                           seen.push_back(now);
                           seen.push_back(IsChecked(d, now) ? now : 0);
                       }
                       PostKeyToFocus(d, VK_ESCAPE);
                   });
    // Past the last button of the group the arrow comes round to its first: Next starts another group.
    EXPECT_EQ(seen, (std::vector<int>{kMedium, kMedium, kLarge, kLarge, kSmall, kSmall}));
}

TEST(Dialog, ModelessDialogGetsItsKeyboardThroughTheProgramsLoopAndHidesOnClose) {
    FormDialog dialog;
    dialog.CreateModeless(nullptr);
    ASSERT_NE(dialog.hwnd(), nullptr);
    EXPECT_FALSE(dialog.Visible());
    dialog.Show();
    kit::ProcessMessagesNow();
    ASSERT_TRUE(dialog.Visible());
    EXPECT_EQ(GetFocus(), dialog.name.hwnd());

    // Without the loop's dialog keyboard Tab would be typed into the edit.
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    kit::ProcessMessagesNow();
    EXPECT_EQ(GetFocus(), dialog.check.hwnd());
    EXPECT_EQ(dialog.name.Text(), L"");

    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    kit::ProcessMessagesNow();
    EXPECT_EQ(dialog.oks, 1);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_NE(dialog.hwnd(), nullptr);  // kept, to be shown again

    dialog.Show();
    kit::ProcessMessagesNow();
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    kit::ProcessMessagesNow();
    EXPECT_EQ(dialog.cancels, 1);
    EXPECT_FALSE(dialog.Visible());
}

TEST(Dialog, ResizableDialogKeepsItsAnchorsAndTrackingSizes) {
    FormDialog dialog(false, true);
    dialog.CreateModeless(nullptr);
    const RECT name = dialog.name.Bounds();
    const RECT cancel = dialog.cancel.Bounds();
    RECT window{};
    GetWindowRect(dialog.hwnd(), &window);
    SetWindowPos(dialog.hwnd(), nullptr, 0, 0, window.right - window.left + 100, window.bottom - window.top + 40,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(dialog.name.Bounds().left, name.left);
    EXPECT_EQ(dialog.name.Bounds().right, name.right + 100);
    EXPECT_EQ(dialog.cancel.Bounds().left, cancel.left + 100);
    EXPECT_EQ(dialog.cancel.Bounds().top, cancel.top + 40);

    MINMAXINFO limits{};
    SendMessageW(dialog.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 200);
    EXPECT_EQ(limits.ptMinTrackSize.y, 120);
    EXPECT_EQ(limits.ptMaxTrackSize.x, 900);
    EXPECT_EQ(limits.ptMaxTrackSize.y, 600);
}
