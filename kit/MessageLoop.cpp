#include "kit/MessageLoop.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "kit/Interaction.h"

namespace kit {
namespace {

struct DialogWindow {
    HWND window;
    std::function<HACCEL()> accelerators;
};
std::vector<DialogWindow> g_dialogWindows;
bool g_quitRequested = false;
int g_quitExitCode = 0;
DWORD g_lastPump = 0;      // on the real clock
DWORD g_lastPumpSeam = 0;  // on the seam's clock
bool g_pumpedOnce = false;

constexpr DWORD kPumpInterval = 10;

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            g_quitRequested = true;
            g_quitExitCode = static_cast<int>(msg.wParam);
            PostQuitMessage(g_quitExitCode);
            return;
        }
        DispatchOne(msg);
    }
}

// Tab, the access keys, Enter and Escape of a dialog window, its accelerators first; true when consumed.
bool DialogKeyboard(MSG& msg) {
    if (!msg.hwnd) return false;
    const auto found = std::find_if(g_dialogWindows.begin(), g_dialogWindows.end(), [&](const DialogWindow& d) {
        return msg.hwnd == d.window || IsChild(d.window, msg.hwnd);
    });
    if (found == g_dialogWindows.end()) return false;
    // Both read now: what runs for the message may add or remove dialog windows.
    const HWND window = found->window;
    const HACCEL accelerators = found->accelerators ? found->accelerators() : nullptr;
    if (accelerators && TranslateAcceleratorW(window, accelerators, &msg)) return true;
    return IsDialogMessageW(window, &msg) != FALSE;
}

} // namespace

void AddDialogWindow(HWND window, std::function<HACCEL()> accelerators) {
    RemoveDialogWindow(window);
    g_dialogWindows.push_back({window, std::move(accelerators)});
}

void RemoveDialogWindow(HWND window) {
    std::erase_if(g_dialogWindows, [window](const DialogWindow& d) { return d.window == window; });
}

void DispatchOne(MSG& msg) {
    if (DialogKeyboard(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void ProcessMessages() {
    // One PeekMessageW costs about 40 us under Wine; the walker calls this per entry, so only every 10 ms
    // does it do real work. Input still arrives within milliseconds. A wait through the seam counts as time
    // passed too: a walk paused under a test's clock then pumps at each of its waits instead of spinning
    // through waits that take no time.
    const bool due = GetTickCount() - g_lastPump >= kPumpInterval ||
                     UserInteraction().TickCount() - g_lastPumpSeam >= kPumpInterval;
    if (g_pumpedOnce && !due) return;
    ProcessMessagesNow();
}

void ProcessMessagesNow() {
    g_pumpedOnce = true;
    g_lastPump = GetTickCount();
    g_lastPumpSeam = UserInteraction().TickCount();
    // A quit already seen is re-posted each time; pumping again would only find it again.
    if (g_quitRequested) return;
    PumpPending();
}

bool QuitRequested() { return g_quitRequested; }
int QuitExitCode() { return g_quitExitCode; }

int RunMessageLoop() {
    MSG msg{};
    int exitCode = 0;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) { exitCode = static_cast<int>(msg.wParam); break; }
        if (got == -1) break;
        DispatchOne(msg);
    }
    // The quit has reached the outermost loop: a later loop in this process starts afresh.
    g_quitRequested = false;
    return exitCode;
}

} // namespace kit
