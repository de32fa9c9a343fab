#include "tests/results/ListViewFixture.h"

#include "results/XPTheme.h"

#include <commctrl.h>

using namespace results;
using resultstest::ListRow;
using resultstest::ListViewTest;
using engine::saArchive;
using engine::saCompressed;
using engine::saDirectory;
using engine::saHidden;
using engine::saSystem;

namespace {

class FixedTheme : public TThemeSystem {
public:
    explicit FixedTheme(bool themed) : themed_(themed) { SetThemeSystem(this); }
    ~FixedTheme() override { SetThemeSystem(nullptr); }
    bool ThemeLibraryLoaded() override { return themed_; }
    bool IsAppThemed() override { return themed_; }
    bool IsThemeActive() override { return themed_; }
    std::int32_t CommonControlsVersion() override { return themed_ ? 0x60000 : 0x50000; }
private:
    bool themed_;
};

// Matches the rows whose name holds a text, as the find item will.
class NameFind : public TResultFindMatch {
public:
    std::wstring text;
    int staleMarks = 0;
    bool Active() const override { return !text.empty(); }
    bool Matches(TRow& row) override { return Active() && row.Name().find(text) != std::wstring::npos; }
    void MarkStale() override { ++staleMarks; }
};

} // namespace

TEST_F(ListViewTest, HeadersFollowTheDisplayOrderWithTheNumberFirst) {
    EXPECT_EQ(HeaderTexts(), (std::vector<std::wstring>{L" N\u00B0", L" Name", L" Folder", L" Size", L" Ext", L" Type",
                                                        L" Attributes", L" Modified Date", L" Creation Date",
                                                        L" Last Access Date"}));
    EXPECT_EQ(List().DisplayedKinds(), std::vector<TColumnsEnum>(DisplayOrder.begin(), DisplayOrder.end()));
    EXPECT_EQ(List().IndexOfKind(tcName), 1);
    // The size column keeps its right alignment in the header.
    EXPECT_TRUE(HeaderFormat(tcSize) & HDF_RIGHT);
}

TEST_F(ListViewTest, CellsAreAnsweredForRowsOnAndOffThePage) {
    FillPlain(300);
    ASSERT_LT(CountPerPage(), 100);
    struct Case { int row; TColumnsEnum kind; const wchar_t* text; };
    const Case cases[] = {
        {0, tcName, L"row0001.dat"}, {0, tcNumber, L"1"},         {0, tcFolder, L"C:\\Fixture\\"},
        {250, tcName, L"row0251.dat"}, {250, tcNumber, L"251"},   {299, tcExt, L".dat"},
        {299, tcAttribute, L"A"},     {300, tcName, L""},          {-1, tcName, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << L" / " << c.kind);
        EXPECT_EQ(Cell(c.row, c.kind), c.text);
    }
    EXPECT_EQ(TopIndex(), 0);
}

