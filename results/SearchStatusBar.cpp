#include "results/SearchStatusBar.h"

#include "engine/SearchStatistics.h"
#include "kit/DeviceContexts.h"
#include "kit/Fonts.h"

#include "results/PathShortening.h"
#include "results/ResultTable.h"

#include <commctrl.h>

#include <algorithm>

namespace results {
namespace {

constexpr COLORREF kTransparentKey = RGB(255, 0, 255);  // the pictures' background
// The panels' widths as designed, for Tahoma 8 pt at 96 DPI. Panel 0's is a start: it takes what the others leave.
constexpr int kDesignWidths[TSearchStatusBar::PanelCount] = {225, 250, 180, 128, 34};
// Panel 0 wraps a text too long for one line, such as the summary of a search, onto a second line.
constexpr int kInfoLines = 2;
constexpr UINT kInfoFormat = DT_WORDBREAK | DT_NOPREFIX;
// A panel's text stands about 6 pixels in from each edge of the panel, its border included.
constexpr int kTextPadding = 12;
constexpr int kInfoMargin = 3;  // panel 0's text from the panel's left edge, as the bar draws the others

HBITMAP LoadStateBitmap(const wchar_t* name) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

struct SearchTexts {
    std::wstring summary, objects, size;
};

// The texts of a search of 100,000 files in 10,000 folders, a terabyte in all, among a million entries.
SearchTexts LargeSearchTexts() {
    engine::TSearchStatistics statistics;
    statistics.Reset();
    for (int i = 0; i < 110000; ++i) statistics.IncObjectsFound();
    for (int i = 0; i < 100000; ++i) statistics.IncFilesFound();
    for (int i = 0; i < 10000; ++i) statistics.IncFoldersFound();
    statistics.AddControlledObjects(1000000);
    statistics.AddSize(1099511627776.0L);
    statistics.EndSearch();
    return {statistics.GetSummaryText(), statistics.GetObjectsFoundText(), statistics.GetTotalSizeText()};
}

int LineHeight(HWND window) {
    const kit::WindowDc dc(window);
    const kit::ScopedSelect font(dc.get(), kit::WindowFont(window));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

} // namespace

TSearchStatusBar::TSearchStatusBar(HWND parent, int id)
    : panels_{{{kDesignWidths[0], true, {}},
                {kDesignWidths[1], false, {}},
                {kDesignWidths[2], false, {}},
                {kDesignWidths[ProgressPanel], false, {}},
                {kDesignWidths[StatePanel], true, {}}}},
      notRunning_(LoadStateBitmap(L"BMP_NOTRUNNING")), suspended_(LoadStateBitmap(L"BMP_SUSPENDED")),
      running_(LoadStateBitmap(L"BMP_RUNNING")) {
    for (int i = 1; i < PanelCount; ++i) fixedWidth_ += panels_[static_cast<size_t>(i)].width;
    CreateControl(STATUSCLASSNAMEW, parent, id, L"", WS_VISIBLE | SBARS_SIZEGRIP, RECT{0, 0, 0, 0});
    // The bar keeps the status font the system gives it.
    SendMessageW(hwnd(), WM_SETFONT, 0, FALSE);
    progress_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD, 0, 0, 0, 0, hwnd(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(progress_, PBM_SETRANGE32, 0, 100);
    SendMessageW(progress_, PBM_SETPOS, 0, 0);
    SubclassControl();
    // As tall as panel 0's lines; the resize below lays out the panels.
    SendMessageW(hwnd(), SB_SETMINHEIGHT, static_cast<WPARAM>(kInfoLines * LineHeight(hwnd()) + 2), 0);
    SendMessageW(hwnd(), WM_SIZE, 0, 0);
    for (int i = 0; i < PanelCount; ++i) SendPanel(i);
}

// The window goes before the pictures it draws.
TSearchStatusBar::~TSearchStatusBar() { DestroyControl(); }

bool TSearchStatusBar::OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_SIZE:
        result = DefaultOwnMessage(msg, wp, lp);
        LayOutPanels();
        return true;
    case SB_GETTEXTW:
    case SB_GETTEXTLENGTHW:
        if (LOBYTE(LOWORD(wp)) != 0) return false;
        result = AnswerInfoText(msg, lp);
        return true;
    }
    return false;
}

LRESULT TSearchStatusBar::AnswerInfoText(UINT msg, LPARAM lp) const {
    const std::wstring& text = panels_[0].text;
    // The caller's buffer holds the text, as for any panel of the control: the message has no size.
    if (msg == SB_GETTEXTW && lp) {
        auto* buffer = reinterpret_cast<wchar_t*>(lp);
        buffer[text.copy(buffer, text.size())] = L'\0';
    }
    return MAKELRESULT(text.size(), 0);
}

void TSearchStatusBar::FitPanelWidths() {
    const SearchTexts samples = LargeSearchTexts();
    const auto fit = [this](Panel& panel, int designWidth, std::initializer_list<const wchar_t*> texts) {
        panel.leastWidth = 0;
        for (const wchar_t* text : texts)
            panel.leastWidth = std::max(panel.leastWidth, kit::TextWidth(hwnd(), text) + kTextPadding);
        panel.width = std::max(kit::ScaleToFont(hwnd(), designWidth), panel.leastWidth);
    };
    fit(panels_[1], kDesignWidths[1], {samples.objects.c_str()});
    fit(panels_[2], kDesignWidths[2], {samples.size.c_str()});
    fit(panels_[ProgressPanel], kDesignWidths[ProgressPanel], {L"Ready", L"Busy", L"Pause"});
    const kit::WindowDc dc(hwnd());
    Panel& state = panels_[StatePanel];
    state.width = state.leastWidth = MulDiv(kDesignWidths[StatePanel], GetDeviceCaps(dc.get(), LOGPIXELSX), 96);
    fixedWidth_ = 0;
    for (int i = 1; i < PanelCount; ++i) fixedWidth_ += panels_[static_cast<size_t>(i)].width;
    infoWidth_ = InfoWidthFor(samples.summary);
    LayOutPanels();
}

int TSearchStatusBar::WidthForSearchTexts() const { return fixedWidth_ + InfoWidthFor(LargeSearchTexts().summary); }

bool TSearchStatusBar::InfoFits(HDC dc, const std::wstring& text, int width) const {
    const int lineWidth = width - kTextPadding;
    if (lineWidth <= 0) return false;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT area{0, 0, lineWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_CALCRECT | kInfoFormat);
    return area.right <= lineWidth && area.bottom <= kInfoLines * metrics.tmHeight;
}

int TSearchStatusBar::InfoWidthFor(const std::wstring& text) const {
    const kit::WindowDc dc(hwnd());
    const kit::ScopedSelect font(dc.get(), kit::WindowFont(hwnd()));
    // A narrower panel only needs more lines: the narrowest width that fits is found by halving.
    int low = kTextPadding, high = kit::TextWidth(hwnd(), text) + kTextPadding;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (InfoFits(dc.get(), text, middle)) high = middle;
        else low = middle + 1;
    }
    return high;
}

