#pragma once
// File-system helpers over the wide Win32 calls.
#include <windows.h>

#include <string>

namespace kit {

bool FileExists(const std::wstring& path);       // a file, not a folder
bool DirectoryExists(const std::wstring& path);
bool PathExists(const std::wstring& path);       // a file or a folder
// "C:\..." or "\\server\share\..." (either slash, "\\?\" forms too): a path that names the same place whatever the
// current directory and drive.
bool IsFullyQualifiedPath(const std::wstring& path);
// Creates the folder and every missing parent; true when the folder exists afterwards.
bool ForceDirectories(const std::wstring& path);
// Makes a new, empty file for writing beside `target` (in its folder), under a short name no file or folder there
// has: the name is checked by the creation itself, so nothing of the person's is ever opened. Its path is never
// longer than the longest the target's may be. The handle, or INVALID_HANDLE_VALUE with GetLastError's reason;
// `name` receives the file's path.
HANDLE CreateFreshFileBeside(const std::wstring& target, std::wstring& name);
// The full path of the running executable.
std::wstring ExecutablePath();

} // namespace kit
