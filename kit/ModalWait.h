#pragma once
// The program waiting on a person in a modal loop: a dialog, a prompt, a message, the shell's question, the save
// dialog, the folder browser, a pop-up menu. A modal window disables only its owner; the program's other top-level
// windows (a modeless tool window, other owners) would still take clicks, and their work would change what the
// waiting action is about to act on. So while a wait lasts every other top-level window of this thread is disabled
// too, and what arrives anyway (timers, posted commands, a close) asks ModalWaiting() and waits.
#include <windows.h>

#include <vector>

namespace kit {

class ModalWait {
public:
    // `owner` is the window the loop belongs to: its top-level window is left as it is, for the loop to handle (a
    // modal dialog disables its owner and gives it back the activation at its end; a menu needs its owner). With
    // none, every shown top-level window of this thread is disabled.
    explicit ModalWait(HWND owner);
    // Enables exactly the windows this wait disabled; at the end of the outermost wait, posts what waited for it.
    ~ModalWait();
    ModalWait(const ModalWait&) = delete;
    ModalWait& operator=(const ModalWait&) = delete;

private:
    std::vector<HWND> disabled_;
};

// True while a wait lasts on this thread.
bool ModalWaiting();

// Posts `message` to `window` once no wait lasts: now when none does, else at the end of the outermost one. The
// message may then still come inside another wait (an action's next question): its handler asks again.
void PostAfterModalWaits(HWND window, UINT message);

} // namespace kit
