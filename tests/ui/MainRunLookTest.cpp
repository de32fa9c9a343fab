// What a search run refuses looks refused, as a person meets it while the run lasts: the criteria controls, the
// items of a row's shell menu; and each is as before once the run is over.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
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

// Every control of the three pages a run holds, by its window.
std::map<HWND, bool> CriteriaStates(const std::function<HWND(int)>& page) {
    std::map<HWND, bool> states;
    for (const int id : {ids::kPageFilesAndFolders, ids::kPageContainingText, ids::kPageDateAndSize})
        for (HWND child = GetWindow(page(id), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            states[child] = IsWindowEnabled(child) != FALSE;
    return states;
}

std::string Name(HWND control) {
    return std::to_string(GetDlgCtrlID(control)) + " \"" + kit::WideToUtf8(WindowText(control)) + "\"";
}

} // namespace

// During a run the criteria pages take no input; their controls show it, greyed themselves, even when a page is
// shown during the run (its rules run again) and when a key or a click comes. After the run each control has
// the state the pages' rules give it: the one from before, but for a criterion the run changed itself (Date on
// with no date row is turned off, and its rows' switches with it).
TEST_F(MainRunLookTest, TheCriteriaControlsAreGreyedDuringARunAndAsBeforeAfterIt) {
    const auto date = [this](int id) { return Control(ids::kPageDateAndSize, id); };
    struct Case {
        const char* name;
        std::function<void()> set;
        std::vector<int> offAfter;  // controls of the Date and Size page enabled before the run and not after it
    };
    const Case cases[] = {
        {"as a first start shows them", [] {}, {}},
        {"date and size on",
         [&] {
             SetChecked(ids::kPageDateAndSize, ids::kDateSelect, true);
             SetChecked(ids::kPageDateAndSize, ids::kSizeSelect, true);
         },
         {}},
        {"date on with no date row",
         [&] {
             SetChecked(ids::kPageDateAndSize, ids::kDateSelect, true);
             SetChecked(ids::kPageDateAndSize, ids::DateRowId(0, ids::kRowSelect), false);
         },
         {ids::DateRowId(0, ids::kRowSelect), ids::DateRowId(1, ids::kRowSelect), ids::DateRowId(2, ids::kRowSelect)}},
    };
    const auto page = [this](int id) { return Page(id); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        TypeSearch();
        c.set();
        std::map<HWND, bool> expected = CriteriaStates(page);
        for (const int id : c.offAfter) {
            ASSERT_TRUE(expected[date(id)]) << id;
            expected[date(id)] = false;
        }
        const std::wstring sizeValue = WindowText(date(ids::kSizeLargerValue));
        const bool sizeChecked = Checked(ids::kPageDateAndSize, ids::kSizeSelect);

        std::vector<std::string> liveDuringRun;
        bool looked = false, focusTaken = false;
        WhileRunning([&] {
            if (!StopEnabled()) return false;
            const auto collectLive = [&](const char* when) {
                for (const auto& [control, enabled] : CriteriaStates(page))
                    if (enabled) liveDuringRun.push_back(std::string(when) + ": " + Name(control));
            };
            collectLive("at once");
            // A click on the Date and Size tab, then a key into one of its boxes and a click on its Size switch.
            const HWND tabs = GetDlgItem(Main(), ids::kSelections);
            RECT tab{};
            SendMessageW(tabs, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
            testsupport::ClickAt(tabs, POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
            collectLive("with the Date and Size page shown");
            testsupport::FocusAsPerson(date(ids::kSizeLargerValue));
            focusTaken = GetFocus() == date(ids::kSizeLargerValue);
            testsupport::TypeKeys(L"7");
            RECT box{};
            GetClientRect(date(ids::kSizeSelect), &box);
            testsupport::ClickAt(date(ids::kSizeSelect), POINT{8, box.bottom / 2});
            looked = true;
            Click(GetDlgItem(Main(), ids::kStopButton));
            return true;
        });
        ClickSearch();
        ASSERT_TRUE(looked);
        EXPECT_EQ(liveDuringRun, std::vector<std::string>{});
        EXPECT_FALSE(focusTaken) << "a greyed box takes no focus";
        EXPECT_EQ(WindowText(date(ids::kSizeLargerValue)), sizeValue) << "the key changed nothing";
        EXPECT_EQ(Checked(ids::kPageDateAndSize, ids::kSizeSelect), sizeChecked) << "the click changed nothing";

        std::vector<std::string> differ;
        for (const auto& [control, enabled] : CriteriaStates(page))
            if (enabled != expected[control]) differ.push_back(Name(control) + (enabled ? " on" : " off"));
        EXPECT_EQ(differ, std::vector<std::string>{}) << "after the run";
    }
}

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
