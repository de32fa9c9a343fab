#include "kit/MessageLoop.h"

#include <utility>

namespace kit {
namespace {

MessageFilter g_filter;
bool g_quitRequested = false;
int g_quitExitCode = 0;
DWORD g_lastPump = 0;
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

} // namespace

void DispatchOne(MSG& msg) {
    if (g_filter && g_filter(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void ProcessMessages() {
    // One PeekMessageW costs about 40 us under Wine; the walker calls this per entry, so only every 10 ms
    // does it do real work. Input still arrives within milliseconds.
    const DWORD now = GetTickCount();
    if (g_pumpedOnce && now - g_lastPump < kPumpInterval) return;
    ProcessMessagesNow();
}

void ProcessMessagesNow() {
    g_pumpedOnce = true;
    g_lastPump = GetTickCount();
    // A quit already seen is re-posted each time; pumping again would only find it again.
    if (g_quitRequested) return;
    PumpPending();
}

bool QuitRequested() { return g_quitRequested; }
int QuitExitCode() { return g_quitExitCode; }

void SetMessageFilter(MessageFilter filter) { g_filter = std::move(filter); }

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
