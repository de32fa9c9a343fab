#pragma once
// Owners that pair a "begin" with its "end" on every path out of a scope: a scope-exit action, a raised
// counter, a window's redraw switched off.
#include <windows.h>

#include <utility>

namespace kit {

// Runs `action` when the scope ends, also when it ends by an exception. The action must not throw.
template <class Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ~ScopeExit() { action_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action action_;
};

// Raises a counter for the life of the scope: "changing itself" flags that nest, so a change made while another
// runs does not end it early.
class ScopedIncrement {
public:
    explicit ScopedIncrement(int& counter) : counter_(counter) { ++counter_; }
    ~ScopedIncrement() { --counter_; }
    ScopedIncrement(const ScopedIncrement&) = delete;
    ScopedIncrement& operator=(const ScopedIncrement&) = delete;

private:
    int& counter_;
};

// Switches a window's redraw off (WM_SETREDRAW) for the life of the scope; at the end redraw is back on and the
// whole window is invalidated, so it paints once what changed meanwhile.
class RedrawOff {
public:
    explicit RedrawOff(HWND window) : window_(window) { SendMessageW(window_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawOff() {
        SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window_, nullptr, TRUE);
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    HWND window_;
};

} // namespace kit
