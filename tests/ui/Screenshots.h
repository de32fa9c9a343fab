#pragma once
// The demo's side of the screenshot scripts (tools/screenshot-pages, tools/screenshot-dialogs): it tells the
// script when the display shows what is wanted, and waits until the picture has been taken.
#include <windows.h>

#include <string>

namespace uitest {

// The folder of the handshake files the script named in KVR_SHOT_DIR; empty when the script did not run this.
std::wstring ScreenshotFolder();

// Writes shot-N.ready holding the part of the screen to keep (as `import -crop` takes it, WxH+X+Y), then waits,
// pumping this thread's messages, until the script has written shot-N.done.
void HandOver(const std::wstring& folder, int shot, const RECT& area);

} // namespace uitest
