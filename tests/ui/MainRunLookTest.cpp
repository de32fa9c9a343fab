// What a search run refuses looks refused, as a person meets it while the run lasts: the items of a row's shell
// menu; and each is as before once the run is over.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "kit/Strings.h"
#include "tests/support/Keyboard.h"
#include "tests/support/MenuItems.h"
#include "tests/support/MenuPick.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"

using namespace uitest;
namespace ids = ui::ids;

namespace {

// A tree whose text search is still running when the window is next looked at; made once for the suite.
class MainRunLookTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() {
        tree_ = new testsupport::TempFolder();
        MakeSlowSearchTree(tree_->Path());
    }
    static void TearDownTestSuite() {
        delete tree_;
        tree_ = nullptr;
    }

    int ListedRows() const { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
    void TypeSearch() {
        TypeMask(L"*.txt");
        TypePath(tree_->Path());
        TypeText(L"text");
    }

    static testsupport::TempFolder* tree_;
};

testsupport::TempFolder* MainRunLookTest::tree_ = nullptr;

} // namespace

// The shell's menu of a row opened during a run: the items the list carries out itself (Cut, Copy, Create Link,
// Delete, Properties in Wine's menu) would do nothing then and are greyed; the shell's own and the folder items stay
// live. After the run all are live.
TEST_F(MainRunLookTest, TheShellMenuOfARowGreysDuringARunWhatTheRunRefuses) {
    std::vector<std::wstring> greyed, live;
    interaction.chooseFromMenu = [&](HWND, HMENU menu) -> UINT {
        greyed.clear();
        live.clear();
        for (const testsupport::MenuItem& item : testsupport::MenuItemsOf(menu))
            if (!item.separator) (item.grayed ? greyed : live).push_back(testsupport::Plain(item.text));
        return 0;
    };
    const auto openMenu = [&] {
        interaction.menus.clear();
        RECT name{};
        name.left = LVIR_LABEL;
        SendMessageW(List(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&name));
        const POINT row{name.left + 5, (name.top + name.bottom) / 2};
        testsupport::BringToFront(List());
        testsupport::ClickAt(List(), row);
        testsupport::RightClickAt(List(), row);
        return interaction.menus.size() == 1;
    };
    using Texts = std::vector<std::wstring>;
    Open();
    TypeSearch();
    bool opened = false;
    WhileRunning([&] {
        if (!StopEnabled() || ListedRows() == 0) return false;
        opened = openMenu();
        Click(GetDlgItem(Main(), ids::kStopButton));
        return true;
    });
    ClickSearch();
    ASSERT_TRUE(opened);
    EXPECT_EQ(greyed, (Texts{L"Cut", L"Copy", L"Create Link", L"Delete", L"Properties"})) << "during the run";
    EXPECT_EQ(live, (Texts{L"Open Folder", L"Open Containing Folder", L"Open"})) << "during the run";

    ASSERT_TRUE(openMenu());
    EXPECT_EQ(greyed, Texts{}) << "after the run";
    EXPECT_EQ(live, (Texts{L"Open Folder", L"Open Containing Folder", L"Open", L"Cut", L"Copy", L"Create Link",
                           L"Delete", L"Properties"}))
        << "after the run";
}
