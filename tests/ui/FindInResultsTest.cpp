// The "Find in Results" window over a real search: the matches listed and counted, the navigator moving the result
// list's selection, the order after a sort, a removed row, the colours, Escape, and the window during a search.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "kit/MessageLoop.h"
#include "kit/Strings.h"
#include "results/ResultTable.h"
#include "tests/support/AccessKeys.h"
#include "tests/support/DialogDriver.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/Screenshots.h"
#include "ui/ControlIds.h"
#include "ui/FKvrFindInResults.h"

using namespace uitest;
using ui::TfrmKvrFindInResults;
namespace ids = ui::ids;

namespace {

class FindInResultsTest : public MainWindowTest {
protected:
    // Six files, three of whose names begin with "alpha" in some letter case; searched for and listed.
    void SearchFixture() {
        MakeFiles(tree_.Path(), {L"alpha.txt", L"beta.txt", L"Alpha2.log", L"gamma.txt", L"ALPHA3.dat", L"delta.txt"});
        Open();
        TypeMask(L"*");
        TypePath(tree_.Path());
        ClickSearch();
        ASSERT_EQ(Rows().size(), 6u);
    }
    void ToggleFind() {
        window->Actions().Execute(ids::actACTIONFindInResults);
        Pump();
    }
    static void Pump() { kit::ProcessMessagesNow(); }
    HWND Find() const { return window->FindInResults() ? window->FindInResults()->hwnd() : nullptr; }
    HWND FindControl(int id) const { return GetDlgItem(Find(), id); }
    bool FindChecked() const { return window->Actions().Checked(ids::actACTIONFindInResults); }
    void TypeFind(const std::wstring& text) {
        SendMessageW(FindControl(TfrmKvrFindInResults::kValue), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        Pump();
    }
    void Press(int button) {
        SendMessageW(FindControl(button), BM_CLICK, 0, 0);
        Pump();
    }
    bool ButtonEnabled(int button) const { return IsWindowEnabled(FindControl(button)) != FALSE; }
    HWND Matches() const { return FindControl(TfrmKvrFindInResults::kResults); }
    std::wstring FoundTitle() const {
        wchar_t text[100] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 100;
        SendMessageW(Matches(), LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        return text;
    }
    std::wstring MatchCell(int item, int column) const {
        wchar_t text[MAX_PATH] = {};
        LVITEMW lv{};
        lv.iSubItem = column;
        lv.pszText = text;
        lv.cchTextMax = MAX_PATH;
        SendMessageW(Matches(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
        return text;
    }
    // The matches as the window lists them: the name found and the row's N°.
    std::vector<std::pair<std::wstring, std::wstring>> MatchLines() const {
        std::vector<std::pair<std::wstring, std::wstring>> lines;
        const auto count = static_cast<int>(SendMessageW(Matches(), LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) lines.emplace_back(MatchCell(i, 0), MatchCell(i, 1));
        return lines;
    }
    int MatchRow() const {
        return static_cast<int>(SendMessageW(Matches(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    // The result list's selected rows, top to bottom.
    std::vector<int> ListSelection() const {
        std::vector<int> rows;
        for (int i = -1; (i = static_cast<int>(SendMessageW(List(), LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
            rows.push_back(i);
        return rows;
    }
    std::wstring SelectedName() const {
        const std::vector<int> selected = ListSelection();
        return selected.size() == 1 ? Rows()[static_cast<size_t>(selected[0])].name : L"(none)";
    }
    // The lines a person expects: the rows of the list whose name begins with "alpha", in the list's order.
    std::vector<std::pair<std::wstring, std::wstring>> AlphaRows() const {
        std::vector<std::pair<std::wstring, std::wstring>> lines;
        for (const Row& row : Rows())
            if (kit::StartsWithText(row.name, L"alpha")) lines.emplace_back(row.name, row.number);
        return lines;
    }
    void ClickColumn(results::TColumnsEnum kind) {
        NMLISTVIEW click{};
        click.hdr = {List(), static_cast<UINT_PTR>(ids::kResultList), static_cast<UINT>(LVN_COLUMNCLICK)};
        click.iItem = -1;
        click.iSubItem = kind;  // the columns were made in kind order
        SendMessageW(Main(), WM_NOTIFY, ids::kResultList, reinterpret_cast<LPARAM>(&click));
        Pump();
    }
    // What the edit is painted with: its text colour and its background brush's colour.
    std::pair<COLORREF, COLORREF> EditColours() const {
        const HWND edit = FindControl(TfrmKvrFindInResults::kValue);
        const HDC dc = GetDC(edit);
        SetTextColor(dc, RGB(1, 2, 3));
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(Find(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
        LOGBRUSH look{};
        GetObjectW(brush, sizeof(look), &look);
        const COLORREF text = GetTextColor(dc);
        ReleaseDC(edit, dc);
        return {text, look.lbColor};
    }
    bool HandOverMatches() const {
        SendMessageW(Matches(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Matches()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor() == LoadCursorW(nullptr, IDC_HAND);
    }

    testsupport::TempFolder tree_;
};

} // namespace

TEST_F(FindInResultsTest, TheMatchesOfASearchAreListedAndTheNavigatorMovesTheListsSelection) {
    SearchFixture();
    ToggleFind();
    ASSERT_TRUE(Find());
    EXPECT_TRUE(IsWindowVisible(Find()));
    EXPECT_TRUE(FindChecked());
    EXPECT_EQ(testsupport::TextOf(Find()), L"Find in Results");
    EXPECT_EQ(FoundTitle(), L" Items Found: 0");
    EXPECT_TRUE(testsupport::AccessKeyClashes(Find()).empty());
    EXPECT_TRUE(GetWindowLongPtrW(Find(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(Find(), GW_OWNER), Main());
    // Both lists show the shell's image list, which neither may free.
    for (HWND list : {Matches(), List()}) EXPECT_TRUE(GetWindowLongPtrW(list, GWL_STYLE) & LVS_SHAREIMAGELISTS);

    TypeFind(L"alpha");
    const auto alpha = AlphaRows();
    ASSERT_EQ(alpha.size(), 3u);
    EXPECT_EQ(FoundTitle(), L" Items Found: 3");
    EXPECT_EQ(MatchLines(), alpha);
    EXPECT_EQ(SelectedName(), alpha[0].first) << "the list goes to the first match";

    if (const std::wstring shots = ScreenshotFolder(); !shots.empty()) {
        // Side by side on the screen, the list's first match selected in the list and the others green.
        RECT main{}, find{};
        GetWindowRect(Find(), &find);
        const int findWidth = find.right - find.left;
        SetWindowPos(Main(), nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN) - findWidth, 560, SWP_NOZORDER);
        GetWindowRect(Main(), &main);
        SetWindowPos(Find(), nullptr, main.right, main.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        GetWindowRect(Find(), &find);
        UnionRect(&main, &main, &find);
        HandOver(shots, 0, main);
    }

    struct Step { int button; int row; bool first, prior, next, last; };
    const Step steps[] = {
        {TfrmKvrFindInResults::kNext, 1, true, true, true, true},
        {TfrmKvrFindInResults::kLast, 2, true, true, false, false},
        {TfrmKvrFindInResults::kNext, 2, true, true, false, false},  // at the end: nothing
        {TfrmKvrFindInResults::kPrior, 1, true, true, true, true},
        {TfrmKvrFindInResults::kFirst, 0, false, false, true, true},
        {TfrmKvrFindInResults::kPrior, 0, false, false, true, true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "button " << s.button << " to " << s.row);
        Press(s.button);
        EXPECT_EQ(MatchRow(), s.row);
        EXPECT_EQ(SelectedName(), alpha[static_cast<size_t>(s.row)].first);
        EXPECT_EQ(ButtonEnabled(TfrmKvrFindInResults::kFirst), s.first);
        EXPECT_EQ(ButtonEnabled(TfrmKvrFindInResults::kPrior), s.prior);
        EXPECT_EQ(ButtonEnabled(TfrmKvrFindInResults::kNext), s.next);
        EXPECT_EQ(ButtonEnabled(TfrmKvrFindInResults::kLast), s.last);
    }
}

TEST_F(FindInResultsTest, TheMatchesFollowASortAndARemovedRow) {
    SearchFixture();
    ToggleFind();
    TypeFind(L"alpha");
    const auto found = MatchLines();
    ClickColumn(results::tcName);  // descending
    const auto sorted = AlphaRows();
    ASSERT_NE(sorted, found) << "the test needs an order that changes";
    EXPECT_EQ(MatchLines(), sorted);
    Press(TfrmKvrFindInResults::kLast);
    EXPECT_EQ(SelectedName(), sorted.back().first);

    // The middle match leaves the list: the window lists the two left, and no line names a row past the end.
    SetFocus(List());
    const std::vector<Row> rows = Rows();
    const auto middle = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.name == sorted[1].first; });
    ASSERT_NE(middle, rows.end());
    LVITEMW none{}, one{};
    none.stateMask = one.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    one.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(middle - rows.begin()), reinterpret_cast<LPARAM>(&one));
    ASSERT_TRUE(window->Actions().Execute(ids::actEDITRemoveFromList));
    Pump();
    ASSERT_EQ(Rows().size(), 5u);
    EXPECT_EQ(FoundTitle(), L" Items Found: 2");
    EXPECT_EQ(MatchLines(), AlphaRows());
    for (int button : {TfrmKvrFindInResults::kLast, TfrmKvrFindInResults::kFirst, TfrmKvrFindInResults::kNext}) {
        Press(button);
        const std::vector<int> selected = ListSelection();
        ASSERT_EQ(selected.size(), 1u);
        EXPECT_LT(selected[0], 5);
        EXPECT_EQ(SelectedName(), MatchLines()[static_cast<size_t>(MatchRow())].first);
    }

    // A new search clears the rows: the window finds its text among the new ones.
    MakeFiles(tree_.Path(), {L"alpha4.txt"});
    ClickSearch();
    EXPECT_EQ(FoundTitle(), L" Items Found: 4");
    EXPECT_EQ(MatchLines(), AlphaRows());
}

TEST_F(FindInResultsTest, TheEditAndTheListShowWhetherAnythingMatches) {
    SearchFixture();
    ToggleFind();
    const auto plain = EditColours();
    TypeFind(L"zzz");
    EXPECT_EQ(FoundTitle(), L" Items Found: 0");
    EXPECT_EQ(EditColours(), std::make_pair(RGB(255, 255, 255), RGB(255, 204, 204)));
    EXPECT_FALSE(HandOverMatches());
    TypeFind(L"beta");
    EXPECT_EQ(FoundTitle(), L" Items Found: 1");
    EXPECT_EQ(EditColours(), std::make_pair(GetSysColor(COLOR_WINDOWTEXT), RGB(217, 255, 217)));
    EXPECT_TRUE(HandOverMatches());
    TypeFind(L"");
    EXPECT_EQ(FoundTitle(), L" Items Found: 0");
    EXPECT_EQ(EditColours(), plain);
    EXPECT_FALSE(HandOverMatches());
}

TEST_F(FindInResultsTest, EscapeClosesTheWindowAndUnchecksTheAction) {
    SearchFixture();
    ToggleFind();
    TypeFind(L"beta");
    const HWND edit = FindControl(TfrmKvrFindInResults::kValue);
    ASSERT_EQ(GetFocus(), edit);
    PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    EXPECT_FALSE(IsWindowVisible(Find()));
    EXPECT_FALSE(FindChecked());
    EXPECT_EQ(testsupport::TextOf(edit), L"beta") << "the key never reached the edit";

    // Ctrl+F in the list opens it again, where it was; Ctrl+F again closes it.
    SetFocus(List());
    BYTE saved[256], held[256];
    GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), held);
    held[VK_CONTROL] = 0x80;
    SetKeyboardState(held);
    PostMessageW(List(), WM_KEYDOWN, 'F', 1);
    Pump();
    EXPECT_TRUE(IsWindowVisible(Find()));
    EXPECT_TRUE(FindChecked());
    EXPECT_EQ(FoundTitle(), L" Items Found: 1");
    EXPECT_EQ(GetFocus(), edit);
    SetKeyboardState(saved);
    ToggleFind();
    EXPECT_FALSE(IsWindowVisible(Find()));
}

TEST_F(FindInResultsTest, TheWindowKeepsItsWidthAndGrowsNoTallerThanTheMainWindow) {
    Open();
    ToggleFind();
    MINMAXINFO info{};
    SendMessageW(Find(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT main{};
    GetWindowRect(Main(), &main);
    EXPECT_EQ(info.ptMinTrackSize.x, 358);  // the test system reports Windows 7
    EXPECT_EQ(info.ptMinTrackSize.y, 294);
    EXPECT_EQ(info.ptMaxTrackSize.x, 358);
    EXPECT_EQ(info.ptMaxTrackSize.y, main.bottom - main.top);
}

TEST_F(FindInResultsTest, WhileASearchRunsTheWindowIsOffAndTheActionDisabled) {
    Open();
    TypeWatchableSearch(tree_.Path());
    ClickSearch();
    ToggleFind();
    TypeFind(L"f001");
    EXPECT_EQ(FoundTitle(), L" Items Found: 30");  // one in each folder of the tree

    MakeFiles(tree_.Path() + L"d30", {L"f001.txt"}, "some text here");
    const HWND pause = GetDlgItem(Main(), ids::kSearchPause);
    bool seen = false;
    WhileRunning([&] {
        if (!StopEnabled()) return false;
        Click(pause);  // held mid-walk while the window is looked at
        EXPECT_FALSE(window->Actions().Enabled(ids::actACTIONFindInResults));
        for (int id : {TfrmKvrFindInResults::kValue, TfrmKvrFindInResults::kColumn, TfrmKvrFindInResults::kNext,
                       TfrmKvrFindInResults::kResults})
            EXPECT_FALSE(IsWindowEnabled(FindControl(id))) << id;
        seen = true;
        Click(pause);  // Continue
        return true;
    });
    ClickSearch();
    ASSERT_TRUE(seen);
    EXPECT_TRUE(window->Actions().Enabled(ids::actACTIONFindInResults));
    EXPECT_TRUE(IsWindowEnabled(FindControl(TfrmKvrFindInResults::kValue)));
    EXPECT_EQ(FoundTitle(), L" Items Found: 31") << "the new rows are searched";
}
