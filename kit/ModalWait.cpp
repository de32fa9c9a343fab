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

bool IsTopmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

struct Collect {
    HWND keep;
    std::vector<HWND> toDisable, toLower;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lp) {
    auto& collect = *reinterpret_cast<Collect*>(lp);
    // Hidden windows take no input and cover nothing; an open menu of an outer wait is that wait's.
    if (window == collect.keep || !IsWindowVisible(window) || IsMenuWindow(window)) return TRUE;
    if (IsWindowEnabled(window)) collect.toDisable.push_back(window);
    if (IsTopmost(window)) collect.toLower.push_back(window);
    return TRUE;
}

// Whether the focus can go back to `control`: it is still there, shown and enabled, in the active window.
bool CanRefocus(HWND control) {
    if (!IsWindow(control) || !IsWindowVisible(control) || GetAncestor(control, GA_ROOT) != GetActiveWindow())
        return false;
    for (HWND window = control; window; window = GetAncestor(window, GA_PARENT)) {
        if (!IsWindowEnabled(window)) return false;
        if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) break;
    }
    return true;
}

void PlaceInBand(HWND window, HWND band) {
    SetWindowPos(window, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// Takes a stay-on-top window out of the topmost band, to stand just above the program's other windows.
void LowerFromTop(HWND window) {
    PlaceInBand(window, HWND_NOTOPMOST);
    const HWND owner = GetWindow(window, GW_OWNER);
    if (!IsTopmost(window) || !owner) return;
    // Wine keeps an owned window above its owner by inserting it after the window just above the owner, which is
    // the window itself when nothing else stands between: it stays topmost. Without its owner for the move it
    // leaves the band.
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, 0);
    PlaceInBand(window, HWND_NOTOPMOST);
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

} // namespace

ModalWait::ModalWait(HWND owner) : focus_(GetFocus()) {
    ++g_waits;
    Collect collect{owner ? GetAncestor(owner, GA_ROOT) : nullptr, {}, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&collect));
    for (HWND window : collect.toDisable) EnableWindow(window, FALSE);
    // Lowered, they stand just above the program's other windows; the wait's window, shown later, comes above them.
    // Each goes to the top of its band: the lowest first keeps their order.
    for (auto window = collect.toLower.rbegin(); window != collect.toLower.rend(); ++window) LowerFromTop(*window);
    disabled_ = std::move(collect.toDisable);
    lowered_ = std::move(collect.toLower);
}

ModalWait::~ModalWait() {
    for (auto window = disabled_.rbegin(); window != disabled_.rend(); ++window)
        if (IsWindow(*window)) EnableWindow(*window, TRUE);
    for (auto window = lowered_.rbegin(); window != lowered_.rend(); ++window)
        if (IsWindow(*window)) PlaceInBand(*window, HWND_TOPMOST);
    if (focus_ && GetFocus() != focus_ && CanRefocus(focus_)) SetFocus(focus_);
    if (--g_waits > 0) return;
    for (const Posted& posted : std::exchange(g_afterWaits, {})) PostMessageW(posted.window, posted.message, 0, 0);
}

void MenuLoopWait::Follow(HWND window, UINT msg) {
    if (msg == WM_ENTERMENULOOP && !ModalWaiting()) wait_.emplace(window);
    // A window that goes inside its menu loop hears no end of it.
    else if (msg == WM_EXITMENULOOP || msg == WM_NCDESTROY) wait_.reset();
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
