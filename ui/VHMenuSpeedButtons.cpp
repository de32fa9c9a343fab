#include "ui/VHMenuSpeedButtons.h"

#include <windowsx.h>

#include <utility>

#include "kit/Controls.h"
#include "kit/DeviceContexts.h"
#include "kit/Interaction.h"
#include "kit/Scope.h"

namespace ui {
namespace {

using Base = TVHUngroupedSpeedButton;

UINT ShiftKeys(UINT keys) { return keys & (MK_SHIFT | MK_CONTROL); }

LPARAM PointParam(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// A small arrow pointing down, on the button face.
kit::UniqueBitmap DropDownArrow() {
    constexpr int kWidth = 7, kHeight = 4;
    const kit::WindowDc screen(nullptr);
    kit::UniqueBitmap arrow(CreateCompatibleBitmap(screen.get(), kWidth, kHeight));
    if (!arrow) return arrow;
    const kit::MemoryDc dc(screen.get(), arrow.get());
    const RECT all{0, 0, kWidth, kHeight};
    FillRect(dc.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    for (int row = 0; row < kHeight; ++row) {
        const RECT line{row, row, kWidth - row, row + 1};
        FillRect(dc.get(), &line, GetSysColorBrush(COLOR_BTNTEXT));
    }
    return arrow;
}

// The command id of the first item marked default; -1 for none.
int FirstDefaultItem(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && (info.fState & MFS_DEFAULT) &&
            !info.hSubMenu)
            return static_cast<int>(info.wID);
    }
    return -1;
}

} // namespace

// The ungrouped button.

void TVHUngroupedSpeedButton::Create(HWND parent, int id, const RECT& bounds, const std::wstring& caption) {
    kit::Window::Create({.className = L"KvrSpeedButton",
                         .title = caption,
                         .style = WS_CHILD | WS_CLIPSIBLINGS,
                         .parent = parent,
                         .childId = id,
                         .bounds = bounds});
}

void TVHUngroupedSpeedButton::SetFlat(bool flat) {
    flat_ = flat;
    Repaint();
}

void TVHUngroupedSpeedButton::SetGlyph(kit::UniqueBitmap glyph) {
    glyph_ = std::move(glyph);
    Repaint();
}

RECT TVHUngroupedSpeedButton::Bounds() const {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void TVHUngroupedSpeedButton::SetBounds(const RECT& bounds) {
    SetWindowPos(hwnd(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int TVHUngroupedSpeedButton::ClientWidth() const {
    RECT r{};
    GetClientRect(hwnd(), &r);
    return r.right;
}

int TVHUngroupedSpeedButton::ClientHeight() const {
    RECT r{};
    GetClientRect(hwnd(), &r);
    return r.bottom;
}

void TVHUngroupedSpeedButton::Click() {
    if (OnClick) OnClick();
}

bool TVHUngroupedSpeedButton::Inside(int x, int y) const {
    return x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
}

void TVHUngroupedSpeedButton::SetDrawnDown(bool down) {
    if (drawnDown_ == down) return;
    drawnDown_ = down;
    Repaint();
}

void TVHUngroupedSpeedButton::MouseDown(TMouseButton button, UINT keys, int x, int y) {
    if (OnMouseDown) OnMouseDown(button, keys, x, y);
    if (button != TMouseButton::Left || !Enabled()) return;
    SetDrawnDown(true);
    dragging_ = true;
}

void TVHUngroupedSpeedButton::MouseMove(UINT keys, int x, int y) {
    if (OnMouseMove) OnMouseMove(keys, x, y);
    if (dragging_) SetDrawnDown(Inside(x, y));
    else if (!mouseInControl_) UpdateTracking();
}

void TVHUngroupedSpeedButton::MouseUp(TMouseButton button, UINT keys, int x, int y) {
    if (OnMouseUp) OnMouseUp(button, keys, x, y);
    if (!dragging_) return;
    dragging_ = false;
    const bool click = Inside(x, y);
    drawnDown_ = false;
    mouseInControl_ = false;
    Repaint();
    if (click) Click();
    UpdateTracking();
}

void TVHUngroupedSpeedButton::MouseEnter(WPARAM /*from*/) {
    if (mouseInControl_ || !Enabled() || GetCapture() != nullptr) return;
    mouseInControl_ = true;
    Repaint();
}

void TVHUngroupedSpeedButton::MouseLeave(WPARAM /*from*/) {
    if (!mouseInControl_ || !Enabled() || dragging_) return;
    mouseInControl_ = false;
    Repaint();
}

void TVHUngroupedSpeedButton::UpdateTracking() {
    if (!flat_ || !Enabled() || !hwnd()) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const bool over = WindowFromPoint(cursor) == hwnd();
    if (over == mouseInControl_) return;
    if (over) MouseEnter(0);
    else MouseLeave(0);
}

bool TVHUngroupedSpeedButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const auto keys = static_cast<UINT>(wp);
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(hwnd());
        MouseDown(TMouseButton::Left, keys, x, y);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        MouseDown(TMouseButton::Right, keys, x, y);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        MouseDown(TMouseButton::Middle, keys, x, y);
        break;
    case WM_MOUSEMOVE:
        if (!trackingLeave_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
            trackingLeave_ = TrackMouseEvent(&track) != FALSE;
            MouseEnter(0);
        }
        MouseMove(keys, x, y);
        break;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        MouseLeave(0);
        break;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd()) ReleaseCapture();
        MouseUp(TMouseButton::Left, keys, x, y);
        break;
    case WM_RBUTTONUP:
        MouseUp(TMouseButton::Right, keys, x, y);
        break;
    case WM_MBUTTONUP:
        MouseUp(TMouseButton::Middle, keys, x, y);
        break;
    case kMouseEnter:
        MouseEnter(wp);
        break;
    case kMouseLeave:
        MouseLeave(wp);
        break;
    case BM_CLICK:
        Click();
        break;
    case WM_ENABLE:
        Repaint();
        EnabledChanged();
        break;
    case WM_WINDOWPOSCHANGING:
        AdjustBounds(*reinterpret_cast<WINDOWPOS*>(lp));
        return false;
    case WM_WINDOWPOSCHANGED:
        BoundsChanged();
        return false;  // the default handling sends WM_MOVE and WM_SIZE
    case WM_SETTEXT:
        result = DefWindowProcW(hwnd(), msg, wp, lp);
        Repaint();
        return true;
    case WM_ERASEBKGND:
        result = 1;  // the paint fills the face
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(hwnd(), &paint);
        const kit::ScopeExit end([this, &paint] { EndPaint(hwnd(), &paint); });
        Paint(dc);
        break;
    }
    default:
        return false;
    }
    result = 0;
    return true;
}

// A flat button shows its edge only under the mouse; the face shifts by a pixel while drawn down.
void TVHUngroupedSpeedButton::Paint(HDC dc) const {
    RECT face{};
    GetClientRect(hwnd(), &face);
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    const bool enabled = Enabled();
    if (drawnDown_)
        DrawEdge(dc, &face, flat_ ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    else if (!flat_ || (mouseInControl_ && enabled))
        DrawEdge(dc, &face, flat_ ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    const int shift = drawnDown_ ? 1 : 0;

    const std::wstring caption = kit::WindowText(hwnd());
    const kit::ScopedSelect font(dc, kit::ControlFont());
    SIZE text{};
    if (!caption.empty()) GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    BITMAP glyph{};
    if (glyph_) GetObjectW(glyph_.get(), sizeof(glyph), &glyph);
    const int gap = glyph_ && !caption.empty() ? 4 : 0;
    int x = (face.right - glyph.bmWidth - gap - text.cx) / 2 + shift;
    if (glyph_) {
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(glyph_.get()), 0, x,
                   (face.bottom - glyph.bmHeight) / 2 + shift, glyph.bmWidth, glyph.bmHeight,
                   DST_BITMAP | (enabled ? DSS_NORMAL : DSS_DISABLED));
        x += glyph.bmWidth + gap;
    }
    if (caption.empty()) return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT line{x, face.top + shift, x + text.cx, face.bottom + shift};
    DrawTextW(dc, caption.c_str(), -1, &line, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

// The menu button.

void TVHCustomMenuSpeedButton::Click() {
    if (!inMouseUp_) Base::Click();
}

void TVHCustomMenuSpeedButton::ShowMenu(POINT screen) {
    const HMENU menu = ActiveMenu();
    if (!menu) return;
    // Through the seam, as every menu; the choice reaches the top-level window as a menu command would.
    const HWND root = GetAncestor(hwnd(), GA_ROOT);
    if (const UINT chosen = kit::UserInteraction().TrackMenu(root, menu, screen))
        PostMessageW(root, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

POINT TVHCustomMenuSpeedButton::MenuCorner() const {
    const bool right = (MenuPlacing & 2) != 0;
    const bool bottom = (MenuPlacing & 1) != 0;
    return POINT{right ? ClientWidth() : 0, bottom ? ClientHeight() : 0};
}

// A left release over the button clicks it and drops the menu; the button is released before the menu opens
// or after it closes, as ReleaseButton says. The release's own click (of the inherited handling) is refused.
void TVHCustomMenuSpeedButton::MouseUp(TMouseButton button, UINT keys, int x, int y) {
    inMouseUp_ = true;
    const kit::ScopeExit done([this] { inMouseUp_ = false; });
    if (!Inside(x, y)) {
        Base::MouseUp(button, keys, x, y);
        return;
    }
    const bool left = button == TMouseButton::Left;
    if (left) Base::Click();
    if (ReleaseButton) Base::MouseUp(button, keys, x, y);
    if (left) {
        POINT corner = MenuCorner();
        ClientToScreen(hwnd(), &corner);
        ShowMenu(corner);
    }
    if (!ReleaseButton) Base::MouseUp(button, keys, x, y);
}

// The menu half.

TVHLinkedMenuSpeedButton::~TVHLinkedMenuSpeedButton() {
    if (master_ && master_->menuButton_ == this) master_->menuButton_ = nullptr;
}

void TVHLinkedMenuSpeedButton::Create(HWND parent, int id) {
    TVHCustomMenuSpeedButton::Create(parent, id, RECT{0, 0, kWidth, 22});
    if (useDefaultGlyph_) LoadDefaultGlyph();
}

void TVHLinkedMenuSpeedButton::SetUseDefaultGlyph(bool use) {
    useDefaultGlyph_ = use;
    if (use) LoadDefaultGlyph();
    else Base::SetGlyph({});
}

void TVHLinkedMenuSpeedButton::SetFlat(bool flat) {
    if (!master_ || flat == master_->Flat()) Base::SetFlat(flat);
}

void TVHLinkedMenuSpeedButton::SetGlyph(kit::UniqueBitmap glyph) {
    Base::SetGlyph(std::move(glyph));
    GlyphChanged();
}

void TVHLinkedMenuSpeedButton::LoadDefaultGlyph() { Base::SetGlyph(DropDownArrow()); }

void TVHLinkedMenuSpeedButton::GlyphChanged() { useDefaultGlyph_ = false; }

void TVHLinkedMenuSpeedButton::SetMaster(TVHLinkedSpeedButton* master) {
    // Linked to another master, the half leaves the old one.
    if (master_ && master_ != master && master_->menuButton_ == this) master_->menuButton_ = nullptr;
    master_ = master;
    if (!master_) return;
    const HWND parent = GetParent(master_->hwnd());
    if (GetParent(hwnd()) != parent) SetParent(hwnd(), parent);
    Place();
    Base::SetFlat(master_->Flat());
    SetEnabled(master_->Enabled());
}

void TVHLinkedMenuSpeedButton::Place() {
    if (!master_) return;
    const RECT master = master_->Bounds();
    const RECT own = Bounds();
    SetWindowPos(hwnd(), nullptr, master.right, master.top, own.right - own.left, master.bottom - master.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TVHLinkedMenuSpeedButton::AdjustBounds(WINDOWPOS& pos) {
    if (!master_ || !master_->hwnd()) return;
    const RECT master = master_->Bounds();
    if (pos.flags & SWP_NOSIZE) {
        const RECT own = Bounds();
        pos.cx = own.right - own.left;
    }
    pos.x = master.right;
    pos.y = master.top;
    pos.cy = master.bottom - master.top;
    pos.flags &= ~static_cast<UINT>(SWP_NOMOVE | SWP_NOSIZE);
}

void TVHLinkedMenuSpeedButton::SetLinkedDown(bool down) {
    if (linkedDown_ == down) return;  // set aside once: a second "on" would lose the handlers
    linkedDown_ = down;
    if (down) {
        setAsideDown_ = std::exchange(OnMouseDown, nullptr);
        setAsideMove_ = std::exchange(OnMouseMove, nullptr);
        setAsideUp_ = std::exchange(OnMouseUp, nullptr);
    } else {
        OnMouseDown = std::move(setAsideDown_);
        OnMouseMove = std::move(setAsideMove_);
        OnMouseUp = std::move(setAsideUp_);
    }
}

void TVHLinkedMenuSpeedButton::ShowMenu(POINT screen) {
    if (linkedDown_) return;
    if (AlignMenuToMaster && master_) {
        const RECT master = master_->Bounds();
        screen.x -= master.right - master.left;
    }
    TVHCustomMenuSpeedButton::ShowMenu(screen);
}

void TVHLinkedMenuSpeedButton::MouseEnter(WPARAM from) {
    TVHCustomMenuSpeedButton::MouseEnter(from);
    if (MouseInControl() && master_) SendMessageW(master_->hwnd(), kMouseEnter, 1, 0);
}

void TVHLinkedMenuSpeedButton::MouseLeave(WPARAM from) {
    TVHCustomMenuSpeedButton::MouseLeave(from);
    if (master_) SendMessageW(master_->hwnd(), kMouseLeave, 1, 0);
}

void TVHLinkedMenuSpeedButton::EnabledChanged() {
    if (Enabled() && master_ && !master_->Enabled()) EnableWindow(hwnd(), FALSE);
}

bool TVHLinkedMenuSpeedButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const auto keys = ShiftKeys(static_cast<UINT>(wp));
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
    case kLinkedMouseDown:
        if (linkedDown_) MouseDown(TMouseButton::Left, keys, x, y);
        break;
    case kLinkedMouseMove:
        if (linkedDown_) MouseMove(keys, x, y);
        break;
    case kLinkedMouseUp:
        if (linkedDown_) MouseUp(TMouseButton::Left, keys, x, y);
        break;
    case kLinkedDown:
        SetLinkedDown(wp == 1);
        break;
    case kLinkMaster:
        SetMaster(reinterpret_cast<TVHLinkedSpeedButton*>(wp));
        break;
    default:
        return TVHCustomMenuSpeedButton::OnMessage(msg, wp, lp, result);
    }
    result = 0;
    return true;
}

// The master.

TVHLinkedSpeedButton::~TVHLinkedSpeedButton() {
    if (menuButton_) SendMessageW(menuButton_->hwnd(), kLinkMaster, 0, 0);
}

void TVHLinkedSpeedButton::SetMenuButton(TVHLinkedMenuSpeedButton* half) {
    if (half == menuButton_) return;
    TVHLinkedMenuSpeedButton* const old = std::exchange(menuButton_, nullptr);
    if (old) SendMessageW(old->hwnd(), kLinkMaster, 0, 0);
    menuButton_ = half;
    if (!half) return;
    SendMessageW(half->hwnd(), kLinkMaster, reinterpret_cast<WPARAM>(this), 0);
    if (old) {
        const RECT oldBounds = old->Bounds();
        const int right = half->Bounds().right;
        old->SetBounds(RECT{right, oldBounds.top, right + oldBounds.right - oldBounds.left, oldBounds.bottom});
    }
}

void TVHLinkedSpeedButton::SetFlat(bool flat) {
    Base::SetFlat(flat);
    if (menuButton_) menuButton_->SetFlat(flat);
}

void TVHLinkedSpeedButton::Click() {
    if (TriggerDefMenuItem && menuButton_) {
        if (const HMENU menu = menuButton_->ActiveMenu()) {
            if (const int item = FirstDefaultItem(menu); item >= 0) {
                SendMessageW(GetAncestor(hwnd(), GA_ROOT), WM_COMMAND, MAKEWPARAM(item, 0), 0);
                return;
            }
        }
    }
    Base::Click();
}

bool TVHLinkedSpeedButton::OverHalf(int x, int y) const {
    return menuButton_ && x >= ClientWidth() && x < ClientWidth() + menuButton_->ClientWidth() && y >= 0 &&
           y <= ClientHeight();
}

void TVHLinkedSpeedButton::MouseDown(TMouseButton button, UINT keys, int x, int y) {
    Base::MouseDown(button, keys, x, y);
    if (!menuButton_) return;
    SendMessageW(menuButton_->hwnd(), kLinkedDown, 1, 0);
    SendMessageW(menuButton_->hwnd(), kLinkedMouseDown, ShiftKeys(keys), PointParam(0, 0));
}

// The pair is one button to the mouse: over the half the master stays drawn down, and the half is pressed with
// it; off the pair both pop up.
void TVHLinkedSpeedButton::MouseMove(UINT keys, int x, int y) {
    Base::MouseMove(keys, x, y);
    if (!menuButton_) return;
    if (!Inside(x, y) && !OverHalf(x, y)) {
        SendMessageW(menuButton_->hwnd(), kLinkedMouseMove, ShiftKeys(keys), PointParam(-1, -1));
        return;
    }
    if (OverHalf(x, y) && !DrawnDown()) SetDrawnDown(true);
    if (DrawnDown() && !menuButton_->DrawnDown()) {
        SendMessageW(menuButton_->hwnd(), kLinkedDown, 1, 0);
        SendMessageW(menuButton_->hwnd(), kLinkedMouseDown, ShiftKeys(keys), PointParam(0, 0));
    }
}

void TVHLinkedSpeedButton::MouseUp(TMouseButton button, UINT keys, int x, int y) {
    if (!menuButton_) {
        Base::MouseUp(button, keys, x, y);
        return;
    }
    const bool pressed = Dragging();
    const bool overHalf = OverHalf(x, y);
    SendMessageW(menuButton_->hwnd(), kLinkedMouseUp, ShiftKeys(keys), PointParam(0, 0));
    if (menuButton_) SendMessageW(menuButton_->hwnd(), kLinkedDown, 0, 0);
    Base::MouseUp(button, keys, x, y);
    if (!pressed || !overHalf) return;
    if (!DrawnDown()) Repaint();
    Click();
}

void TVHLinkedSpeedButton::MouseEnter(WPARAM from) {
    Base::MouseEnter(from);
    if (from != 1 && MouseInControl() && menuButton_) SendMessageW(menuButton_->hwnd(), kMouseEnter, 0, 0);
}

void TVHLinkedSpeedButton::MouseLeave(WPARAM from) {
    Base::MouseLeave(from);
    if (from != 1 && menuButton_) SendMessageW(menuButton_->hwnd(), kMouseLeave, 0, 0);
}

void TVHLinkedSpeedButton::EnabledChanged() {
    if (menuButton_) menuButton_->SetEnabled(Enabled());
}

void TVHLinkedSpeedButton::BoundsChanged() {
    if (menuButton_) menuButton_->Place();
}

} // namespace ui
