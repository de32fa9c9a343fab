#include "kit/Fonts.h"

#include "kit/DeviceContexts.h"
#include "kit/Dialog.h"

namespace kit {
namespace {

// The average character of Tahoma 8 pt at 96 DPI, as dialog units measure it.
constexpr int kDesignCharacterWidth = 6;
constexpr int kUnitsPerCharacter = 4;

} // namespace

UniqueFont CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return UniqueFont();
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

HFONT WindowFont(HWND window) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int TextWidth(HWND window, std::wstring_view text) {
    const WindowDc dc(window);
    const ScopedSelect font(dc.get(), WindowFont(window));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int ScaleToFont(HWND window, int designPixels) {
    const WindowDc dc(window);
    const ScopedSelect font(dc.get(), WindowFont(window));
    const DialogUnits units(dc.get());
    return MulDiv(designPixels, units.X(kUnitsPerCharacter), kDesignCharacterWidth);
}

} // namespace kit
