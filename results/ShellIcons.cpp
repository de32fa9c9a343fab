#include "results/ShellIcons.h"

#include <shellapi.h>

namespace results {

int ShellIconIndex(const std::wstring& path, bool folder, UINT flags) {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), flags)) return info.iIcon;
    const DWORD attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info), flags | SHGFI_USEFILEATTRIBUTES))
        return info.iIcon;
    return -1;
}

} // namespace results
