#pragma once
#include <windows.h>
#include <functional>

namespace kit {

// Processes all pending messages of this thread, unless the loop ran less than about 10 ms ago.
// Long work (the walk, the text search, exports) calls this at every step to stay responsive.
void ProcessMessages();
// Processes all pending messages now, whatever the time since the last run.
void ProcessMessagesNow();

// True once a WM_QUIT was seen by a nested loop; the message is posted again so the outer loop ends too.
bool QuitRequested();
// The exit code carried by that WM_QUIT.
int QuitExitCode();

// A window whose keyboard goes through the dialog manager (IsDialogMessageW) in the program's loops: Tab, the
// access keys, the arrow keys within a group, Enter and Escape, for messages to it and to its children. Modeless
// dialogs add themselves, and so does the main window, with its accelerators (`accelerators` answers the table
// in force, or null), which come first. A window is removed before it goes.
void AddDialogWindow(HWND window, std::function<HACCEL()> accelerators = nullptr);
void RemoveDialogWindow(HWND window);

// Dispatches one message, through the dialog windows' keyboard first; shared by the main loop and the nested loops.
void DispatchOne(MSG& msg);

// The application's main loop: runs until WM_QUIT, returns its exit code.
int RunMessageLoop();

} // namespace kit