std::wstring TSearchStatusBar::ShownInfoText() const {
    const std::wstring& text = panels_[0].text;
    const int width = panels_[0].width;
    const kit::WindowDc dc(hwnd());
    const kit::ScopedSelect font(dc.get(), kit::WindowFont(hwnd()));
    if (InfoFits(dc.get(), text, width)) return text;
    // Whole parts, never a word cut: the summary's counts come first, its times and speed after them.
    constexpr std::wstring_view separator = L" - ";
    std::wstring shown;
    for (size_t end = text.find(separator); end != std::wstring::npos; end = text.find(separator, end + 1)) {
        std::wstring leading = text.substr(0, end) + L" ...";
        if (!InfoFits(dc.get(), leading, width)) break;
        shown = std::move(leading);
    }
    return shown.empty() ? text : shown;
}

bool TSearchStatusBar::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM) return Control::OnReflected(msg, wp, lp, result);
    DrawPanel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    result = TRUE;
    return true;
}

void TSearchStatusBar::ParentResized() {
    if (hwnd()) SendMessageW(hwnd(), WM_SIZE, 0, 0);
}

void TSearchStatusBar::LayOutPanels() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    int widths[PanelCount] = {};
    for (int i = 1; i < PanelCount; ++i) widths[i] = panels_[static_cast<size_t>(i)].width;
    // Panel 0 first gets the room the summary of a large search needs, from what panels 3, 2 and 1 can spare.
    int wanted = infoWidth_ - (static_cast<int>(client.right) - fixedWidth_);
    for (const int i : {ProgressPanel, 2, 1}) {
        const int spare = std::max(0, widths[i] - panels_[static_cast<size_t>(i)].leastWidth);
        const int given = std::clamp(wanted, 0, spare);
        widths[i] -= given;
        wanted -= given;
    }
    widths[0] = static_cast<int>(client.right);
    for (int i = 1; i < PanelCount; ++i) widths[0] -= widths[i];
    widths[0] = std::max(0, widths[0]);
    panels_[0].width = widths[0];
    int edges[PanelCount];
    int right = 0;
    for (int i = 0; i < PanelCount; ++i) {
        right += widths[i];
        edges[i] = right;
    }
    SendMessageW(hwnd(), SB_SETPARTS, PanelCount, reinterpret_cast<LPARAM>(edges));
}

void TSearchStatusBar::SendPanel(int index) const {
    const Panel& panel = panels_[static_cast<size_t>(index)];
    const WORD style = panel.ownerDraw ? SBT_OWNERDRAW : 0;
    const LPARAM text = panel.ownerDraw ? 0 : reinterpret_cast<LPARAM>(panel.text.c_str());
    SendMessageW(hwnd(), SB_SETTEXTW, MAKEWPARAM(index | style, 0), text);
}

