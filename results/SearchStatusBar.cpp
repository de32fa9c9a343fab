#include "results/SearchStatusBar.h"

#include "kit/DeviceContexts.h"

#include "results/PathShortening.h"
#include "results/ResultTable.h"

#include <commctrl.h>

#include <algorithm>

namespace results {
namespace {

constexpr UINT_PTR kBarSubclassId = 1;
constexpr COLORREF kTransparentKey = RGB(255, 0, 255);  // the pictures' background

HBITMAP LoadStateBitmap(const wchar_t* name) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}


} // namespace

TSearchStatusBar::TSearchStatusBar(HWND parent, int id)
    : parent_(parent),
      panels_{{{225, false, {}}, {250, false, {}}, {180, false, {}}, {128, false, {}}, {34, true, {}}}},
      notRunning_(LoadStateBitmap(L"BMP_NOTRUNNING")), suspended_(LoadStateBitmap(L"BMP_SUSPENDED")),
      running_(LoadStateBitmap(L"BMP_RUNNING")) {
    for (int i = 1; i < PanelCount; ++i) fixedWidth_ += panels_[static_cast<size_t>(i)].width;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!bar_) return;
    progress_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD, 0, 0, 0, 0, bar_, nullptr, instance, nullptr);
    SendMessageW(progress_, PBM_SETRANGE32, 0, 100);
    SendMessageW(progress_, PBM_SETPOS, 0, 0);
    SetWindowSubclass(bar_, BarProc, kBarSubclassId, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
    LayOutPanels();
    for (int i = 0; i < PanelCount; ++i) SendPanel(i);
}

TSearchStatusBar::~TSearchStatusBar() {
    if (!bar_) return;
    HWND bar = bar_;
    Detach();
    DestroyWindow(bar);
}

void TSearchStatusBar::Detach() {
    RemoveWindowSubclass(bar_, BarProc, kBarSubclassId);
    RemoveWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this));
    bar_ = nullptr;
    progress_ = nullptr;
}

LRESULT CALLBACK TSearchStatusBar::BarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TSearchStatusBar*>(data);
    if (msg == WM_NCDESTROY) {  // the parent went first and took the bar with it
        self->Detach();
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_SIZE) self->LayOutPanels();
    return result;
}

LRESULT CALLBACK TSearchStatusBar::ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TSearchStatusBar*>(data);
    if (msg == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item && item->hwndItem == self->bar_) {
            try {
                self->DrawPanel(*item);
            } catch (...) {  // a failed paint must not unwind through the window procedure
            }
            return TRUE;
        }
    }
    const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    // A status bar places itself along the parent's bottom edge when told that the parent changed size.
    if (msg == WM_SIZE && self->bar_) SendMessageW(self->bar_, WM_SIZE, 0, 0);
    return result;
}

void TSearchStatusBar::LayOutPanels() {
    RECT client{};
    GetClientRect(bar_, &client);
    panels_[0].width = std::max(0, static_cast<int>(client.right) - fixedWidth_);
    int edges[PanelCount];
    int right = 0;
    for (int i = 0; i < PanelCount; ++i) {
        right += panels_[static_cast<size_t>(i)].width;
        edges[i] = right;
    }
    SendMessageW(bar_, SB_SETPARTS, PanelCount, reinterpret_cast<LPARAM>(edges));
}

void TSearchStatusBar::SendPanel(int index) const {
    const Panel& panel = panels_[static_cast<size_t>(index)];
    const WORD style = panel.ownerDraw ? SBT_OWNERDRAW : 0;
    const LPARAM text = panel.ownerDraw ? 0 : reinterpret_cast<LPARAM>(panel.text.c_str());
    SendMessageW(bar_, SB_SETTEXTW, MAKEWPARAM(index | style, 0), text);
}

bool TSearchStatusBar::SetPanelText(int index, const std::wstring& text) {
    Panel& panel = panels_[static_cast<size_t>(index)];
    // Every SB_SETTEXT repaints the panel; the state panel's paint sets panel 3, so an unchanged text must not.
    if (panel.text == text) return false;
    panel.text = text;
    if (bar_) SendPanel(index);
    return true;
}

void TSearchStatusBar::SetTextSearchPath(const std::wstring& path) {
    const int width = panels_[0].width - TextWidth(L" ");
    SetPanelText(0, L" " + MinimizePath(path, width, [this](const std::wstring& text) { return TextWidth(text); }));
}

int TSearchStatusBar::TextWidth(const std::wstring& text) const {
    if (!bar_) return 0;
    kit::WindowDc dc(bar_);
    auto font = reinterpret_cast<HFONT>(SendMessageW(bar_, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const kit::ScopedSelect selected(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void TSearchStatusBar::SetProgressBarVisible(bool visible) {
    if (!progress_) return;
    const bool shown = (GetWindowLongPtrW(progress_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown == visible) return;
    ShowWindow(progress_, visible ? SW_SHOWNA : SW_HIDE);
    panels_[ProgressPanel].ownerDraw = visible;  // drawn over while shown, the state word again once hidden
    SendPanel(ProgressPanel);
}

void TSearchStatusBar::SetProgressBarPosition(int position) {
    if (progress_ && static_cast<int>(SendMessageW(progress_, PBM_GETPOS, 0, 0)) != position)
        SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void TSearchStatusBar::Clear() {
    for (int i = 0; i < ProgressPanel; ++i) SetPanelText(i, L"");
    if (bar_) InvalidateRect(bar_, nullptr, TRUE);
}

void TSearchStatusBar::DrawPanel(const DRAWITEMSTRUCT& item) {
    if (item.itemID == ProgressPanel) PlaceProgressBar(item.rcItem);
    else if (item.itemID == StatePanel) DrawState(item.hDC, item.rcItem);
}

void TSearchStatusBar::PlaceProgressBar(const RECT& panel) const {
    const int width = panel.right - panel.left;
    const int height = panel.bottom - panel.top - 1;
    RECT now{};
    GetWindowRect(progress_, &now);
    MapWindowPoints(HWND_DESKTOP, bar_, reinterpret_cast<POINT*>(&now), 2);
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
