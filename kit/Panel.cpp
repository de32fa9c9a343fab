#include "kit/Panel.h"

namespace kit {

void Panel::CreatePanel(HWND parent, int id, const RECT& bounds) {
    Create({.className = L"KvrPanel",
            .style = WS_CHILD | WS_CLIPSIBLINGS,
            // Tab and the access keys reach the controls of a panel inside a dialog-navigated window.
            .exStyle = WS_EX_CONTROLPARENT,
            .parent = parent,
            .childId = id,
            .bounds = bounds});
}

bool Panel::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_SIZE:
        layout_.Resize(LOWORD(lp), HIWORD(lp));
        result = 0;
        return true;
    case WM_COMMAND:
        OnControlCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        if (target_) result = SendMessageW(target_, msg, wp, lp);
        return target_ != nullptr;
    case WM_NOTIFY:
        if (!target_) return false;
        result = SendMessageW(target_, msg, wp, lp);
        return true;
    }
    return false;
}

} // namespace kit
