#include "tests/support/DialogDriver.h"

#include <thread>

#include "kit/Controls.h"

namespace testsupport {
namespace {

struct DialogSearch {
    HWND except;
    HWND found;
};

BOOL CALLBACK KeepDialog(HWND hwnd, LPARAM lp) {
    auto& search = *reinterpret_cast<DialogSearch*>(lp);
    if (hwnd == search.except || ClassOf(hwnd) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
    search.found = hwnd;
    return FALSE;
}

} // namespace

HWND FindDialogOf(DWORD thread, HWND except) {
    DialogSearch search{except, nullptr};
    EnumThreadWindows(thread, KeepDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TextOf(HWND hwnd) { return kit::WindowText(hwnd); }

std::wstring ClassOf(HWND hwnd) {
    wchar_t buffer[64] = L"";
    GetClassNameW(hwnd, buffer, 64);
    return buffer;
}

HWND WaitForDialogOf(DWORD thread, HWND except) {
    // A safety net so a dialog that never opens fails the test instead of hanging it.
    for (int i = 0; i < 1000; ++i) {
        if (HWND dialog = FindDialogOf(thread, except)) return dialog;
        Sleep(10);
    }
    return nullptr;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void PostKeyToFocus(HWND dialog, WPARAM key) {
    const HWND focus = FocusOf(dialog);
    PostMessageW(focus ? focus : dialog, WM_KEYDOWN, key, 0);
}

void PostAccessKeyToFocus(HWND dialog, wchar_t letter) {
    const HWND focus = FocusOf(dialog);
    constexpr LPARAM kAltDown = 1 << 29;
    PostMessageW(focus ? focus : dialog, WM_SYSCHAR, letter, kAltDown);
}

bool WaitUntil(const std::function<bool()>& condition) {
    for (int i = 0; i < 500; ++i) {
        if (condition()) return true;
        Sleep(10);
    }
    return condition();
}

void ShowWithPerson(const std::function<void()>& show, const std::function<void(HWND dialog)>& person,
                    HWND except) {
    const DWORD thread = GetCurrentThreadId();
    std::thread other([&] { person(WaitForDialogOf(thread, except)); });
    show();
    other.join();
}

bool StandsAbove(HWND upper, HWND lower) {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == upper) return true;
        if (window == lower) return false;
    }
    return false;
}

} // namespace testsupport
