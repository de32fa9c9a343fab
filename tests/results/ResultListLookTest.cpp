#include "tests/results/ListViewFixture.h"

#include "kit/Handles.h"

#include <commctrl.h>

#include <cstdlib>
#include <map>

using namespace results;
using resultstest::ListViewTest;
using engine::saArchive;
using engine::saCompressed;
using engine::saHidden;
using engine::saSystem;

namespace {

class FindByName : public TResultFindMatch {
public:
    bool Active() const override { return true; }
    bool Matches(TRow& row) override { return row.Name().starts_with(L"Found"); }
    void MarkStale() override {}
};

// What is on screen in a rectangle of a window, copied once.
class ScreenPixels {
public:
    ScreenPixels(HWND hwnd, const RECT& area) : area_(area), dc_(CreateCompatibleDC(nullptr)) {
        const HDC window = GetDC(hwnd);
        bitmap_.reset(CreateCompatibleBitmap(window, area.right - area.left, area.bottom - area.top));
        old_ = SelectObject(dc_, bitmap_.get());
        BitBlt(dc_, 0, 0, area.right - area.left, area.bottom - area.top, window, area.left, area.top, SRCCOPY);
        ReleaseDC(hwnd, window);
    }
    ~ScreenPixels() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    std::map<COLORREF, int> Counts() const {
        std::map<COLORREF, int> counts;
        for (int y = 0; y < area_.bottom - area_.top; ++y)
            for (int x = 0; x < area_.right - area_.left; ++x) ++counts[GetPixel(dc_, x, y)];
        return counts;
    }
private:
    RECT area_;
    HDC dc_;
    kit::UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

// tools/screenshot-list sets this: the test then shows the list until the script has taken its picture.
void HoldForScreenshot(const wchar_t* readyFile) {
    HANDLE ready = CreateFileW(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    for (int waited = 0; waited < 60000 && GetFileAttributesW(readyFile) != INVALID_FILE_ATTRIBUTES; waited += 50) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(50);
    }
}

} // namespace

TEST_F(ListViewTest, RowsShowTheirAttributeColoursAndTheFindMatch) {
    struct Case { const wchar_t* name; engine::TScanAttributes attributes; COLORREF text; COLORREF back; };
    const COLORREF window = GetSysColor(COLOR_WINDOW), black = GetSysColor(COLOR_WINDOWTEXT);
    const Case cases[] = {
        {L"Plain file.txt", {saArchive}, black, window},
        {L"Hidden file.txt", {saHidden}, RGB(0x80, 0x80, 0x80), window},
        {L"System file.sys", {saSystem}, RGB(0xFF, 0, 0), window},
        {L"Compressed file.dat", {saCompressed}, RGB(0, 0, 0xFF), window},
        {L"Hidden system file.sys", {saHidden, saSystem}, RGB(0xFF, 0, 0xFF), window},
        {L"Compressed hidden file.dat", {saCompressed, saHidden}, RGB(0, 0x80, 0x80), window},
        {L"Hidden system compressed.dat", {saHidden, saSystem, saCompressed}, RGB(0x80, 0, 0x80), window},
        {L"Found by the find item.txt", {saArchive}, black, FindMatchBackground},
        {L"Found and hidden.txt", {saHidden}, RGB(0x80, 0x80, 0x80), FindMatchBackground},
    };
    std::vector<resultstest::ListRow> rows;
    for (const Case& c : cases) rows.push_back({c.name, c.attributes, 1234});
    FindByName find;
    List().SetFindMatch(&find);
    List().SetShowGridLines(true);
    Fill(rows);
    RedrawWindow(ListHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();

    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        RECT label{};
        label.top = tcFolder;  // a cell without an icon: its text and its background only
        label.left = LVIR_LABEL;
        ASSERT_TRUE(SendMessageW(ListHwnd(), LVM_GETSUBITEMRECT, i, reinterpret_cast<LPARAM>(&label)));
        InflateRect(&label, -2, -2);
        const std::map<COLORREF, int> counts = ScreenPixels(ListHwnd(), label).Counts();
        // The background fills most of the cell; the text's strokes show its colour at their cores.
        const auto back = counts.find(c.back);
        ASSERT_NE(back, counts.end());
        EXPECT_GT(back->second * 2, (label.right - label.left) * (label.bottom - label.top));
        EXPECT_TRUE(counts.contains(c.text));
    }
    if (const wchar_t* ready = _wgetenv(L"KVR_LIST_SCREENSHOT_READY")) HoldForScreenshot(ready);
    List().SetFindMatch(nullptr);
}

// The row the find window goes to is selected: it stays green, in the selected match's colours, both while the
// list has the focus and while another window (the find window) has it; a selected row that is no match keeps the
// selection's look, and the other matches their pale green.
TEST_F(ListViewTest, TheSelectedMatchStaysVisiblyAMatchAndSelectedWhereverTheFocusIs) {
    FindByName find;
    List().SetFindMatch(&find);
    Fill({{L"Found first.txt", {saArchive}}, {L"Found second.txt", {saArchive}}, {L"Plain.txt", {saArchive}}});
    for (const int row : {0, 2}) ListView_SetItemState(ListHwnd(), row, LVIS_SELECTED, LVIS_SELECTED);
    // The find window's stand-in: another top-level window with a box that takes the focus.
    // Owned, so a failed check does not leave it standing over the tests that follow.
    const kit::UniqueWindow otherWindow{CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 500,
                                                        200, 30, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)};
    const HWND other = otherWindow.get();
    ASSERT_NE(other, nullptr);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    // The background that fills most of a row's Folder cell, and whether `text` shows in it.
    const auto cell = [this](int row, COLORREF text) {
        RECT label{};
        label.top = tcFolder;
        label.left = LVIR_LABEL;
        SendMessageW(ListHwnd(), LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&label));
        InflateRect(&label, -2, -2);
        const std::map<COLORREF, int> counts = ScreenPixels(ListHwnd(), label).Counts();
        auto most = counts.begin();
        for (auto i = counts.begin(); i != counts.end(); ++i)
            if (i->second > most->second) most = i;
        return std::pair{most->first, counts.contains(text)};
    };
    for (const bool listFocused : {true, false}) {
        SCOPED_TRACE(listFocused ? "the list has the focus" : "another window has the focus");
        const HWND focus = listFocused ? ListHwnd() : other;
        SetForegroundWindow(GetAncestor(focus, GA_ROOT));
        SetFocus(focus);
        Pump();
        ASSERT_EQ(GetFocus(), focus);
        RedrawWindow(ListHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        EXPECT_EQ(cell(0, FindMatchSelectedText), std::pair(FindMatchSelectedBackground, true)) << "the selected match";
        EXPECT_EQ(cell(1, GetSysColor(COLOR_WINDOWTEXT)), std::pair(FindMatchBackground, true)) << "another match";
        const COLORREF selected = cell(2, 0).first;
        EXPECT_NE(selected, window) << "a selected row that is no match still looks selected";
        EXPECT_NE(selected, FindMatchBackground);
        EXPECT_NE(selected, FindMatchSelectedBackground);
    }
    List().SetFindMatch(nullptr);
}
