#include "app/ShellNamespace.h"

#include <shellapi.h>

#include "kit/Handles.h"

namespace app {
namespace {

// SHGFI_ICON is never asked for: it hands back an icon the caller must destroy, and the index alone
// (SHGFI_SYSICONINDEX) is all the image-list users need.
UINT IconFlags(bool large, bool open) {
    UINT flags = SHGFI_SYSICONINDEX;
    if (!large) flags |= SHGFI_SMALLICON;
    if (open) flags |= SHGFI_OPENICON;
    return flags;
}

int IconIndex(LPCWSTR item, UINT flags) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(item, 0, &info, sizeof(info), flags)) return 0;
    return info.iIcon;
}

std::wstring DisplayName(LPCWSTR item, UINT flags) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(item, 0, &info, sizeof(info), flags | SHGFI_DISPLAYNAME)) return {};
    info.szDisplayName[MAX_PATH - 1] = L'\0';
    return info.szDisplayName;
}

// SHGetFileInfoW takes an item identifier list in place of the path when SHGFI_PIDL is set.
LPCWSTR AsItem(PCIDLIST_ABSOLUTE pidl) { return reinterpret_cast<LPCWSTR>(pidl); }

kit::UniquePidl SpecialFolderLocation(int csidl) {
    kit::UniquePidl pidl;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, pidl.put()))) pidl.reset();
    return pidl;
}

} // namespace

std::wstring GetPathDisplayName(const std::wstring& path) { return DisplayName(path.c_str(), 0); }

std::wstring GetSpecialFolderPath(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return {};
    return path;
}

int GetPathIconIndex(const std::wstring& path, bool large, bool open) {
    // A drive without a medium must answer 0, not raise the system's "insert a disk" box.
    kit::ScopedErrorMode errorMode(SEM_FAILCRITICALERRORS);
    return IconIndex(path.c_str(), IconFlags(large, open));
}

int GetPathIconIndexDef(const std::wstring& path, int csidl) {
    const int index = GetPathIconIndex(path, false, false);
    return index != 0 ? index : GetSpecialFolderIconIndexEx(csidl, false, false);
}

int GetPidlIconIndex(PCIDLIST_ABSOLUTE pidl, bool large, bool open) {
    if (!pidl) return 0;
    return IconIndex(AsItem(pidl), IconFlags(large, open) | SHGFI_PIDL);
}

int GetSpecialFolderIconIndexEx(int csidl, bool large, bool open) {
    const kit::UniquePidl pidl = SpecialFolderLocation(csidl);
    return GetPidlIconIndex(pidl.get(), large, open);
}

int GetSpecialFolderIconIndex(int csidl) { return GetSpecialFolderIconIndexEx(csidl, false, false); }

std::wstring GetPidlDisplayName(PCIDLIST_ABSOLUTE pidl) {
    if (!pidl) return {};
    return DisplayName(AsItem(pidl), SHGFI_PIDL);
}

std::wstring GetSpecialFolderDisplayName(int csidl) {
    const kit::UniquePidl pidl = SpecialFolderLocation(csidl);
    return GetPidlDisplayName(pidl.get());
}

} // namespace app
