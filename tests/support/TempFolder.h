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
// Removes a file or a folder tree; missing is fine.
void RemoveTree(const std::wstring& path);

} // namespace testsupport
