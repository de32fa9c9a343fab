#pragma once
// What a person can reach, and what a person does while the program waits in one of its own loops.
#include <windows.h>

#include <functional>
#include <vector>

namespace testsupport {

// A control a person can click or type into: shown, in a window that takes input (it and every window around it
// enabled), and no menu open. A disabled window gets no click and no key from a person; an open menu takes them all.
bool Reachable(HWND control);
// A click as a person makes it: none when the button cannot be reached. Whether it could.
bool ClickAsPerson(HWND button);

// A person's steps, run in order by a thread timer of this thread, so inside whatever loop runs meanwhile (a
// dialog's, a menu's, the shell's). A step answers false while it cannot act yet (its window is not open), true once
// it has acted; the next one then waits for its turn. One set at a time.
class PersonSteps {
public:
    explicit PersonSteps(std::vector<std::function<bool()>> steps);
    ~PersonSteps();
    PersonSteps(const PersonSteps&) = delete;
    PersonSteps& operator=(const PersonSteps&) = delete;
    bool Done() const { return next_ == steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static inline PersonSteps* current_ = nullptr;
    std::vector<std::function<bool()>> steps_;
    size_t next_ = 0;
    bool running_ = false;  // a step that pumps is not entered again
    UINT_PTR timer_ = 0;
};

} // namespace testsupport
