#include "kit/Fonts.h"

namespace kit {

UniqueFont CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return UniqueFont();
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

} // namespace kit
