#pragma once
// What the shell tells of a file or folder: its index into the system image list and its type name.
#include <windows.h>

#include <string>

namespace results {

// The system icon index of `path` asked with `flags` (SHGFI_SYSICONINDEX and size flags); a file that is gone,
// on a drive no longer there, or whose path is longer than the shell takes, gets the icon of its kind by name.
// -1 when the shell has none.
int ShellIconIndex(const std::wstring& path, bool folder, UINT flags);

// The shell's type name of a file or folder, by its name ("Text Document"); empty when the shell gives none.
std::wstring ShellTypeName(const std::wstring& path, bool folder);

} // namespace results
