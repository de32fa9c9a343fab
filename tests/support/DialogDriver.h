#pragma once
// Drives a modal dialog as a person would: a second thread waits for the dialog the test's thread shows, reads it
// and answers it with keys, clicks and commands.
#include <windows.h>

#include <functional>
#include <string>

namespace testsupport {

// A window's text and its class name.
std::wstring TextOf(HWND hwnd);
std::wstring ClassOf(HWND hwnd);

// The visible dialog ("#32770") of a thread other than `except` (a modeless one that stays open), or null.
HWND FindDialogOf(DWORD thread, HWND except = nullptr);
// The same, waited for up to 10 s; null when none opened.
HWND WaitForDialogOf(DWORD thread, HWND except = nullptr);
// The window with the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);
// A key press as the keyboard gives it: to the focused control, where the dialog's loop turns it into a command.
void PostKeyToFocus(HWND dialog, WPARAM key);
// Alt and a letter: the access key of a control.
void PostAccessKeyToFocus(HWND dialog, wchar_t letter);
// Polls until `condition` holds, up to 5 s; whether it did.
bool WaitUntil(const std::function<bool()>& condition);

// Runs `show` on this thread; once it has opened a dialog (other than `except`, a modeless one already open),
// `person` runs on another thread with that dialog (null when none opened in time).
void ShowWithPerson(const std::function<void()>& show, const std::function<void(HWND dialog)>& person,
                    HWND except = nullptr);

// Whether top-level window `upper` stands above `lower` in the order the windows are stacked.
bool StandsAbove(HWND upper, HWND lower);

} // namespace testsupport