TEST_F(ListViewTest, OnlyRowsInViewAreAskedOfTheShell) {
    FillPlain(300);
    RedrawWindow(ListHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const auto image = [&](int row) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE | LVIF_TEXT;
        item.iItem = row;
        wchar_t text[64] = L"";
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(ListHwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    };
    EXPECT_GE(image(0), 0);
    EXPECT_TRUE(table_.RowAt(0)->DetailsFetched);
    image(250);
    EXPECT_EQ(table_.RowAt(250)->SystemIconIndex, -1);
    EXPECT_EQ(table_.RowAt(250)->TypeName(), L"X");
}

// The shell cuts a path longer than MAX_PATH, and with it the extension: such a row is asked for by its name.
TEST_F(ListViewTest, ALongPathRowGetsTheTypeAndIconsOfAShortOne) {
    std::wstring longFolder = L"C:\\";
    while (longFolder.size() < MAX_PATH) longFolder += L"a folder with a rather long name\\";
    for (const std::wstring& folder : {std::wstring(L"C:\\Fixture\\"), longFolder})
        for (const wchar_t* name : {L"notes.txt", L"index.html"})
            table_.AddRow(table_.Count() + 1, -1, {saArchive}, 40000, 40000, 40000, 1, L"", folder, -1, name, -1);
    List().UpdateItemCount();
    RedrawWindow(ListHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    for (int row = 0; row < 2; ++row) {
        const TRow& shortRow = *table_.RowAt(row);
        const TRow& longRow = *table_.RowAt(row + 2);
        SCOPED_TRACE(testing::PrintToString(shortRow.Name()));
        EXPECT_EQ(Cell(row + 2, tcType), Cell(row, tcType));
        EXPECT_NE(Cell(row, tcType), L"File");
        ASSERT_TRUE(longRow.DetailsFetched);
        EXPECT_EQ(longRow.SystemIconIndex, shortRow.SystemIconIndex);
        EXPECT_EQ(longRow.TypeIconIndex(), shortRow.TypeIconIndex());
    }
}

TEST_F(ListViewTest, HiddenNameKindsStayBlankItems) {
    Fill({{L"Sub", {saDirectory}}, {L"a.txt", {saArchive}}});
    List().ShowFolderNames = false;
    EXPECT_EQ(Cell(0, tcName), L"");
    EXPECT_EQ(Cell(1, tcName), L"a.txt");
    List().ShowFolderNames = true;
    List().ShowFileNames = false;
    EXPECT_EQ(Cell(0, tcName), L"Sub");
    EXPECT_EQ(Cell(1, tcName), L"");
    EXPECT_EQ(SendMessageW(ListHwnd(), LVM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(ListViewTest, HiddenRowsAreGhostedAndShortcutsGetTheOverlay) {
    Fill({{L"plain.txt", {saArchive}}, {L"secret.txt", {saHidden}}, {L"link.lnk", {saArchive}}});
    const UINT mask = LVIS_CUT | LVIS_OVERLAYMASK;
    EXPECT_EQ(SendMessageW(ListHwnd(), LVM_GETITEMSTATE, 0, mask), 0);
    EXPECT_EQ(SendMessageW(ListHwnd(), LVM_GETITEMSTATE, 1, mask), LVIS_CUT);
    EXPECT_EQ(SendMessageW(ListHwnd(), LVM_GETITEMSTATE, 2, mask), INDEXTOOVERLAYMASK(1));
}

TEST_F(ListViewTest, ThreeClicksOnNameSortDescendingAscendingThenByNumber) {
    Fill({{L"b.txt", {}}, {L"A.txt", {}}, {L"c.txt", {}}});
    struct Step { std::vector<std::wstring> names; std::uint8_t direction; int themedFlag; bool arrow; };
    const Step steps[] = {
        {{L"c.txt", L"b.txt", L"A.txt"}, 2, HDF_SORTDOWN, true},
        {{L"A.txt", L"b.txt", L"c.txt"}, 1, HDF_SORTUP, true},
        {{L"b.txt", L"A.txt", L"c.txt"}, 0, 0, false},
    };
    for (const bool themed : {false, true}) {
        SCOPED_TRACE(themed ? "themed" : "classic");
        FixedTheme theme(themed);
        RecreateWindow();
        for (const Step& step : steps) {
            SCOPED_TRACE(step.direction);
            List().OnColumnClick(tcName);
            EXPECT_EQ(Names(), step.names);
            EXPECT_EQ(List().SortDirection(), step.direction);
            const int format = HeaderFormat(tcName);
            EXPECT_EQ(format & (HDF_SORTUP | HDF_SORTDOWN), themed ? step.themedFlag : 0);
            EXPECT_EQ(HeaderBitmap(tcName) != nullptr, !themed && step.arrow);
            EXPECT_EQ(HeaderFormat(tcNumber) & (HDF_SORTUP | HDF_SORTDOWN | HDF_BITMAP), 0);
        }
        if (themed) {
            EXPECT_EQ(SendMessageW(ListHwnd(), LVM_GETSELECTEDCOLUMN, 0, 0), tcName);
        }
    }
}

TEST_F(ListViewTest, TheSortFollowsTheColumnTheUserDragged) {
    Fill({{L"b.txt", {}, 5}, {L"A.txt", {}, 9}, {L"c.txt", {}, 1}});
    FixedTheme theme(true);
    List().OnColumnClick(tcName);
    // The user drags Name to the far right: the same column clicked again goes on to ascending.
    const HWND header = List().Header();
    std::vector<int> order(ColumnCount);
    SendMessageW(header, HDM_GETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    order.erase(order.begin() + 1);
    order.push_back(tcName);
    SendMessageW(ListHwnd(), LVM_SETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    ASSERT_EQ(List().IndexOfKind(tcName), ColumnCount - 1);
    List().OnColumnClick(tcName);
    EXPECT_EQ(List().SortDirection(), 1);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"A.txt", L"b.txt", L"c.txt"}));
    EXPECT_TRUE(HeaderFormat(tcName) & HDF_SORTUP);
    // Another column starts descending and takes the mark.
    List().OnColumnClick(tcSize);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"A.txt", L"b.txt", L"c.txt"}));
    EXPECT_TRUE(HeaderFormat(tcSize) & HDF_SORTDOWN);
    EXPECT_FALSE(HeaderFormat(tcName) & (HDF_SORTUP | HDF_SORTDOWN));
}

TEST_F(ListViewTest, AColumnClickMarksTheFindStaleEvenOnAnEmptyList) {
    NameFind find;
    List().SetFindMatch(&find);
    List().OnColumnClick(tcName);
    EXPECT_EQ(find.staleMarks, 1);
    EXPECT_FALSE(List().SortedKind().has_value());
    List().SetFindMatch(nullptr);
}

TEST_F(ListViewTest, TypingFindsTheNextNameThatBeginsWithTheText) {
    Fill({{L"alpha.txt", {}}, {L"Beta.txt", {}}, {L"bravo.txt", {}}, {L"charlie.txt", {}}});
    struct Case { const wchar_t* text; UINT flags; int start; int found; };
    const Case cases[] = {
        {L"b", LVFI_PARTIAL | LVFI_STRING, 0, 1},  {L"BR", LVFI_PARTIAL | LVFI_STRING, 0, 2},
        {L"b", LVFI_PARTIAL | LVFI_STRING, 2, 2},  {L"a", LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP, 1, 0},
        {L"a", LVFI_PARTIAL | LVFI_STRING, 1, -1}, {L"alpha.txt", LVFI_STRING, 0, 0},
        {L"delta", LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP, 2, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << L" from " << c.start);
        // What the control sends its parent when the user types; systems differ in the start they pass for
        // LVM_FINDITEMW, so the notification is sent as the control would.
        NMLVFINDITEMW find{};
        find.hdr = {ListHwnd(), static_cast<UINT_PTR>(testsupport::ListTestWindow::ListId), LVN_ODFINDITEMW};
        find.iStart = c.start;
        find.lvfi.flags = c.flags;
        find.lvfi.psz = c.text;
        EXPECT_EQ(SendMessageW(window_->hwnd(), WM_NOTIFY, find.hdr.idFrom, reinterpret_cast<LPARAM>(&find)),
                  c.found);
    }
    LVFINDINFOW typed{};
    typed.flags = LVFI_PARTIAL | LVFI_STRING;
    typed.psz = L"ch";
    EXPECT_EQ(SendMessageW(ListHwnd(), LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&typed)), 3);
}

