#include "kit/ModalWait.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace kit {
namespace {

struct Posted {
    HWND window;
    UINT message;
    friend bool operator==(const Posted&, const Posted&) = default;
};

// The program's windows live on one thread: no lock.
int g_waits = 0;
std::vector<Posted> g_afterWaits;

bool IsMenuWindow(HWND window) {
    wchar_t name[8] = L"";
    GetClassNameW(window, name, 8);
    return std::wstring_view(name) == L"#32768";
}

struct Collect {
    HWND keep;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lp) {
    auto& collect = *reinterpret_cast<Collect*>(lp);
    // Hidden windows take no input; an open menu of an outer wait is that wait's.
    if (window != collect.keep && IsWindowVisible(window) && IsWindowEnabled(window) && !IsMenuWindow(window))
        collect.found.push_back(window);
    return TRUE;
}

} // namespace

ModalWait::ModalWait(HWND owner) {
    ++g_waits;
    Collect collect{owner ? GetAncestor(owner, GA_ROOT) : nullptr, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&collect));
    for (HWND window : collect.found) EnableWindow(window, FALSE);
    disabled_ = std::move(collect.found);
}

ModalWait::~ModalWait() {
    for (auto window = disabled_.rbegin(); window != disabled_.rend(); ++window)
        if (IsWindow(*window)) EnableWindow(*window, TRUE);
    if (--g_waits > 0) return;
    for (const Posted& posted : std::exchange(g_afterWaits, {})) PostMessageW(posted.window, posted.message, 0, 0);
}

bool ModalWaiting() { return g_waits > 0; }

void PostAfterModalWaits(HWND window, UINT message) {
    if (g_waits == 0) {
        PostMessageW(window, message, 0, 0);
        return;
    }
    const Posted posted{window, message};
    if (std::find(g_afterWaits.begin(), g_afterWaits.end(), posted) == g_afterWaits.end())
        g_afterWaits.push_back(posted);
}

} // namespace kit
