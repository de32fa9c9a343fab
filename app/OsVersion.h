#pragma once
// Which Windows version runs the program: an enumeration with display names and family predicates.
#include <windows.h>

#include <cstdint>
#include <string>

namespace app {

enum TWindowsVersion : std::uint8_t {
    wvUnknown,
    wvWin32s,
    wvWin95,
    wvWin95OSR2,
    wvWin98,
    wvWin98SE,
    wvWinNT351,
    wvWinNT4,
    wvWinME,
    wvWin2000,
    wvWinXP,
    wvWinXP64,
    wvWinServer2003,
    wvWinHomeServer,
    wvWinServer2003R2,
    wvWinVista,
    wvWinServer2008,
    wvWin7,
    wvWinServer2008R2,
};

inline constexpr int kWindowsVersionCount = wvWinServer2008R2 + 1;
extern const wchar_t* const WindowsVersionNames[kWindowsVersionCount];

// Everything the version decision looks at, read once so the decision itself is a pure function.
struct OsVersionFacts {
    DWORD platform = 0;
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
    std::wstring servicePack;
    BYTE productType = 0;
    WORD suiteMask = 0;
    WORD processorArchitecture = 0;
    int serverR2 = 0;  // GetSystemMetrics(SM_SERVERR2)
};

// Platform value of facts that could not be read: names no platform, so it maps to wvUnknown.
inline constexpr DWORD kUnknownPlatform = 0xFFFFFFFF;

// Fills the extended record; when the system refuses that size, retries with the plain record size.
// False when both calls fail (the record is then cleared).
bool GetOSVersionInfo(OSVERSIONINFOEXW& info);
OsVersionFacts ReadOsVersionFacts();

TWindowsVersion WindowsVersionFromFacts(const OsVersionFacts& facts);
// "name major.minor", with "(Build n)" or "(Build n: service pack)" on the 9x and NT platforms.
std::wstring WindowsVersionTextFromFacts(const OsVersionFacts& facts);

TWindowsVersion GetWindowsVersion();
std::wstring GetWindowsVersionText();

bool IsWindowsPreVista(TWindowsVersion version);
bool IsWindowsVistaFamily(TWindowsVersion version);
bool IsWindows7Family(TWindowsVersion version);

} // namespace app
