#include "engine/LongPaths.h"

#include <windows.h>

namespace engine {
namespace {

constexpr std::wstring_view LocalPrefix = L"\\\\?\\";
constexpr std::wstring_view NetworkPrefix = L"\\\\?\\UNC\\";

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           CompareStringOrdinal(text.data(), static_cast<int>(prefix.size()), prefix.data(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

// A path already in long form goes back to its plain form, so it is normalised like any other.
std::wstring WithoutLongPrefix(std::wstring_view path) {
    if (StartsWithNoCase(path, NetworkPrefix)) return L"\\\\" + std::wstring(path.substr(NetworkPrefix.size()));
    if (StartsWithNoCase(path, LocalPrefix)) return std::wstring(path.substr(LocalPrefix.size()));
    return std::wstring(path);
}

bool HasDriveOrShare(std::wstring_view path) {
    const bool drive = path.size() >= 2 && path[1] == L':' &&
                       ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    const bool share = path.size() > 2 && IsSlash(path[0]) && IsSlash(path[1]) && !IsSlash(path[2]);
    return drive || share;
}

bool IsNetworkPath(std::wstring_view path) { return path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\'; }

} // namespace

std::optional<std::wstring> CanonicalFolder(std::wstring_view folder) {
    std::wstring path = WithoutLongPrefix(folder);
    if (!HasDriveOrShare(path)) return std::nullopt;
    // The delimiter comes first, so "C:" means the root rather than the drive's current directory.
    if (!IsSlash(path.back())) path += L'\\';
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return std::nullopt;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return std::nullopt;
    full.resize(length);
    if (full.back() != L'\\') full += L'\\';
    return full;
}

std::wstring LongPath(std::wstring_view path) {
    if (IsNetworkPath(path)) return std::wstring(NetworkPrefix) + std::wstring(path.substr(2));
    return std::wstring(LocalPrefix) + std::wstring(path);
}

std::wstring OpenPath(std::wstring_view path) {
    if (StartsWithNoCase(path, LocalPrefix) || path.starts_with(L"\\\\.\\") || !HasDriveOrShare(path))
        return std::wstring(path);
    const bool absolute = IsNetworkPath(path) || (path.size() >= 3 && path[2] == L'\\');
    const bool plain = path.find(L'/') == std::wstring_view::npos && path.find(L"\\.\\") == std::wstring_view::npos &&
                       path.find(L"\\..\\") == std::wstring_view::npos;
    return absolute && plain ? LongPath(path) : std::wstring(path);
}

std::wstring ListingPattern(std::wstring_view folder) {
    std::wstring pattern = LongPath(folder) + L"*.*";
    return pattern.size() > MaxPatternLength ? std::wstring() : pattern;
}

} // namespace engine
