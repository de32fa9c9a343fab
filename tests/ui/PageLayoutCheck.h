#pragma once
// A check a person does by eye: every control of a page lies inside it, and the caption of every button and
// label fits its control.
#include <windows.h>

#include <string>
#include <vector>

namespace uitest {

// One line per control that leaves the page or clips its caption, naming it by its caption.
std::vector<std::wstring> LayoutFaults(HWND page);

} // namespace uitest
