#pragma once
// A real OLE drag in one test process, driven as a person drives it: the button goes down over the source
// (this thread's key state), and thread timers inside OLE's drag loop move the cursor and let the button go.
#include <windows.h>

#include <functional>
#include <vector>

namespace testsupport {

// Timed steps run by a thread timer: its messages are dispatched inside OLE's drag loop too. A late timer
// never runs two steps at once: OLE's loop looks at the cursor and the keys every 50 ms, and must see each.
class DragScript {
public:
    struct Step {
        DWORD at;  // ms after the start
        std::function<void()> action;
    };
    explicit DragScript(std::vector<Step> steps);
    ~DragScript();
    DragScript(const DragScript&) = delete;
    DragScript& operator=(const DragScript&) = delete;
    bool Done() const { return next_ == steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Advance();
    static constexpr DWORD kStepGap = 150;
    static inline DragScript* current_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    DWORD start_;
    DWORD last_ = 0;
    bool running_ = false;
    UINT_PTR timer_ = 0;
};

// The keys OLE's loop reads: this thread's key state, the left button and MK_CONTROL / MK_SHIFT.
void SetDragKeys(bool button, DWORD modifiers = 0);

// This thread's key state, put back at the end of the scope (and the cursor into the corner).
class SavedDragKeys {
public:
    SavedDragKeys() { GetKeyboardState(keys_); }
    ~SavedDragKeys();
    SavedDragKeys(const SavedDragKeys&) = delete;
    SavedDragKeys& operator=(const SavedDragKeys&) = delete;

private:
    BYTE keys_[256] = {};
};

POINT CentreOf(HWND window);

// Runs this thread's messages until `done` answers true or the time is up.
void PumpUntil(const std::function<bool()>& done, DWORD timeout = 5000);

} // namespace testsupport
