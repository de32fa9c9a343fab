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

} // namespace kit
