#include <gtest/gtest.h>

#include "results/PathShortening.h"
#include "results/ResultTable.h"
#include "kit/Window.h"
#include "results/SearchStatusBar.h"
#include "tests/support/TempFolder.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

using namespace results;

namespace {

constexpr int kBarId = 700;

class FakeWalker : public TSearchState {
public:
    bool running = false;
    bool suspended = false;
    bool Running() const override { return running; }
    bool Suspended() const override { return suspended; }
};

// What the bar gets and what its parent is asked to draw, seen from subclasses the test adds on top.
struct Watch {
    int paints = 0;
    int stateTextSets = 0;
    RECT progressPanel{};
};

LRESULT CALLBACK WatchBar(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* watch = reinterpret_cast<Watch*>(data);
    if (msg == WM_PAINT) ++watch->paints;
    if (msg == SB_SETTEXTW && LOBYTE(LOWORD(wp)) == TSearchStatusBar::ProgressPanel) ++watch->stateTextSets;
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK WatchParent(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* watch = reinterpret_cast<Watch*>(data);
    if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item->itemID == TSearchStatusBar::ProgressPanel) watch->progressPanel = item->rcItem;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// Dispatches until the queue is empty; the count of messages, capped so an endless repaint fails instead of hanging.
int PumpUntilIdle() {
    MSG msg;
    int count = 0;
    while (count < 5000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++count;
    }
    return count;
}

// The bar's parent as the main window is: a kit window, so the bar's drawing reaches the bar by reflection, that
// tells the bar when it was resized.
class BarHost : public kit::Window {
public:
    void Make() {
        Create({.className = L"KvrStatusBarHost", .title = L"Status bar host", .style = WS_OVERLAPPEDWINDOW,
                .bounds = RECT{10, 10, 910, 310}});
    }
    TSearchStatusBar* bar = nullptr;

protected:
    bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT&) override {
        if (msg == WM_SIZE && bar) bar->ParentResized();
        return false;
    }
};

class StatusBarTest : public testing::Test {
protected:
    void SetUp() override {
        hostWindow_.Make();
        host_ = hostWindow_.hwnd();
        ASSERT_NE(host_, nullptr);
        bar_ = std::make_unique<TSearchStatusBar>(host_, kBarId);
        hostWindow_.bar = bar_.get();
        ASSERT_NE(bar_->hwnd(), nullptr);
        ShowWindow(host_, SW_SHOW);
        UpdateWindow(host_);
        PumpUntilIdle();
        SetWindowSubclass(bar_->hwnd(), WatchBar, 1, reinterpret_cast<DWORD_PTR>(&watch_));
        SetWindowSubclass(host_, WatchParent, 1, reinterpret_cast<DWORD_PTR>(&watch_));
    }
    void TearDown() override {
        hostWindow_.bar = nullptr;
        bar_.reset();
        if (host_) DestroyWindow(host_);
    }

    void Repaint() {
        InvalidateRect(bar_->hwnd(), nullptr, TRUE);
        UpdateWindow(bar_->hwnd());
    }
    std::vector<int> PanelWidths() const {
        int edges[8] = {};
        const auto count = static_cast<int>(SendMessageW(bar_->hwnd(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)));
        std::vector<int> widths;
        for (int i = 0; i < count; ++i) widths.push_back(edges[i] - (i ? edges[i - 1] : 0));
        return widths;
    }
    int ClientWidth() const {
        RECT rc{};
        GetClientRect(bar_->hwnd(), &rc);
        return rc.right;
    }
    std::wstring ShownText(int panel) const {
        wchar_t text[512] = L"";
        SendMessageW(bar_->hwnd(), SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text));
        return text;
    }
    void AssignReferences() {
        bar_->SetMerrowinFile(&walker_);
        bar_->SetResultTable(&table_);
        bar_->SetResultListView(host_);  // any window stands for the list view: only its presence counts
    }
    // The colour at the middle of the state picture, on screen and in the picture itself.
    void ExpectStatePicture(const wchar_t* resource) {
        RECT panel{};
        SendMessageW(bar_->hwnd(), SB_GETRECT, TSearchStatusBar::StatePanel, reinterpret_cast<LPARAM>(&panel));
        HBITMAP picture = static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(picture, nullptr);
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, picture);
        const COLORREF expected = GetPixel(memory, 8, 8);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(picture);
        // The bar draws at the top-left of the rectangle it is handed, inside the panel's border.
        HDC screen = GetDC(bar_->hwnd());
        bool found = false;
        for (int dx = 0; dx <= 3 && !found; ++dx)
            for (int dy = 0; dy <= 3 && !found; ++dy) found = GetPixel(screen, panel.left + 8 + dx, panel.top + 8 + dy) == expected;
        ReleaseDC(bar_->hwnd(), screen);
        EXPECT_TRUE(found) << "picture " << testing::PrintToString(std::wstring(resource)) << " not on screen";
    }

    BarHost hostWindow_;
    HWND host_ = nullptr;
    std::unique_ptr<TSearchStatusBar> bar_;
    Watch watch_;
    FakeWalker walker_;
    TResultTable table_;
};

} // namespace

