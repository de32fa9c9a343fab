#include "tests/ui/Screenshots.h"

#include <cstdio>
#include <filesystem>

#include "kit/MessageLoop.h"

namespace uitest {

std::wstring ScreenshotFolder() {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"KVR_SHOT_DIR", value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : L"";
}

void HandOver(const std::wstring& folder, int shot, const RECT& area) {
    kit::ProcessMessagesNow();
    UpdateWindow(GetDesktopWindow());
    const std::filesystem::path base(folder);
    const auto name = L"shot-" + std::to_wstring(shot);
    // Written under another name first: the script reads the rectangle as soon as the .ready file exists.
    const auto pending = base / (name + L".tmp");
    if (FILE* ready = _wfopen(pending.c_str(), L"w")) {
        std::fprintf(ready, "%ldx%ld+%ld+%ld\n", area.right - area.left, area.bottom - area.top, area.left, area.top);
        std::fclose(ready);
    }
    std::filesystem::rename(pending, base / (name + L".ready"));
    for (int waited = 0; waited < 600 && !std::filesystem::exists(base / (name + L".done")); ++waited) {
        kit::ProcessMessagesNow();
        Sleep(100);
    }
}

} // namespace uitest