TEST_F(ListViewTest, ColumnsHideShowAndComeBackWhenAllAreHidden) {
    const int nameAt = List().IndexOfKind(tcName);
    SendMessageW(ListHwnd(), LVM_SETCOLUMNWIDTH, tcName, 150);
    List().ToggleColumnFromPopUp(nameAt, false);
    EXPECT_EQ(List().ColumnWidth(tcName), 0);
    EXPECT_FALSE(List().ColumnInfo(tcName).visible);
    List().ToggleColumnFromPopUp(nameAt, true);
    EXPECT_EQ(List().ColumnWidth(tcName), 150);
    EXPECT_TRUE(List().ColumnInfo(tcName).visible);
    List().ShowColumn(ColumnCount, false);  // outside the columns: nothing
    List().ShowColumn(-1, false);

    List().MoveColumn(tcSize, 0);
    for (int i = 0; i < ColumnCount - 1; ++i) List().ShowColumn(i, false);
    List().ToggleColumnFromPopUp(ColumnCount - 1, false);
    EXPECT_EQ(List().DisplayedKinds(), std::vector<TColumnsEnum>(DisplayOrder.begin(), DisplayOrder.end()));
    for (const TColumnDef& def : DefaultColumns()) {
        SCOPED_TRACE(def.Key);
        EXPECT_EQ(List().ColumnWidth(def.Kind), def.Width);
        EXPECT_TRUE(List().ColumnInfo(def.Kind).visible);
    }
}

