#pragma once
// File-system helpers over the wide Win32 calls.
#include <string>

namespace kit {

bool FileExists(const std::wstring& path);       // a file, not a folder
bool DirectoryExists(const std::wstring& path);
bool PathExists(const std::wstring& path);       // a file or a folder
// "C:\..." or "\\server\share\...": a path that names the same place whatever the current directory and drive.
bool IsFullyQualifiedPath(const std::wstring& path);
// Creates the folder and every missing parent; true when the folder exists afterwards.
bool ForceDirectories(const std::wstring& path);
// The full path of the running executable.
std::wstring ExecutablePath();

} // namespace kit
