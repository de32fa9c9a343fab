// The main window at its first start, as a new user sees it: every column and every status panel shows its
// usual texts whole, measured in the font each control really has, and no control paints over another.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/DateTimes.h"
#include "engine/SearchStatistics.h"
#include "kit/Controls.h"
#include "results/CellFormat.h"
#include "results/DateTimeText.h"
#include "results/ResultTable.h"
#include "results/SearchStatusBar.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"

using namespace uitest;
using namespace results;
namespace ids = ui::ids;

namespace {

// A cell's text and a column's caption stand about 6 pixels in from each edge of the column; a panel's text
// about 4 pixels in from each edge of the panel's rectangle.
constexpr int kCellMargins = 12;
constexpr int kPanelMargins = 8;

int TextWidth(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

// The height `text` takes wrapped into `width` pixels, or -1 when a word is wider than that.
int WrappedHeight(HWND control, const std::wstring& text, int width) {
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT area{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return area.right > width ? -1 : area.bottom;
}

class DefaultLayoutTest : public MainWindowTest {
protected:
    HWND Bar() const { return GetDlgItem(Main(), ids::kStatusBar); }
    int ColumnWidth(TColumnsEnum kind) const {  // the columns are made in kind order
        return static_cast<int>(SendMessageW(List(), LVM_GETCOLUMNWIDTH, kind, 0));
    }
    // How far in from the cell's left edge its text begins on screen; -1 when the cell shows nothing.
    int TextIndent(int row, TColumnsEnum kind) const {
        RECT cell{};
        cell.top = kind;
        cell.left = LVIR_BOUNDS;
        SendMessageW(List(), LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        RECT client{};
        GetClientRect(List(), &client);
        EXPECT_LE(cell.right, client.right) << "the cell is in view";
        UpdateWindow(List());
        HDC dc = GetDC(List());
        const int middle = (cell.top + cell.bottom) / 2;
        const COLORREF background = GetPixel(dc, cell.right - 2, middle);
        int indent = -1;
        for (int x = cell.left; x < cell.right - 2 && indent < 0; ++x)
            for (int y = middle - 3; y <= middle + 3 && indent < 0; ++y)
                if (GetPixel(dc, x, y) != background) indent = x - cell.left;
        ReleaseDC(List(), dc);
        return indent;
    }
    RECT PanelRect(int panel) const {
        RECT rect{};
        SendMessageW(Bar(), SB_GETRECT, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    TSearchStatusBar& StatusBar() const {
        auto* bar = dynamic_cast<TSearchStatusBar*>(kit::Control::FromHandle(Bar()));
        EXPECT_NE(bar, nullptr);
        return *bar;
    }
    // The status texts of a search of 100,000 files in 1,200 folders that took 1 min 23 s.
    void ShowLargeSearchTexts() {
        engine::TSearchStatistics statistics;
        statistics.Reset();
        for (int i = 0; i < 100000; ++i) statistics.IncFilesFound();
        for (int i = 0; i < 1200; ++i) statistics.IncFoldersFound();
        for (int i = 0; i < 101200; ++i) statistics.IncObjectsFound();
        statistics.AddControlledObjects(101201);
        statistics.AddSize(13421772800.0L);
        interaction.ticks += 83456;
        statistics.EndSearch();
        summary_ = statistics.GetSummaryText();
        StatusBar().SetTextSearchInfo(summary_);
        StatusBar().SetTextTotalObiects(statistics.GetObjectsFoundText());
        StatusBar().SetTextTotalSize(statistics.GetTotalSizeText());
    }
    std::wstring summary_;
};

} // namespace

TEST_F(DefaultLayoutTest, EveryColumnAndStatusPanelHoldsItsTextsInTheRealFont) {
    testsupport::TempFolder tree;
    MakeFiles(tree.Path(), {L"index.html"}, "<html></html>");
    OpenFresh();
    TypePath(tree.Path());
    ClickSearch();
    ASSERT_EQ(Rows().size(), 1u);

    // The captions, and the cells a search of 100,000 files shows: row numbers up to 99999, an extension,
    // a size and a whole date-time, in the locale's formats.
    struct ColumnText { TColumnsEnum kind; std::wstring text; };
    std::vector<ColumnText> captions;
    for (const TColumnDef& def : DefaultColumns()) captions.push_back({def.Kind, def.Caption});
    const std::wstring date = FormatRowDate(engine::EncodeDateTime({2023, 12, 28, 22, 58, 58, 0}));
    const std::vector<ColumnText> cells = {
        {tcNumber, L"99999"},        {tcExt, L".html"},         {tcSize, GroupedNumber(1234567) + L" Bytes"},
        {tcDateModified, date},      {tcDateCreated, date},     {tcDateAccessed, date},
    };
    for (const ColumnText& c : captions) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_GE(ColumnWidth(c.kind), TextWidth(List(), c.text) + kCellMargins);
    }
    for (const ColumnText& c : cells) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_GE(ColumnWidth(c.kind), TextWidth(List(), c.text) + kCellMargins);
    }
    // Those columns show no icon and keep no room for one: the extension begins at the cell's edge.
    const int indent = TextIndent(0, tcExt);
    EXPECT_GE(indent, 0);
    EXPECT_LT(indent, GetSystemMetrics(SM_CXSMICON));

    ShowLargeSearchTexts();

    const RECT info = PanelRect(0);
    const int infoHeight = WrappedHeight(Bar(), StatusText(0), info.right - info.left - kPanelMargins);
    EXPECT_GT(infoHeight, 0) << "no word of the summary is wider than panel 0";
    EXPECT_LE(infoHeight, info.bottom - info.top) << testing::PrintToString(StatusText(0));
    for (int panel : {1, 2}) {
        SCOPED_TRACE(testing::PrintToString(StatusText(panel)));
        const RECT rect = PanelRect(panel);
        EXPECT_GE(rect.right - rect.left, TextWidth(Bar(), StatusText(panel)) + kPanelMargins);
    }
    const RECT state = PanelRect(TSearchStatusBar::ProgressPanel);
    for (const wchar_t* word : {L"Ready", L"Busy", L"Pause"})
        EXPECT_GE(state.right - state.left, TextWidth(Bar(), word) + kPanelMargins) << testing::PrintToString(word);
    const RECT picture = PanelRect(TSearchStatusBar::StatePanel);
    EXPECT_GE(picture.right - picture.left, 16);
    EXPECT_GE(picture.bottom - picture.top, 16);
}

// From the window's narrowest width to 1,280 pixels, panel 0 shows the summary of a large search readably: all of
// it, or its leading parts and " ...", wrapped into the panel's lines with no word cut; the other panels keep
// their texts whole.
TEST_F(DefaultLayoutTest, TheSummaryStaysReadableFromTheNarrowestWindowUp) {
    OpenFresh();
    ShowLargeSearchTexts();
    const int narrowest = app::GlobalApplicationInit->Position.MinWidth;
    const std::wstring first = summary_.substr(0, summary_.find(L" - "));
    for (int width = narrowest; width <= 1280; width += 18) {
        SetWindowPos(Main(), nullptr, 0, 0, width, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT window{};
        GetWindowRect(Main(), &window);
        SCOPED_TRACE(testing::Message() << "window " << window.right - window.left << " px wide");
        ASSERT_EQ(window.right - window.left, width);
        const std::wstring shown = StatusBar().ShownInfoText();
        const RECT info = PanelRect(0);
        const int height = WrappedHeight(Bar(), shown, info.right - info.left - kPanelMargins);
        EXPECT_GT(height, 0) << "a word wider than panel 0: " << testing::PrintToString(shown);
        EXPECT_LE(height, info.bottom - info.top) << "lines cut off: " << testing::PrintToString(shown);
        const bool whole = shown == summary_;
        const bool leading = shown.ends_with(L" ...") && summary_.starts_with(shown.substr(0, shown.size() - 4)) &&
                             shown.starts_with(first + L" ");
        EXPECT_TRUE(whole || leading) << testing::PrintToString(shown);
        for (int panel : {1, 2}) {
            const RECT rect = PanelRect(panel);
            EXPECT_GE(rect.right - rect.left, TextWidth(Bar(), StatusText(panel)) + kPanelMargins) << panel;
        }
        const RECT state = PanelRect(TSearchStatusBar::ProgressPanel);
        EXPECT_GE(state.right - state.left, TextWidth(Bar(), L"Ready") + kPanelMargins);
    }
}

// A layout stored before (or by a person) is not fitted again, even where it is narrower than the fitted default.
TEST_F(DefaultLayoutTest, AStoredLayoutKeepsItsWidths) {
    OpenFresh();
    const int fitted = ColumnWidth(tcNumber);
    SendMessageW(List(), LVM_SETCOLUMNWIDTH, tcNumber, fitted - 10);
    Open();  // the window closes, storing its layout, and comes back
    EXPECT_EQ(ColumnWidth(tcNumber), fitted - 10);
}

// Controls that overlap (an up-down over its edit's border, the pickers of a date row) clip each other, and the
// up-down lies above its edit, so neither's repaint draws over what should show.
TEST_F(DefaultLayoutTest, OverlappingControlsClipEachOther) {
    Open();
    const auto shown = [](HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0; };
    const auto clipped = [](HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_CLIPSIBLINGS) != 0; };
    int overlaps = 0;
    for (int pageId : {ids::kPageFilesAndFolders, ids::kPageContainingText, ids::kPageDateAndSize, ids::kPageAttributes}) {
        std::vector<HWND> controls;
        for (HWND c = GetWindow(Page(pageId), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (shown(c)) controls.push_back(c);
        for (std::size_t i = 0; i < controls.size(); ++i)
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                RECT a, b, both;
                GetWindowRect(controls[i], &a);
                GetWindowRect(controls[j], &b);
                if (!IntersectRect(&both, &a, &b)) continue;
                ++overlaps;
                EXPECT_TRUE(clipped(controls[i]) && clipped(controls[j]))
                    << GetDlgCtrlID(controls[i]) << " and " << GetDlgCtrlID(controls[j]);
            }
        for (HWND control : controls) {
            wchar_t kind[32] = L"";
            GetClassNameW(control, kind, 32);
            if (std::wstring(kind) != UPDOWN_CLASSW) continue;
            const auto buddy = reinterpret_cast<HWND>(SendMessageW(control, UDM_GETBUDDY, 0, 0));
            EXPECT_EQ(GetWindow(control, GW_HWNDNEXT), buddy) << GetDlgCtrlID(control) << " lies right above its edit";
        }
    }
    EXPECT_GT(overlaps, 0);
}