TEST_F(StatusBarTest, PanelZeroTakesTheRoomTheOthersLeave) {
    EXPECT_EQ(bar_->FixedPanelsWidth(), 592);
    EXPECT_EQ(PanelWidths(), (std::vector<int>{ClientWidth() - 592, 250, 180, 128, 34}));
    SetWindowPos(host_, nullptr, 0, 0, 1250, 300, SWP_NOMOVE | SWP_NOZORDER);
    PumpUntilIdle();
    EXPECT_GT(ClientWidth(), 1100);
    EXPECT_EQ(PanelWidths(), (std::vector<int>{ClientWidth() - 592, 250, 180, 128, 34}));
    SetWindowPos(host_, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);  // narrower than the fixed panels
    PumpUntilIdle();
    EXPECT_EQ(PanelWidths(), (std::vector<int>{0, 250, 180, 128, 34}));
}

TEST_F(StatusBarTest, ShowsReadyUntilTheReferencesAreSet) {
    walker_.running = true;
    bar_->SetMerrowinFile(&walker_);
    bar_->SetResultTable(&table_);
    Repaint();
    EXPECT_EQ(ShownText(TSearchStatusBar::ProgressPanel), L"Ready");
    ExpectStatePicture(L"BMP_NOTRUNNING");
}

TEST_F(StatusBarTest, StateWordAndPictureFollowTheWalkerAndTheExport) {
    AssignReferences();
    struct Step { bool running; bool suspended; const wchar_t* word; const wchar_t* picture; };
    const Step steps[] = {
        {false, false, L"Ready", L"BMP_NOTRUNNING"}, {true, false, L"Busy", L"BMP_RUNNING"},
        {true, true, L"Pause", L"BMP_SUSPENDED"},    {false, true, L"Ready", L"BMP_NOTRUNNING"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.word);
        walker_.running = step.running;
        walker_.suspended = step.suspended;
        Repaint();
        EXPECT_EQ(ShownText(TSearchStatusBar::ProgressPanel), step.word);
        EXPECT_EQ(bar_->PanelText(TSearchStatusBar::ProgressPanel), step.word);
        ExpectStatePicture(step.picture);
    }
    // During an export the bar is busy when no search runs, and keeps its word when one does.
    const testsupport::TempFolder temp;
    table_.AddRow(1, -1, {}, 0, 0, 0, 1, L"", L"C:\\", -1, L"a.txt", -1);
    std::vector<std::wstring> seen;
    table_.OnExportStartedEvent = [&](TExport&, std::int64_t) {
        walker_.running = false;
        Repaint();
        seen.push_back(ShownText(TSearchStatusBar::ProgressPanel));
        walker_.running = true;
        walker_.suspended = true;
        Repaint();
        seen.push_back(ShownText(TSearchStatusBar::ProgressPanel));
    };
    ASSERT_TRUE(table_.ExportToTXTTab(temp / L"busy.txt", L"", {}));
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"Busy", L"Busy"}));
}

TEST_F(StatusBarTest, RepaintsAreBoundedAndTheStateWordIsSetOnlyWhenItChanges) {
    AssignReferences();
    Repaint();
    PumpUntilIdle();
    watch_ = Watch{};
    for (int i = 0; i < 3; ++i) InvalidateRect(bar_->hwnd(), nullptr, TRUE);
    const int dispatched = PumpUntilIdle();
    EXPECT_LT(dispatched, 50);
    EXPECT_GE(watch_.paints, 1);
    EXPECT_LE(watch_.paints, 3);
    EXPECT_EQ(watch_.stateTextSets, 0);
    walker_.running = true;  // a change is set once
    Repaint();
    PumpUntilIdle();
    EXPECT_EQ(watch_.stateTextSets, 1);
}

