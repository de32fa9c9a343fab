#include "kit/DisabledControls.h"

#include <map>

namespace kit {
namespace {

// The held controls with the state each gets back. The program's windows live on one thread: no lock.
std::map<HWND, bool> g_held;

} // namespace

DisabledControls::DisabledControls(const std::vector<HWND>& controls) {
    for (HWND control : controls) {
        if (!g_held.try_emplace(control, IsWindowEnabled(control) != FALSE).second) continue;
        controls_.push_back(control);
        EnableWindow(control, FALSE);
    }
}

DisabledControls::~DisabledControls() {
    // In reverse: a control that another follows (a split button's half follows the button made before it) is
    // given back last, and the follower takes its state.
    for (auto control = controls_.rbegin(); control != controls_.rend(); ++control) {
        const auto held = g_held.find(*control);
        const bool enabled = held->second;
        g_held.erase(held);
        if (IsWindow(*control)) EnableWindow(*control, enabled);
    }
}

void SetControlEnabled(HWND control, bool enabled) {
    if (const auto held = g_held.find(control); held != g_held.end()) {
        held->second = enabled;
        return;
    }
    EnableWindow(control, enabled);
}

} // namespace kit
