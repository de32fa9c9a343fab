#pragma once
// A person's keys and clicks as the system delivers them: SendInput puts them into the input queue of the window
// that has the focus (or lies under the cursor), and the program's own loop (kit::DispatchOne, so the dialog
// keyboard and the accelerators first, then TranslateMessage) turns them into WM_KEYDOWN, WM_CHAR and WM_KEYUP.
// Nothing here sets a text or calls a handler: what a control makes of the keys is what a person gets.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace testsupport {

// Brings `window`'s top-level window to the front, so the keys go to its focused control.
void BringToFront(HWND window);
// Gives `control` the keyboard focus as a click or a Tab would, its window brought to the front first.
void FocusAsPerson(HWND control);
// Types `text` key by key into the focused control (Shift held where a character needs it), then lets the loop
// run until every key has been handled.
void TypeKeys(const std::wstring& text);
// Presses and releases a chord, modifiers first: {VK_CONTROL, 'A'}, {VK_DOWN}, {VK_END}.
void PressKeys(std::initializer_list<WORD> chord);
// A left click at a point of `window`'s client area, through the cursor, then the loop run until it is handled.
void ClickAt(HWND window, POINT client);
// The same with the right button, as a person opens a context menu (under Wine, Shift+F10 typed opens the
// window's menu bar too, once the keys are up).
void RightClickAt(HWND window, POINT client);
// The point of an edit's client area just after the last character of its text: a click there puts the caret at
// the end of the text.
POINT EndOfText(HWND edit);
// Runs this thread's messages until the input queue is empty and nothing more is pending.
void RunPendingInput();

// The same keys and click, only put into the input queue: whatever loop runs next handles them. A modal dialog's
// own loop (IsDialogMessageW first) then gets them as it gets a person's, between two of a person's steps.
void QueueKeys(const std::wstring& text);
void QueueChord(std::initializer_list<WORD> chord);
void QueueClick(HWND window, POINT client);

} // namespace testsupport
