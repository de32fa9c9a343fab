#pragma once
#include "kit/Controls.h"

namespace ui {

// Checks or unchecks a box as a click would: BM_SETCHECK raises no BN_CLICKED, so code that sets a box whose
// click handler keeps a rule (enabling, "one stays on") runs that handler itself, when the state changes.
inline void SetCheckedAndClick(kit::CheckBox& box, bool checked) {
    if (box.Checked() == checked) return;
    box.SetChecked(checked);
    if (box.OnClick) box.OnClick();
}

} // namespace ui