TEST_F(StatusBarTest, ProgressBarCoversPanelThree) {
    AssignReferences();
    Repaint();
    HWND progress = bar_->ProgressBar();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(GetParent(progress), bar_->hwnd());
    EXPECT_FALSE(IsWindowVisible(progress));
    EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, FALSE, 0), 100);
    bar_->SetProgressBarVisible(true);
    PumpUntilIdle();
    UpdateWindow(bar_->hwnd());
    EXPECT_TRUE(IsWindowVisible(progress));
    RECT placed{};
    GetWindowRect(progress, &placed);
    MapWindowPoints(HWND_DESKTOP, bar_->hwnd(), reinterpret_cast<POINT*>(&placed), 2);
    const RECT& panel = watch_.progressPanel;
    EXPECT_GT(panel.right - panel.left, 100);
    EXPECT_EQ(placed.left, panel.left);
    EXPECT_EQ(placed.top, panel.top);
    EXPECT_EQ(placed.right, panel.right);
    EXPECT_EQ(placed.bottom, panel.bottom - 1);
    bar_->SetProgressBarPosition(40);
    EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 40);
    // Showing it again changes nothing; hiding it brings back the state word.
    watch_.stateTextSets = 0;
    bar_->SetProgressBarVisible(true);
    EXPECT_EQ(watch_.stateTextSets, 0);
    bar_->SetProgressBarVisible(false);
    PumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(progress));
    EXPECT_EQ(ShownText(TSearchStatusBar::ProgressPanel), L"Ready");
}

TEST_F(StatusBarTest, PathIsShortenedToThePanelAndClearKeepsTheState) {
    AssignReferences();
    Repaint();
    bar_->SetTextSearchPath(L"C:\\Data\\");
    EXPECT_EQ(ShownText(0), L" C:\\Data\\");
    std::wstring longPath = L"C:\\";
    for (int i = 0; i < 30; ++i) longPath += L"folder" + std::to_wstring(i) + L"\\";
    bar_->SetTextSearchPath(longPath + L"name.txt");
    const std::wstring shown = ShownText(0);
    EXPECT_EQ(shown.substr(0, 7), L" C:\\...");
    EXPECT_NE(shown.find(L"..."), std::wstring::npos);
    EXPECT_EQ(shown.substr(shown.size() - 9), L"\\name.txt");
    EXPECT_EQ(bar_->TextSearchInfo(), shown);
    bar_->SetTextSearchInfo(L"Found in 2 s");
    bar_->SetTextTotalObiects(L"3 objects");
    bar_->SetTextTotalSize(L"12 KB");
    EXPECT_EQ(ShownText(0), L"Found in 2 s");
    EXPECT_EQ(ShownText(1), L"3 objects");
    EXPECT_EQ(ShownText(2), L"12 KB");
    bar_->Clear();
    for (int panel : {0, 1, 2}) EXPECT_EQ(ShownText(panel), L"");
    EXPECT_EQ(ShownText(TSearchStatusBar::ProgressPanel), L"Ready");
}

TEST(PathShortening, DropsMiddleFoldersFirst) {
    const auto chars = [](const std::wstring& text) { return static_cast<int>(text.size()); };
    struct Case { const wchar_t* path; int width; const wchar_t* shown; };
    const Case cases[] = {
        {L"C:\\a\\b\\c\\file.txt", 100, L"C:\\a\\b\\c\\file.txt"},
        {L"C:\\aa\\bb\\cc\\file.txt", 18, L"C:\\...\\cc\\file.txt"},
        {L"C:\\aa\\bb\\cc\\file.txt", 15, L"C:\\...\\file.txt"},
        {L"C:\\aa\\bb\\cc\\file.txt", 5, L"...\\file.txt"},
        {L"C:\\aa\\bb\\cc\\", 11, L"C:\\...\\cc\\"},
        {L"\\\\server\\share\\aa\\bb\\x", 21, L"\\\\server\\share\\...\\x"},
        {L"relative\\aa\\bb\\x", 10, L"...\\bb\\x"},
        {L"C:\\x", 2, L"...\\x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << " in " << c.width);
        EXPECT_EQ(MinimizePath(c.path, c.width, chars), c.shown);
    }
}
