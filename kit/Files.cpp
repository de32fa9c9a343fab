#include "kit/Files.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "kit/Strings.h"

namespace kit {

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFullyQualifiedPath(const std::wstring& path) {
    // Windows reads a forward slash as a backslash, so "//server/share" and "\\?\C:\x" alike start at a share
    // or a device; "C:x" (the drive's current folder) and "\x" (the current drive's root) do not.
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    const bool onDrive = path.size() >= 3 && std::iswalpha(path[0]) && path[1] == L':' && separator(path[2]);
    const bool onShare = path.size() >= 3 && separator(path[0]) && separator(path[1]);
    return onDrive || onShare;
}

bool ForceDirectories(const std::wstring& path) {
    std::wstring folder = path;
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    if (folder.empty()) return false;
    if (DirectoryExists(folder)) return true;
    const size_t slash = folder.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 0) {
        const std::wstring parent = folder.substr(0, slash);
        // A drive root or a share name ends the climb; it must exist already.
        if (parent.size() > 2 && parent != L"\\" && !ForceDirectories(parent)) return false;
    }
    return CreateDirectoryW(folder.c_str(), nullptr) || DirectoryExists(folder);
}

namespace {

// The most characters a path of the target's form may have: a "\\?\" path may be long, any other is held to
// MAX_PATH with its terminating NUL (the program is not long-path aware).
size_t LongestPathLike(const std::wstring& target) {
    return target.starts_with(L"\\\\?\\") ? std::wstring::npos : MAX_PATH - 1;
}

// A name of at most `room` characters for the number: "~kvr0000ABCD.tmp" where that fits, else "~" and as many of
// its hex digits as fit, the last ones, which change from one number to the next (a lone digit at the least).
std::wstring FreshName(DWORD number, size_t room) {
    wchar_t digits[9];
    swprintf(digits, 9, L"%08lX", static_cast<unsigned long>(number));
    if (room >= 16) return L"~kvr" + std::wstring(digits) + L".tmp";
    if (room <= 1) return std::wstring(1, digits[7]);
    return L"~" + std::wstring(digits + 8 - std::min<size_t>(room - 1, 8));
}

} // namespace

HANDLE CreateFreshFileBeside(const std::wstring& target, std::wstring& name) {
    // A name the person is unlikely to have chosen, and if they have, the next one: CREATE_NEW refuses any
    // name that is taken, where CREATE_ALWAYS would empty the person's file. Short and not built from the
    // target's name, so a target whose name is as long as a name may be still gets one; shorter still where the
    // target's path is near the longest a path may be, so the file's path is never longer than the target's may.
    const std::wstring folder = ExtractFilePath(target);
    const size_t longest = std::max(LongestPathLike(target), target.size());
    const size_t room = longest > folder.size() ? longest - folder.size() : 1;
    const std::wstring targetName = ExtractFileName(target);
    DWORD number = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 100; ++attempt, ++number) {
        const std::wstring fresh = FreshName(number, room);
        if (SameText(fresh, targetName)) continue;  // the target's own name, which the last step replaces
        name = folder + fresh;
        const HANDLE file =
            CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        const DWORD error = GetLastError();
        // A folder of that name answers "access denied" rather than "exists".
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && !PathExists(name)) {
            SetLastError(error);
            break;
        }
    }
    name.clear();
    return INVALID_HANDLE_VALUE;
}

std::wstring ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace kit