TEST_F(ListViewTest, ZoomStepsBetweenSevenAndElevenPointsAndStopsAtItsEnds) {
    List().SetTextZoom(tzSmall);
    const int smallRow = List().RowHeight();
    List().ZoomDecrease();
    EXPECT_EQ(List().TextZoom(), tzSmall);
    for (int step = 0; step < 6; ++step) List().ZoomIncrease();
    EXPECT_EQ(List().TextZoom(), tzVeryLarge);
    EXPECT_GT(List().RowHeight(), smallRow);
    EXPECT_EQ(ZoomPointSize(static_cast<TTextZoom>(9)), 8);
    const int sizes[] = {7, 8, 9, 10, 11};
    for (int zoom = tzSmall; zoom <= tzVeryLarge; ++zoom)
        EXPECT_EQ(ZoomPointSize(static_cast<TTextZoom>(zoom)), sizes[zoom]);
}

TEST_F(ListViewTest, AutoResizeOnZoomFitsTheVisibleColumns) {
    Fill({{L"a rather long file name for the name column.txt", {}}});
    SendMessageW(ListHwnd(), LVM_SETCOLUMNWIDTH, tcName, 40);
    EXPECT_EQ(List().ColumnWidth(tcName), 40);
    List().SetZoomAutoResizes(true);
    EXPECT_GT(List().ColumnWidth(tcName), 150);
    List().SetTextBold(true);
    EXPECT_TRUE(List().TextBold());
}

