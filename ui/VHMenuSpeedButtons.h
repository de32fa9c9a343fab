#pragma once
// Tool buttons that may drop a pop-up menu: a button that never joins a group, a button that drops its menu
// from one of its corners, and a linked pair made of a master button and a narrow drop-down half glued to its
// right edge. They are drawn here, flat or raised, and take no keyboard focus, as tool buttons do.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "kit/Handles.h"
#include "kit/Window.h"

namespace ui {

// The messages a master sends its menu half. wParam: the key state (MK_SHIFT, MK_CONTROL); lParam: a point.
inline constexpr UINT kLinkedMouseDown = WM_USER + 1;  // handled only while the half is pressed through its master
inline constexpr UINT kLinkedMouseMove = WM_USER + 2;  // likewise, at (-1, -1)
inline constexpr UINT kLinkedMouseUp = WM_USER + 3;    // likewise
inline constexpr UINT kLinkedDown = WM_USER + 4;       // wParam 1: pressed through the master; 0: no longer
inline constexpr UINT kLinkMaster = WM_USER + 5;       // wParam: the new master (TVHLinkedSpeedButton*); 0 unlinks
// The mouse entered or left a button; wParam 1 when the menu half passed it to its master.
inline constexpr UINT kMouseEnter = WM_USER + 6;
inline constexpr UINT kMouseLeave = WM_USER + 7;

enum class TMouseButton { Left, Right, Middle };

class TVHUngroupedSpeedButton : public kit::Window {
public:
    using MouseEvent = std::function<void(TMouseButton button, UINT keys, int x, int y)>;
    using MouseMoveEvent = std::function<void(UINT keys, int x, int y)>;

    // Made hidden, at `bounds` in the parent's client coordinates.
    void Create(HWND parent, int id, const RECT& bounds, const std::wstring& caption = {});

    // Always 0: the button never joins a group, so it never stays down.
    int GroupIndex() const { return 0; }
    void SetGroupIndex(int /*index*/) {}
    bool Flat() const { return flat_; }
    virtual void SetFlat(bool flat);
    HBITMAP Glyph() const { return glyph_.get(); }
    virtual void SetGlyph(kit::UniqueBitmap glyph);
    bool Enabled() const { return IsWindowEnabled(hwnd()) != FALSE; }
    void SetEnabled(bool enabled) { EnableWindow(hwnd(), enabled); }
    bool Visible() const { return (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }
    void SetVisible(bool visible) { ShowWindow(hwnd(), visible ? SW_SHOWNA : SW_HIDE); }
    // Drawn pressed: held down by the mouse (or, for a menu half, through its master).
    bool DrawnDown() const { return drawnDown_; }
    bool MouseInControl() const { return mouseInControl_; }
    // In the parent's client coordinates.
    RECT Bounds() const;
    void SetBounds(const RECT& bounds);
    int ClientWidth() const;
    int ClientHeight() const;

    // Runs OnClick (the bound action); BM_CLICK runs it too.
    virtual void Click();

    std::function<void()> OnClick;
    MouseEvent OnMouseDown;
    MouseMoveEvent OnMouseMove;
    MouseEvent OnMouseUp;

protected:
    // The press, drag and release of a tool button: pressed by the left button, drawn down while the mouse is
    // over it, clicked when released over it. The handlers below extend these.
    virtual void MouseDown(TMouseButton button, UINT keys, int x, int y);
    virtual void MouseMove(UINT keys, int x, int y);
    virtual void MouseUp(TMouseButton button, UINT keys, int x, int y);
    // `from` is the wParam of kMouseEnter / kMouseLeave (0 for the button's own mouse).
    virtual void MouseEnter(WPARAM from);
    virtual void MouseLeave(WPARAM from);
    virtual void EnabledChanged() {}
    virtual void BoundsChanged() {}
    // A chance to change where the button goes, before it moves or is resized.
    virtual void AdjustBounds(WINDOWPOS& /*pos*/) {}

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

    // 0 <= x < width and 0 <= y <= height, as a tool button measures "over it".
    bool Inside(int x, int y) const;
    bool Dragging() const { return dragging_; }
    void SetDrawnDown(bool down);
    void Repaint() { InvalidateRect(hwnd(), nullptr, TRUE); }

private:
    void Paint(HDC dc) const;
    // After a release the mouse may rest over another button: the hover state follows the cursor.
    void UpdateTracking();

    kit::UniqueBitmap glyph_;
    bool flat_ = false;
    bool drawnDown_ = false;
    bool dragging_ = false;
    bool mouseInControl_ = false;
    bool trackingLeave_ = false;
};

class TVHCustomMenuSpeedButton : public TVHUngroupedSpeedButton {
public:
    // False: the button stays drawn down while its menu is open; true: it pops up before the menu opens.
    bool ReleaseButton = false;
    // 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right: the corner the menu drops from.
    std::uint8_t MenuPlacing = 1;

