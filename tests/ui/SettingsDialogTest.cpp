// What the settings dialogs share: their size by the Windows version, and the page tree a person drives with the
// keyboard.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <map>
#include <memory>

#include "app/OsVersion.h"
#include "app/UKvrVARGeneral.h"
#include "kit/DeviceContexts.h"
#include "kit/MessageLoop.h"
#include "tests/support/FakeInteraction.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/FKvrManageItems.h"
#include "ui/FKvrOptions.h"

namespace {

class SettingsDialogTest : public testing::Test {
protected:
    void TearDown() override { app::GlobalWindowsVersion = 0; }
    uitest::ProgramObjects program;
    testsupport::FakeInteraction interaction;
};

template <class Dialog>
SIZE OpenedSize(std::unique_ptr<Dialog>& dialog, MINMAXINFO& limits) {
    dialog = std::make_unique<Dialog>();
    dialog->CreateModeless(nullptr);
    RECT window{};
    GetWindowRect(dialog->hwnd(), &window);
    limits = {};
    SendMessageW(dialog->hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    return {window.right - window.left, window.bottom - window.top};
}

} // namespace

TEST_F(SettingsDialogTest, OpenAtTheirSmallestSizeForTheWindowsVersionAndOnlyWiden) {
    // The version stored, then the smallest height of the Options and of the recent-items dialog.
    struct Case { app::TWindowsVersion version; int options; int items; };
    const Case cases[] = {
        {app::wvWinXP, 271, 330}, {app::wvWinVista, 271, 333}, {app::wvWin7, 273, 335}, {app::wvUnknown, 273, 335},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << app::WindowsVersionNames[c.version]);
        app::GlobalWindowsVersion = c.version;
        MINMAXINFO limits{};
        std::unique_ptr<ui::TfrmKvrOptions> options;
        EXPECT_EQ(OpenedSize(options, limits).cy, c.options);
        EXPECT_EQ(limits.ptMinTrackSize.x, 508);
        EXPECT_EQ(limits.ptMinTrackSize.y, c.options);
        EXPECT_EQ(limits.ptMaxTrackSize.x, 680) << "the main window's narrowest width";
        EXPECT_EQ(limits.ptMaxTrackSize.y, c.options);
        std::unique_ptr<ui::TfrmKvrManageItems> items;
        const SIZE size = OpenedSize(items, limits);
        EXPECT_EQ(size.cx, 585);
        EXPECT_EQ(size.cy, c.items);
        EXPECT_EQ(limits.ptMinTrackSize.y, c.items);
        EXPECT_EQ(limits.ptMaxTrackSize.y, c.items);
    }
}

TEST_F(SettingsDialogTest, TheArrowKeysWalkThePagesAndTheTreeNeverCollapses) {
    ui::TfrmKvrOptions dialog;
    dialog.CreateModeless(nullptr);
    dialog.Show();
    const HWND tree = dialog.tvConfigMenu.hwnd();
    ASSERT_EQ(dialog.ShownPage(), ui::TfrmKvrOptions::pgExports);
    const auto press = [&](WPARAM key) {
        SendMessageW(tree, WM_KEYDOWN, key, 0);
        SendMessageW(tree, WM_KEYUP, key, 0);
        kit::ProcessMessagesNow();
    };
    const auto exportsExpanded = [&] {
        const auto exports = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        return (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(exports), TVIS_EXPANDED) &
                TVIS_EXPANDED) != 0;
    };
    ASSERT_TRUE(exportsExpanded());
    press(VK_LEFT);  // what would collapse the node
    EXPECT_TRUE(exportsExpanded());
    EXPECT_EQ(dialog.ShownPage(), ui::TfrmKvrOptions::pgExports);
    press(VK_DOWN);
    EXPECT_EQ(dialog.ShownPage(), ui::TfrmKvrOptions::pgExportAsCSV);
    EXPECT_TRUE(IsWindowVisible(dialog.tshExportAsCSV.hwnd()));
    EXPECT_FALSE(IsWindowVisible(dialog.tshExports.hwnd()));
    press(VK_DOWN);
    EXPECT_EQ(dialog.ShownPage(), ui::TfrmKvrOptions::pgContextMenuIntegration);
}

// The chosen page's node shows the selection's colours whether the focus is in the tree or in the page: a person
// who tabs into a page still sees which page it is.
TEST_F(SettingsDialogTest, TheChosenPageStaysHighlightedWhenTheFocusMovesIntoThePage) {
    ui::TfrmKvrOptions dialog;
    dialog.CreateModeless(nullptr);
    dialog.Show();
    const HWND tree = dialog.tvConfigMenu.hwnd();
    // The colour that fills most of the chosen node's label, as painted on the screen.
    const auto chosenBackground = [tree] {
        RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        kit::ProcessMessagesNow();
        RECT label{};
        const auto chosen = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        std::memcpy(&label, &chosen, sizeof(chosen));  // the message takes the item in the rectangle
        EXPECT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label)));
        const kit::WindowDc dc(tree);
        std::map<COLORREF, int> counts;
        for (int y = label.top + 1; y < label.bottom - 1; ++y)
            for (int x = label.left + 1; x < label.right - 1; ++x) ++counts[GetPixel(dc.get(), x, y)];
        auto most = counts.begin();
        for (auto i = counts.begin(); i != counts.end(); ++i)
            if (i->second > most->second) most = i;
        return counts.empty() ? CLR_INVALID : most->first;
    };
    SetForegroundWindow(dialog.hwnd());
    SetFocus(tree);
    const COLORREF focused = chosenBackground();
    EXPECT_NE(focused, GetSysColor(COLOR_WINDOW));
    SetFocus(dialog.rbEXPUseDefaultFolder.hwnd());
    ASSERT_EQ(GetFocus(), dialog.rbEXPUseDefaultFolder.hwnd());
    EXPECT_EQ(chosenBackground(), focused);
}
