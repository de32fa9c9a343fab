#include "results/ShellIcons.h"

#include <shellapi.h>

namespace results {
namespace {

// The shell cuts a longer path at MAX_PATH, and with it the name's extension.
bool TooLongForShell(const std::wstring& path) { return path.size() >= MAX_PATH; }

// What the shell is asked by name, with SHGFI_USEFILEATTRIBUTES: the path, or its last name when the path is too
// long. Only the name decides a kind's type and icon.
std::wstring NameForShell(const std::wstring& path) {
    if (!TooLongForShell(path)) return path;
    const std::wstring trimmed = path.substr(0, path.find_last_not_of(L'\\') + 1);  // a folder's trailing backslash
    return trimmed.substr(trimmed.find_last_of(L'\\') + 1);
}

DWORD AttributesOf(bool folder) { return folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL; }

} // namespace

int ShellIconIndex(const std::wstring& path, bool folder, UINT flags) {
    SHFILEINFOW info{};
    // A program, a shortcut or an icon file has an icon of its own, which only the file itself gives.
    if (!TooLongForShell(path) && SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), flags)) return info.iIcon;
    const std::wstring name = NameForShell(path);
    if (SHGetFileInfoW(name.c_str(), AttributesOf(folder), &info, sizeof(info), flags | SHGFI_USEFILEATTRIBUTES))
        return info.iIcon;
    return -1;
}

std::wstring ShellTypeName(const std::wstring& path, bool folder) {
    // The given attributes stand in for the file, so a file deleted since the search still gets its type.
    SHFILEINFOW info{};
    const std::wstring name = NameForShell(path);
    const UINT flags = SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES;
    if (!SHGetFileInfoW(name.c_str(), AttributesOf(folder), &info, sizeof(info), flags)) return {};
    return info.szTypeName;
}

} // namespace results