    // None once the menu was destroyed.
    HMENU ActiveMenu() const { return IsMenu(menu_) ? menu_ : nullptr; }
    void SetActiveMenu(HMENU menu) { menu_ = menu; }
    // Set while the button handles a mouse release (its click, then its menu).
    bool InMouseUp() const { return inMouseUp_; }

    // A click arriving while the release is being handled (from inside the menu, say) does nothing.
    void Click() override;

protected:
    // Drops ActiveMenu with its top-left corner at `screen`; its commands go to the top-level window.
    virtual void ShowMenu(POINT screen);
    // The MenuPlacing corner, in client coordinates.
    virtual POINT MenuCorner() const;

    void MouseUp(TMouseButton button, UINT keys, int x, int y) override;

private:
    HMENU menu_ = nullptr;
    bool inMouseUp_ = false;
};

class TVHLinkedSpeedButton;

// The drop-down half of a linked pair: glued to its master's right edge, pressed with it, and dropping its menu
// when clicked alone.
class TVHLinkedMenuSpeedButton : public TVHCustomMenuSpeedButton {
public:
    static constexpr int kWidth = 14;

    ~TVHLinkedMenuSpeedButton() override;
    // Made hidden, 14 wide, with the default drop-down arrow.
    void Create(HWND parent, int id);

    TVHLinkedSpeedButton* MasterButton() const { return master_; }
    // True: the glyph is the drop-down arrow; false: no glyph. Setting a glyph clears it.
    bool UseDefaultGlyph() const { return useDefaultGlyph_; }
    void SetUseDefaultGlyph(bool use);
    // The menu drops from the master's left edge instead of the half's own.
    bool AlignMenuToMaster = false;
    // Pressed through the master: the half's own mouse events are set aside meanwhile.
    bool LinkedDown() const { return linkedDown_; }

    // Takes effect only without a master or when it equals the master's.
    void SetFlat(bool flat) override;
    void SetGlyph(kit::UniqueBitmap glyph) override;

protected:
    virtual void LoadDefaultGlyph();
    virtual void GlyphChanged();
    // Moves the half to the master's parent when they differ, glues it to the master, takes its look and state.
    virtual void SetMaster(TVHLinkedSpeedButton* master);

    void ShowMenu(POINT screen) override;
    void MouseEnter(WPARAM from) override;
    void MouseLeave(WPARAM from) override;
    void EnabledChanged() override;
    void AdjustBounds(WINDOWPOS& pos) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    friend class TVHLinkedSpeedButton;
    void SetLinkedDown(bool down);
    // Where the bounds rule puts the half now.
    void Place();

    TVHLinkedSpeedButton* master_ = nullptr;
    bool useDefaultGlyph_ = true;
    bool linkedDown_ = false;
    MouseEvent setAsideDown_;
    MouseMoveEvent setAsideMove_;
    MouseEvent setAsideUp_;
};

// The master of a linked pair: a button whose menu half follows it (place, look, enabled state) and is pressed
// with it.
class TVHLinkedSpeedButton : public TVHUngroupedSpeedButton {
public:
    ~TVHLinkedSpeedButton() override;

    TVHLinkedMenuSpeedButton* MenuButton() const { return menuButton_; }
    // Unlinks the old half (it then sits right of the new one) and links the new one.
    void SetMenuButton(TVHLinkedMenuSpeedButton* half);
    // A click runs the first default item of the half's menu instead of the button's own click.
    bool TriggerDefMenuItem = false;

    void SetFlat(bool flat) override;
    void Click() override;

protected:
    void MouseDown(TMouseButton button, UINT keys, int x, int y) override;
    void MouseMove(UINT keys, int x, int y) override;
    void MouseUp(TMouseButton button, UINT keys, int x, int y) override;
    void MouseEnter(WPARAM from) override;
    void MouseLeave(WPARAM from) override;
    void EnabledChanged() override;
    void BoundsChanged() override;

private:
    friend class TVHLinkedMenuSpeedButton;
    bool OverHalf(int x, int y) const;

    TVHLinkedMenuSpeedButton* menuButton_ = nullptr;
};

} // namespace ui
