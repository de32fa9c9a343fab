#include "results/SearchStatusBar.h"

#include "kit/DeviceContexts.h"

#include "results/PathShortening.h"
#include "results/ResultTable.h"

#include <commctrl.h>

#include <algorithm>

namespace results {
namespace {

constexpr COLORREF kTransparentKey = RGB(255, 0, 255);  // the pictures' background

HBITMAP LoadStateBitmap(const wchar_t* name) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}


} // namespace

TSearchStatusBar::TSearchStatusBar(HWND parent, int id)
    : panels_{{{225, false, {}}, {250, false, {}}, {180, false, {}}, {128, false, {}}, {34, true, {}}}},
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
    LayOutPanels();
    for (int i = 0; i < PanelCount; ++i) SendPanel(i);
}

// The window goes before the pictures it draws.
TSearchStatusBar::~TSearchStatusBar() { DestroyControl(); }

bool TSearchStatusBar::OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_SIZE) return false;
    result = DefaultOwnMessage(msg, wp, lp);
    LayOutPanels();
    return true;
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
    panels_[0].width = std::max(0, static_cast<int>(client.right) - fixedWidth_);
    int edges[PanelCount];
    int right = 0;
    for (int i = 0; i < PanelCount; ++i) {
        right += panels_[static_cast<size_t>(i)].width;
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
    if (hwnd()) SendPanel(index);
    return true;
}

void TSearchStatusBar::SetTextSearchPath(const std::wstring& path) {
    const int width = panels_[0].width - TextWidth(L" ");
    SetPanelText(0, L" " + MinimizePath(path, width, [this](const std::wstring& text) { return TextWidth(text); }));
}

int TSearchStatusBar::TextWidth(const std::wstring& text) const {
    if (!hwnd()) return 0;
    kit::WindowDc dc(hwnd());
    auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const kit::ScopedSelect selected(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
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
    if (item.itemID == ProgressPanel) PlaceProgressBar(item.rcItem);
    else if (item.itemID == StatePanel) DrawState(item.hDC, item.rcItem);
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
