#include "kit/SystemImages.h"

#include <shellapi.h>

namespace kit {

HIMAGELIST SystemImageList(IconSize size) {
    SHFILEINFOW info{};
    const UINT sizeFlag = size == IconSize::Small ? SHGFI_SMALLICON : SHGFI_LARGEICON;
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | sizeFlag));
}

} // namespace kit
