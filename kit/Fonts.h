#pragma once
#include "kit/Handles.h"

#include <string_view>

namespace kit {

// A new font of the system's message font (the font of dialogs and controls); empty when it cannot be read.
UniqueFont CreateMessageFont();

// The font a window draws its text with (WM_GETFONT), the stock GUI font when it has none of its own.
HFONT WindowFont(HWND window);
// The width in pixels of `text` in the window's font.
int TextWidth(HWND window, std::wstring_view text);
// A width in pixels chosen for the design font, Tahoma 8 pt at 96 DPI, in the window's font: converted as dialog
// units are, by the average character width, which follows the font's face, its size and the display's DPI.
int ScaleToFont(HWND window, int designPixels);

} // namespace kit
