#pragma once
// Indexes into the shell's system image list.
#include <windows.h>

#include <string>

namespace results {

// The system icon index of `path` asked with `flags` (SHGFI_SYSICONINDEX and size flags); a file that is gone,
// or on a drive no longer there, gets the icon of its kind by name. -1 when the shell has none.
int ShellIconIndex(const std::wstring& path, bool folder, UINT flags);

} // namespace results
