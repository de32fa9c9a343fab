// What a search run refuses looks refused, as a person meets it while the run lasts: a click on a column header,
// the criteria controls, the items of a row's shell menu; and each is as before once the run is over.
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

constexpr int kNameHeaderItem = 0;  // header items follow the columns' creation order, the kinds' order
constexpr int kNameColumn = 0, kNumberColumn = 1;  // the list's columns as it is asked for their cells

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
    HWND Header() const { return reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0)); }
    bool HeaderHasButtons() const { return (GetWindowLongPtrW(Header(), GWL_STYLE) & HDS_BUTTONS) != 0; }
    void ClickHeaderItem(int item) {
        RECT bounds{};
        SendMessageW(Header(), HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds));
        testsupport::ClickAt(Header(), POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2});
    }
    // The header items that show a sort mark (an arrow, or the themed sort flag).
    std::vector<int> MarkedHeaderItems() const {
        std::vector<int> marked;
        const auto count = static_cast<int>(SendMessageW(Header(), HDM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            HDITEMW item{};
            item.mask = HDI_FORMAT | HDI_BITMAP;
            SendMessageW(Header(), HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            if ((item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) || ((item.fmt & HDF_BITMAP) && item.hbm)) marked.push_back(i);
        }
        return marked;
    }
    // What is wrong between the header and the rows: a mark on the Name column (a first click sorts descending)
    // over names out of that order, no mark over rows out of the order they were found in, or another mark.
    std::string HeaderAndRowsDisagree() const {
        const std::vector<int> marked = MarkedHeaderItems();
        if (marked.empty()) {
            const std::vector<std::wstring> numbers = Cells(kNumberColumn);
            for (size_t i = 1; i < numbers.size(); ++i)
                if (std::stoi(numbers[i - 1]) > std::stoi(numbers[i]))
                    return "no mark, but row " + std::to_string(i) + " was found before the one above it";
            return "";
        }
        if (marked != std::vector<int>{kNameHeaderItem}) return "a mark on another column";
        const std::vector<std::wstring> names = Cells(kNameColumn);
        int outOfOrder = 0;
        for (size_t i = 1; i < names.size(); ++i) outOfOrder += lstrcmpiW(names[i - 1].c_str(), names[i].c_str()) < 0;
        return outOfOrder ? "the Name column is marked, but " + std::to_string(outOfOrder) + " of " +
                                std::to_string(names.size()) + " neighbouring rows are out of its order"
                          : "";
    }
    // One column's cells of every row, top to bottom (reading all of them takes seconds under Wine).
    std::vector<std::wstring> Cells(int column) const {
        std::vector<std::wstring> cells;
        for (int i = 0; i < ListedRows(); ++i) {
            wchar_t text[MAX_PATH] = {};
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            SendMessageW(List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            cells.emplace_back(text);
        }
        return cells;
    }
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

// A click on a column header while the rows are still coming would sort only those found so far, the header
// showing the whole list in that order. Whatever the list makes of it, at the run's end the header and the rows
// agree; also when the rows had been sorted before the run. While a click is refused the header's items are no
// buttons; after the run a click sorts.
TEST_F(MainRunLookTest, AColumnClickDuringARunLeavesTheHeaderAsTheRowsAre) {
    for (const bool sortedBefore : {false, true}) {
        SCOPED_TRACE(sortedBefore ? "sorted before the run" : "never sorted");
        Open();
        TypeSearch();
        if (sortedBefore) {
            TypeText(L"");
            TypeMask(L"f00*.txt");
            ClickSearch();
            ClickHeaderItem(kNameHeaderItem);
            ASSERT_EQ(MarkedHeaderItems(), std::vector<int>{kNameHeaderItem});
            TypeSearch();
        }
        // The click once a few rows are found (the list shows them at its next refresh); the run goes on to its end.
        std::int64_t clickedAt = 0;
        bool buttonsDuringRun = true;
        WhileRunning([&] {
            if (!StopEnabled() || window->Results().Count() < 20) return false;
            buttonsDuringRun = HeaderHasButtons();
            clickedAt = window->Results().Count();
            ClickHeaderItem(kNameHeaderItem);
            return true;
        });
        ClickSearch();
        ASSERT_GT(clickedAt, 0);
        EXPECT_FALSE(buttonsDuringRun) << "the header's items look like buttons while a click on them is refused";
        EXPECT_GT(ListedRows(), clickedAt) << "rows came after the click";
        EXPECT_EQ(HeaderAndRowsDisagree(), "");
        EXPECT_TRUE(HeaderHasButtons()) << "after the run";

        ClickHeaderItem(kNameHeaderItem);
        EXPECT_EQ(MarkedHeaderItems(), std::vector<int>{kNameHeaderItem}) << "a click after the run sorts";
        EXPECT_EQ(HeaderAndRowsDisagree(), "");
    }
}

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
