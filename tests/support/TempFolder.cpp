#include "tests/support/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>

#include "kit/Files.h"
#include "kit/Handles.h"
#include "kit/Strings.h"

namespace testsupport {

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    for (;;) {
        path_ = std::wstring(base) + L"kvr-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter++) + L"\\";
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    kit::UniqueHandle file{CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)};
    DWORD written = 0;
    if (file) WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadBytes(const std::wstring& path) {
    kit::UniqueHandle file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)};
    std::string bytes;
    if (!file) return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

bool FileExists(const std::wstring& path) { return kit::FileExists(path); }

bool FolderExists(const std::wstring& path) { return kit::DirectoryExists(path); }

std::wstring FolderOfLength(const std::wstring& base, size_t length) {
    std::wstring folder = base;
    while (folder.size() < length) {
        // The characters this folder adds, its backslash included; never leaving one, a name of none.
        const size_t left = length - folder.size();
        const size_t step = left > 101 ? (left == 102 ? 100 : 101) : left;
        folder += std::wstring(step - 1, L'f') + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    return folder;
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    kit::UniqueFindHandle find{FindFirstFileW((folder + L"*").c_str(), &entry)};
    if (!find) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

void ReadFoldersOnTheWayTo(const std::wstring& folder) {
    constexpr size_t kDriveRoot = 3;  // "C:\\"
    for (std::wstring way = kit::IncludeTrailingPathDelimiter(folder); way.size() > kDriveRoot;
         way = kit::ExtractFilePath(std::wstring_view(way).substr(0, way.size() - 1)))
        FolderEntries(way);
}

void RemoveTree(const std::wstring& path) {
    std::wstring folder = path;
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(folder.c_str())) RemoveDirectoryW(folder.c_str());
        return;
    }
    WIN32_FIND_DATAW data;
    kit::UniqueFindHandle find{FindFirstFileW((folder + L"\\*").c_str(), &data)};
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") RemoveTree(folder + L"\\" + name);
        } while (FindNextFileW(find.get(), &data));
    }
    find.reset();
    RemoveDirectoryW(folder.c_str());
}

} // namespace testsupport
