#pragma once
// A folder made for one test and removed with everything in it afterwards.
#include <string>
#include <vector>

namespace testsupport {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in a backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

// Whole-file helpers for fixtures.
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// The names in a folder (its path ending in a backslash), sorted; none for a missing folder.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
// Reads each folder on the way to `folder` once (the drive's root aside), for Wine's folder browser: it finds a
// folder by comparing the shell's item ids of the folders on its way byte for byte, their last-access times (in
// 2-second steps) included, and its own reading of that way is the first read of a folder written to since (a
// fixture just made), which moves the folder's access time. When a 2-second step falls between, it finds no such
// folder, selects none, and its first row shown takes the selection (a folder above the one asked). Once read, a
// folder keeps its access time until it is written to again.
void ReadFoldersOnTheWayTo(const std::wstring& folder);
// A folder made below `base` (both ending in a backslash) whose path is `length` characters long, through as many
// folders as a file system's 255-character names need.
std::wstring FolderOfLength(const std::wstring& base, size_t length);
// Removes a file or a folder tree; missing is fine.
void RemoveTree(const std::wstring& path);

} // namespace testsupport
