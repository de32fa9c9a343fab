#pragma once
// A safety net while actions run that should show nothing: any dialog of the window's thread is counted and
// cancelled, so a test that fails does not wait for a person.
#include <windows.h>

#include <atomic>
#include <thread>

#include "tests/support/DialogDriver.h"

namespace testsupport {

class DialogWatch {
public:
    DialogWatch() : thread_(GetCurrentThreadId()), watcher_([this] { Watch(); }) {}
    ~DialogWatch() {
        stop_ = true;
        watcher_.join();
    }
    int Seen() const { return seen_; }

private:
    void Watch() {
        while (!stop_) {
            if (HWND dialog = FindDialogOf(thread_)) {
                ++seen_;
                PostMessageW(dialog, WM_COMMAND, IDNO, 0);
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                Sleep(200);
            }
            Sleep(10);
        }
    }
    DWORD thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> seen_{0};
    std::thread watcher_;
};

} // namespace testsupport
