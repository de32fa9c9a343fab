#pragma once
// Keys held down in this thread's keyboard state while key messages are sent or dispatched: what the accelerators,
// the dialog manager and the controls read for Ctrl, Shift and Alt.
#include <windows.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace testsupport {

class HeldKeys {
public:
    explicit HeldKeys(const std::vector<BYTE>& keys) {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), state);
        for (BYTE key : keys) state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE saved_[256];
};

} // namespace testsupport
