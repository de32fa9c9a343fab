#include "kit/AnchorLayout.h"

namespace kit {
namespace {

// A combo box's window height is its dropped-down height, which the closed window rectangle does not show.
int WindowHeight(HWND control, const RECT& closed) {
    RECT dropped{};
    if (SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) &&
        dropped.bottom > closed.bottom)
        return dropped.bottom - dropped.top;  // both in screen coordinates
    return closed.bottom - closed.top;
}

// One axis: both edges anchored stretches, the far edge alone moves, otherwise the control stays.
void Place(LONG& low, LONG& high, bool lowAnchored, bool highAnchored, int growth) {
    if (highAnchored) {
        high += growth;
        if (!lowAnchored) low += growth;
    }
}

} // namespace

void AnchorLayout::Add(HWND control, unsigned anchors) {
    const HWND parent = GetParent(control);
    RECT client{}, bounds{};
    GetClientRect(parent, &client);
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    bounds.bottom = bounds.top + WindowHeight(control, bounds);
    items_.push_back({control, anchors, bounds, {client.right, client.bottom}});
}

void AnchorLayout::Resize(int width, int height) const {
    for (const Item& item : items_) {
        RECT r = item.bounds;
        Place(r.left, r.right, item.anchors & AnchorLeft, item.anchors & AnchorRight, width - item.parentSize.cx);
        Place(r.top, r.bottom, item.anchors & AnchorTop, item.anchors & AnchorBottom, height - item.parentSize.cy);
        SetWindowPos(item.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace kit
