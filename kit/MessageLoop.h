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

// A hook that sees every message before it is dispatched (dialog navigation, accelerators);
// returns true when it consumed the message.
using MessageFilter = std::function<bool(MSG&)>;
void SetMessageFilter(MessageFilter filter);

// Dispatches one message through the filter; shared by the main loop and the nested loops.
void DispatchOne(MSG& msg);

// The application's main loop: runs until WM_QUIT, returns its exit code.
int RunMessageLoop();

} // namespace kit
