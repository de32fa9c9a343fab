#include "tests/support/Person.h"

namespace testsupport {

bool Reachable(HWND control) {
    if (!IsWindowVisible(control)) return false;
    // While a menu is open it takes every click: one outside it closes it.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &thread) && (thread.flags & GUI_INMENUMODE))
        return false;
    for (HWND window = control; window; window = GetAncestor(window, GA_PARENT)) {
        if (window == GetDesktopWindow()) break;
        if (!IsWindowEnabled(window)) return false;
    }
    return true;
}

bool ClickAsPerson(HWND button) {
    if (!Reachable(button)) return false;
    SendMessageW(button, BM_CLICK, 0, 0);
    return true;
}

PersonSteps::PersonSteps(std::vector<std::function<bool()>> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
}

PersonSteps::~PersonSteps() {
    if (timer_) KillTimer(nullptr, timer_);
    current_ = nullptr;
}

void CALLBACK PersonSteps::Tick(HWND, UINT, UINT_PTR, DWORD) {
    PersonSteps* self = current_;
    if (!self || self->running_ || self->Done()) return;
    self->running_ = true;
    if (self->steps_[self->next_]()) ++self->next_;
    self->running_ = false;
}

} // namespace testsupport
