#include "tests/support/RealDrag.h"

namespace testsupport {

DragScript::DragScript(std::vector<Step> steps) : steps_(std::move(steps)), start_(GetTickCount()) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 20, &Tick);
}

DragScript::~DragScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
}

void CALLBACK DragScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_) current_->Advance();
}

void DragScript::Advance() {
    const DWORD now = GetTickCount();
    if (running_ || next_ == steps_.size() || now - start_ < steps_[next_].at || (next_ > 0 && now - last_ < kStepGap))
        return;
    last_ = now;
    running_ = true;  // a step that pumps messages does not run the next one inside it
    steps_[next_++].action();
    running_ = false;
}

void SetDragKeys(bool button, DWORD modifiers) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_LBUTTON] = button ? 0x80 : 0;
    keys[VK_CONTROL] = (modifiers & MK_CONTROL) ? 0x80 : 0;
    keys[VK_SHIFT] = (modifiers & MK_SHIFT) ? 0x80 : 0;
    SetKeyboardState(keys);
}

SavedDragKeys::~SavedDragKeys() {
    SetKeyboardState(keys_);
    SetCursorPos(0, 0);
}

POINT CentreOf(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
}

void PumpUntil(const std::function<bool()>& done, DWORD timeout) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeout) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

} // namespace testsupport
