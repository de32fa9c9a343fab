#pragma once
// Controls kept disabled for a while (the criteria while a search runs), whatever their own rules say meanwhile,
// and given back the state those rules gave them last. A rule may run while they are held (a page shown runs its
// rules again, the run itself may change a criterion), so the state from before is not simply put back: what
// SetControlEnabled sets for a held control is kept for the end of the hold instead.
#include <windows.h>

#include <vector>

namespace kit {

class DisabledControls {
public:
    // A control another hold keeps already stays that one's.
    explicit DisabledControls(const std::vector<HWND>& controls);
    ~DisabledControls();
    DisabledControls(const DisabledControls&) = delete;
    DisabledControls& operator=(const DisabledControls&) = delete;

private:
    std::vector<HWND> controls_;
};

// EnableWindow, unless a DisabledControls holds the control: then the state it gets when the hold ends.
void SetControlEnabled(HWND control, bool enabled);

} // namespace kit
