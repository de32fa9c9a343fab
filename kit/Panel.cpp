#include "kit/Panel.h"

namespace kit {

void Panel::CreatePanel(HWND parent, int id, const RECT& bounds) {
    Create({.className = L"KvrPanel",
            // Its own repaint leaves its controls alone.
            .style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
            // Tab and the access keys reach the controls of a panel inside a dialog-navigated window.
            .exStyle = WS_EX_CONTROLPARENT,
            .parent = parent,
            .childId = id,
            .bounds = bounds});
}

bool Panel::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_SIZE) return false;
    layout_.Resize(LOWORD(lp), HIWORD(lp));
    result = 0;
    return true;
}

} // namespace kit