TEST_F(ListViewTest, ScrollingMovesByTheRealRowHeight) {
    FillPlain(400);
    List().SetTextZoom(tzVeryLarge);
    ASSERT_GT(List().RowHeight(), 17);
    SendMessageW(ListHwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(TopIndex(), 1);
    const int page = CountPerPage();
    SendMessageW(ListHwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(TopIndex(), 1 + page);
    SendMessageW(ListHwnd(), WM_VSCROLL, SB_PAGEUP, 0);
    SendMessageW(ListHwnd(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(TopIndex(), 0);
    // Scrolling turned double buffering off; the end of it turns it back on.
    EXPECT_FALSE(SendMessageW(ListHwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_DOUBLEBUFFER);
    SendMessageW(ListHwnd(), WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_TRUE(SendMessageW(ListHwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_DOUBLEBUFFER);
    SendMessageW(ListHwnd(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_FALSE(SendMessageW(ListHwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_DOUBLEBUFFER);
    SendMessageW(ListHwnd(), WM_KEYUP, VK_NEXT, 0);
    EXPECT_TRUE(SendMessageW(ListHwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_DOUBLEBUFFER);
}

TEST_F(ListViewTest, ViewStylesFollowWhatTheControlShows) {
    struct Case { TZentaViewStyle style; DWORD view; };
    const Case cases[] = {{zvsIcon, LV_VIEW_ICON}, {zvsSmallIcon, LV_VIEW_SMALLICON}, {zvsList, LV_VIEW_LIST},
                          {zvsThumbnail, LV_VIEW_ICON}, {zvsReport, LV_VIEW_DETAILS}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        List().SetZentaViewStyle(c.style);
        EXPECT_EQ(SendMessageW(ListHwnd(), LVM_GETVIEW, 0, 0), static_cast<LRESULT>(c.view));
        EXPECT_EQ(List().ZentaViewStyle(), c.style);
    }
    // Tiles, where the control has none, leave the style it really shows.
    List().SetZentaViewStyle(zvsTile);
    const auto view = static_cast<DWORD>(SendMessageW(ListHwnd(), LVM_GETVIEW, 0, 0));
    EXPECT_EQ(List().ZentaViewStyle(), view == LV_VIEW_TILE ? zvsTile : zvsReport);
}

TEST_F(ListViewTest, GridLinesAreSetAndPutBack) {
    const auto gridLines = [&] {
        return (SendMessageW(ListHwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES) != 0;
    };
    List().SetShowGridLines(true);
    EXPECT_TRUE(gridLines());
    EXPECT_TRUE(List().ShowGridLines());
    SendMessageW(ListHwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, 0);  // lost by a view change
    List().ReapplyGridLines(false);
    EXPECT_FALSE(gridLines());
    List().ReapplyGridLines(true);
    EXPECT_TRUE(gridLines());
    List().SetShowGridLines(false);
    EXPECT_FALSE(gridLines());
}

TEST(ResultListColours, AttributesChooseTheTextColourFirstMatchWins) {
    struct Case { engine::TScanAttributes attributes; std::optional<COLORREF> colour; };
    const Case cases[] = {
        {{saHidden, saSystem, saCompressed}, RGB(0x80, 0, 0x80)}, {{saHidden, saSystem}, RGB(0xFF, 0, 0xFF)},
        {{saCompressed, saHidden}, RGB(0, 0x80, 0x80)},           {{saCompressed, saArchive}, RGB(0, 0, 0xFF)},
        {{saHidden}, RGB(0x80, 0x80, 0x80)},                      {{saSystem}, RGB(0xFF, 0, 0)},
        {{saArchive}, std::nullopt},                              {{saCompressed, saSystem}, RGB(0, 0, 0xFF)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes.Bits());
        EXPECT_EQ(AttributeTextColour(c.attributes), c.colour);
    }
}

namespace {

// The items' places as the control reports them, and what is wrong with them as a person would see it: two items
// that overlap, items left of the list's left edge or past its right one where an item fits, or below one another
// where a row has room.
std::vector<RECT> ItemBounds(HWND list) {
    std::vector<RECT> bounds;
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        item.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        bounds.push_back(item);
    }
    return bounds;
}

std::string LayoutFault(HWND list) {
    const std::vector<RECT> items = ItemBounds(list);
    RECT client{};
    GetClientRect(list, &client);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].left < 0) return "item " + std::to_string(i) + " starts left of the list";
        if (items[i].right > client.right && items[i].right - items[i].left <= client.right)
            return "item " + std::to_string(i) + " ends past the list's right edge";
        for (size_t j = i + 1; j < items.size(); ++j) {
            RECT common{};
            if (IntersectRect(&common, &items[i], &items[j]))
                return "items " + std::to_string(i) + " and " + std::to_string(j) + " overlap";
        }
    }
    // The second item stands beside the first when the list is wide enough for two.
    if (items.size() >= 2 && 2 * (items[0].right - items[0].left) <= client.right && items[1].top != items[0].top)
        return "the second item is not beside the first";
    return "";
}

} // namespace

// Large and small icons, switched to from the details and between each other, lay the items out side by side in
// rows, and keep them so when the list is narrowed and widened. (Tiles, where the control has them, too.)
TEST_F(ListViewTest, TheIconViewsLayTheItemsOutInRowsAcrossResizes) {
    FillPlain(24);
    const TZentaViewStyle styles[] = {zvsIcon, zvsSmallIcon, zvsIcon, zvsTile, zvsReport, zvsSmallIcon};
    for (const TZentaViewStyle style : styles) {
        SCOPED_TRACE(testing::Message() << "style " << static_cast<int>(style));
        List().SetZentaViewStyle(style);
        Pump();
        if (List().ZentaViewStyle() == zvsReport) continue;
        EXPECT_EQ(LayoutFault(ListHwnd()), "");
        for (const int width : {360, 900}) {
            SCOPED_TRACE(width);
            MoveWindow(window_->hwnd(), 0, 0, width, 420, TRUE);
            Pump();
            EXPECT_EQ(LayoutFault(ListHwnd()), "");
        }
    }
}

// A search run in an icon view adds rows in steps (and a sort sets the count anew): the rows added stand in the rows
// too, never over the first ones.
TEST_F(ListViewTest, RowsAddedWhileAnIconViewShowsStandInRows) {
    for (const TZentaViewStyle style : {zvsIcon, zvsSmallIcon}) {
        SCOPED_TRACE(testing::Message() << "style " << static_cast<int>(style));
        List().SetZentaViewStyle(zvsReport);
        List().Results()->Clear();
        List().UpdateItemCount();
        List().SetZentaViewStyle(style);
        Pump();
        for (const int added : {5, 19}) {
            FillPlain(added);
            EXPECT_EQ(LayoutFault(ListHwnd()), "") << added << " rows added";
        }
        List().OnColumnClick(tcName);
        Pump();
        EXPECT_EQ(LayoutFault(ListHwnd()), "") << "sorted";
    }
}
