#include "engine/Drives.h"

#include "engine/MessagePump.h"
#include "kit/Files.h"

#include <windows.h>

#include "kit/Handles.h"
#include "kit/Strings.h"

namespace engine {
namespace {

// The upper-case drive letter, or 0 for anything that is not A-Z/a-z.
wchar_t DriveLetter(wchar_t letter) {
    if (letter >= L'a' && letter <= L'z') return static_cast<wchar_t>(letter - L'a' + L'A');
    if (letter >= L'A' && letter <= L'Z') return letter;
    return 0;
}

std::wstring RootOf(wchar_t letter) { return std::wstring{letter, L':', L'\\'}; }


} // namespace

std::wstring ExtractFileDrive(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
        const size_t serverEnd = path.find(L'\\', 2);
        const size_t shareEnd = serverEnd == std::wstring::npos ? serverEnd : path.find(L'\\', serverEnd + 1);
        return path.substr(0, shareEnd);
    }
    return {};
}

void GetDriveList(std::vector<std::wstring>& list) {
    list.clear();
    const DWORD mask = GetLogicalDrives();
    for (int bit = 0; bit < 26; ++bit) {
        if (mask & (DWORD{1} << bit)) list.push_back(std::wstring{static_cast<wchar_t>(L'A' + bit), L':'});
    }
}

bool IsDriveReady(wchar_t letter) {
    const wchar_t drive = DriveLetter(letter);
    if (!drive) return false;
    PumpMessagesNow();
    bool ready;
    {
        kit::ScopedErrorMode errorMode(SEM_FAILCRITICALERRORS);
        ULARGE_INTEGER total{};
        ready = GetDiskFreeSpaceExW(RootOf(drive).c_str(), nullptr, &total, nullptr) != FALSE;
    }
    PumpMessagesNow();
    return ready;
}

bool IsDriveValid(const std::wstring& drive) {
    if (drive.size() < 2) return false;
    if (drive.size() > 2) return true;
    std::vector<std::wstring> drives;
    GetDriveList(drives);
    for (const auto& listed : drives) {
        if (kit::SameText(listed, drive)) return IsDriveReady(drive[0]);
    }
    return false;
}

bool IsPathValid(const std::wstring& path) { return IsDriveValid(ExtractFileDrive(path)) && kit::DirectoryExists(path); }

void GetVolumeLabel(wchar_t letter, std::wstring& label) {
    label.clear();
    const wchar_t drive = DriveLetter(letter);
    if (!drive) return;
    wchar_t name[512] = {};
    if (!GetVolumeInformationW(RootOf(drive).c_str(), name, 512, nullptr, nullptr, nullptr, nullptr, 0)) return;
    label.assign(name, wcsnlen(name, 256));
}

} // namespace engine