bool TSearchStatusBar::SetPanelText(int index, const std::wstring& text) {
    Panel& panel = panels_[static_cast<size_t>(index)];
    // Every SB_SETTEXT repaints the panel; the state panel's paint sets panel 3, so an unchanged text must not.
    if (panel.text == text) return false;
    panel.text = text;
    if (!hwnd()) return true;
    if (panel.ownerDraw) {
        // The bar already draws the panel through us: marked for the next paint, where SB_SETTEXT would paint
        // the whole bar at once (Wine does at every text), so the texts set between two pumps of a search are
        // drawn once.
        RECT area{};
        if (SendMessageW(hwnd(), SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&area)))
            InvalidateRect(hwnd(), &area, TRUE);
    } else {
        SendPanel(index);
    }
    return true;
}

void TSearchStatusBar::SetTextSearchPath(const std::wstring& path) {
    if (!hwnd()) return;
    const auto width = [this](const std::wstring& text) { return kit::TextWidth(hwnd(), text); };
    SetPanelText(0, L" " + MinimizePath(path, panels_[0].width - kTextPadding - width(L" "), width));
}

void TSearchStatusBar::SetProgressBarVisible(bool visible) {
    if (!hwnd()) return;
    const bool shown = (GetWindowLongPtrW(progress_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown == visible) return;
    ShowWindow(progress_, visible ? SW_SHOWNA : SW_HIDE);
    panels_[ProgressPanel].ownerDraw = visible;  // drawn over while shown, the state word again once hidden
    SendPanel(ProgressPanel);
}

void TSearchStatusBar::SetProgressBarPosition(int position) {
    if (hwnd() && static_cast<int>(SendMessageW(progress_, PBM_GETPOS, 0, 0)) != position)
        SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void TSearchStatusBar::Clear() {
    for (int i = 0; i < ProgressPanel; ++i) SetPanelText(i, L"");
    if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void TSearchStatusBar::DrawPanel(const DRAWITEMSTRUCT& item) {
    if (item.itemID == 0) DrawInfo(item.hDC, item.rcItem);
    else if (item.itemID == ProgressPanel) PlaceProgressBar(item.rcItem);
    else if (item.itemID == StatePanel) DrawState(item.hDC, item.rcItem);
}

void TSearchStatusBar::DrawInfo(HDC dc, const RECT& panel) const {
    const std::wstring text = ShownInfoText();
    const kit::ScopedSelect font(dc, kit::WindowFont(hwnd()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT area = panel;
    area.left += kInfoMargin;
    RECT needed = area;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | kInfoFormat);
    // One line stands in the middle, as the other panels' texts do.
    area.top += std::max(0L, (panel.bottom - panel.top - (needed.bottom - needed.top)) / 2);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, kInfoFormat | DT_END_ELLIPSIS);
}

void TSearchStatusBar::PlaceProgressBar(const RECT& panel) const {
    const int width = panel.right - panel.left;
    const int height = panel.bottom - panel.top - 1;
    RECT now{};
    GetWindowRect(progress_, &now);
    MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&now), 2);
    if (now.left == panel.left && now.top == panel.top && now.right - now.left == width && now.bottom - now.top == height)
        return;
    SetWindowPos(progress_, nullptr, panel.left, panel.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

TSearchStatusBar::State TSearchStatusBar::CurrentState() const {
    if (!walker_ || !table_ || !listView_) return State::Ready;
    if (!walker_->Running()) return table_->Exporting() ? State::Busy : State::Ready;
    if (table_->Exporting()) return State::Unchanged;
    return walker_->Suspended() ? State::Pause : State::Busy;
}

void TSearchStatusBar::DrawState(HDC dc, const RECT& panel) {
    const State state = CurrentState();
    if (state == State::Unchanged) return;
    const HBITMAP picture = state == State::Ready ? notRunning_.get()
                            : state == State::Busy ? running_.get()
                                                   : suspended_.get();
    BITMAP info{};
    if (picture && GetObjectW(picture, sizeof(info), &info)) {
        const int width = std::min(static_cast<int>(info.bmWidth), static_cast<int>(panel.right - panel.left));
        const int height = std::min(static_cast<int>(info.bmHeight), static_cast<int>(panel.bottom - panel.top));
        kit::MemoryDc source(dc, picture);
        if (source.get())
            GdiTransparentBlt(dc, panel.left, panel.top, width, height, source.get(), 0, 0, width, height,
                              kTransparentKey);
    }
    SetPanelText(ProgressPanel, state == State::Ready ? L"Ready" : state == State::Busy ? L"Busy" : L"Pause");
}

} // namespace results
