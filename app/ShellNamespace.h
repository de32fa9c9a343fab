#pragma once
// Display names, file-system paths and system-image-list icon indexes of paths and special folders.
// Every function answers "" or 0 when the shell cannot; none raises.
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace app {

std::wstring GetPathDisplayName(const std::wstring& path);
// The folder's file-system path; the folder is not created.
std::wstring GetSpecialFolderPath(int csidl);

int GetPathIconIndex(const std::wstring& path, bool large, bool open);
// The small closed icon of the path, or of the CSIDL folder when the path has none.
int GetPathIconIndexDef(const std::wstring& path, int csidl);
int GetPidlIconIndex(PCIDLIST_ABSOLUTE pidl, bool large, bool open);
int GetSpecialFolderIconIndexEx(int csidl, bool large, bool open);
int GetSpecialFolderIconIndex(int csidl);

std::wstring GetPidlDisplayName(PCIDLIST_ABSOLUTE pidl);
std::wstring GetSpecialFolderDisplayName(int csidl);

} // namespace app
