#pragma once
// The measures the criteria pages share, in pixels at 96 dpi. The pages are laid out at this design size and
// stretch from there by their anchors.
#include <windows.h>

namespace ui::layout {

inline constexpr int kPageWidth = 664;
inline constexpr int kPageHeight = 150;
inline constexpr int kMargin = 8;
inline constexpr int kLabelHeight = 14;
inline constexpr int kFieldHeight = 21;   // edit fields, closed combo boxes, pickers
inline constexpr int kBoxHeight = 17;     // check boxes and radio buttons
inline constexpr int kButtonHeight = 24;
inline constexpr int kLineStep = 22;      // from one check box to the next below it
inline constexpr int kSideColumn = 128;   // the mode combo or the button on the right, with its gap

constexpr RECT At(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

} // namespace ui::layout
