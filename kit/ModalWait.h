#pragma once
// The program waiting on a person in a modal loop: a dialog, a prompt, a message, the shell's question, the save
// dialog, the folder browser, a pop-up menu. A modal window disables only its owner; the program's other top-level
// windows (a modeless tool window, other owners) would still take clicks, and their work would change what the
// waiting action is about to act on. So while a wait lasts every other top-level window of this thread is disabled
// too, and what arrives anyway (timers, posted commands, a close) asks ModalWaiting() and waits.
#include <windows.h>

#include <optional>
#include <vector>

namespace kit {

class ModalWait {
public:
    // `owner` is the window the loop belongs to: its top-level window is left as it is, for the loop to handle (a
    // modal dialog disables its owner and gives it back the activation at its end; a menu needs its owner). With
    // none, every shown top-level window of this thread is disabled. The program's stay-on-top windows stand
    // below the wait's window meanwhile: one that stayed on top would cover the prompt and take the clicks meant
    // for it.
    explicit ModalWait(HWND owner);
    // Enables exactly the windows this wait disabled, puts back on top those it lowered and gives the keyboard
    // focus back to the control that had it (a modal window's owner is activated at its end with the focus on its
    // frame); at the end of the outermost wait, posts what waited for it.
    ~ModalWait();
    ModalWait(const ModalWait&) = delete;
    ModalWait& operator=(const ModalWait&) = delete;

private:
    std::vector<HWND> disabled_;
    std::vector<HWND> lowered_;
    HWND focus_;
};

// A menu loop that a window's default procedure runs (its menu bar, its caption's window menu) is a wait like any
// other. Inside another wait (a pop-up menu opened through the interaction seam, a modal dialog's window menu)
// none is held.
class MenuLoopWait {
public:
    // Given each message of the window: WM_ENTERMENULOOP begins the wait, WM_EXITMENULOOP or the window's end ends
    // it.
    void Follow(HWND window, UINT msg);

private:
    std::optional<ModalWait> wait_;
};

// True while a wait lasts on this thread.
bool ModalWaiting();

// Posts `message` to `window` once no wait lasts: now when none does, else at the end of the outermost one. The
// message may then still come inside another wait (an action's next question): its handler asks again.
void PostAfterModalWaits(HWND window, UINT message);

} // namespace kit
