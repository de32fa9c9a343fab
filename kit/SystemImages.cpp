#include "kit/SystemImages.h"

#include <shellapi.h>

namespace kit {

HIMAGELIST SystemImageList(IconSize size) {
    SHFILEINFOW info{};
    const UINT sizeFlag = size == IconSize::Small ? SHGFI_SMALLICON : SHGFI_LARGEICON;
    // By attributes alone: asking for the list needs no drive to answer.
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                                                       SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | sizeFlag));
}

int SmallSystemIconIndex(const std::wstring& path) {
    SHFILEINFOW info{};
    return SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON) != 0
               ? info.iIcon
               : I_IMAGENONE;
}

} // namespace kit
