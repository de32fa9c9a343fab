#include "app/OsVersion.h"

#include "kit/Strings.h"

namespace app {

const wchar_t* const WindowsVersionNames[kWindowsVersionCount] = {
    L"Windows",
    L"Windows 32s",
    L"Windows 95",
    L"Windows 95 OSR2",
    L"Windows 98",
    L"Windows 98SE",
    L"Windows NT 3.51",
    L"Windows NT 4",
    L"Windows ME",
    L"Windows 2000",
    L"Windows XP",
    L"Windows XP Professional x64 Edition",
    L"Windows Server 2003",
    L"Windows Home Server",
    L"Windows Server 2003 R2",
    L"Windows Vista",
    L"Windows Server 2008",
    L"Windows 7",
    L"Windows Server 2008 R2",
};

namespace {

constexpr WORD kHomeServerSuite = 0x8000;  // VER_SUITE_WH_SERVER

TWindowsVersion Win9xVersion(const OsVersionFacts& f) {
    // 9x puts its update letter in the service-pack text after a leading blank (" B", " A").
    const wchar_t letter = f.servicePack.size() >= 2 ? f.servicePack[1] : L'\0';
    if (f.major == 4 && f.minor == 0) return letter == L'B' || letter == L'C' ? wvWin95OSR2 : wvWin95;
    if (f.major == 4 && f.minor == 10) return letter == L'A' ? wvWin98SE : wvWin98;
    if (f.major == 4 && f.minor == 90) return wvWinME;
    return wvUnknown;
}

TWindowsVersion Server2003Version(const OsVersionFacts& f) {
    if (f.productType == VER_NT_WORKSTATION && f.processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64)
        return wvWinXP64;
    if (f.serverR2 == 0) return wvWinServer2003;
    return f.suiteMask == kHomeServerSuite ? wvWinHomeServer : wvWinServer2003R2;
}

TWindowsVersion NtVersion(const OsVersionFacts& f) {
    const bool workstation = f.productType == VER_NT_WORKSTATION;
    switch (f.major * 100 + f.minor) {
    case 351: return wvWinNT351;
    case 400: return wvWinNT4;
    case 500: return wvWin2000;
    case 501: return wvWinXP;
    case 502: return Server2003Version(f);
    case 600: return workstation ? wvWinVista : wvWinServer2008;
    case 601: return workstation ? wvWin7 : wvWinServer2008R2;
    default: return wvUnknown;
    }
}

} // namespace

bool GetOSVersionInfo(OSVERSIONINFOEXW& info) {
    info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return true;
    // Systems before NT 4 SP6 know only the plain record.
    info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return true;
    info = {};
    return false;
}

OsVersionFacts ReadOsVersionFacts() {
    OsVersionFacts facts;
    OSVERSIONINFOEXW info;
    if (!GetOSVersionInfo(info)) {
        // A cleared record would read as platform 0, Win32s.
        facts.platform = kUnknownPlatform;
        return facts;
    }
    facts.platform = info.dwPlatformId;
    facts.major = info.dwMajorVersion;
    facts.minor = info.dwMinorVersion;
    // On 9x the high word of the build number repeats the major and minor version.
    facts.build = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? LOWORD(info.dwBuildNumber) : info.dwBuildNumber;
    facts.servicePack = info.szCSDVersion;
    facts.productType = info.wProductType;
    facts.suiteMask = info.wSuiteMask;
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    facts.processorArchitecture = system.wProcessorArchitecture;
    facts.serverR2 = GetSystemMetrics(SM_SERVERR2);
    return facts;
}

TWindowsVersion WindowsVersionFromFacts(const OsVersionFacts& facts) {
    switch (facts.platform) {
    case VER_PLATFORM_WIN32s: return wvWin32s;
    case VER_PLATFORM_WIN32_WINDOWS: return Win9xVersion(facts);
    case VER_PLATFORM_WIN32_NT: return NtVersion(facts);
    default: return wvUnknown;
    }
}

std::wstring WindowsVersionTextFromFacts(const OsVersionFacts& facts) {
    const wchar_t* name = WindowsVersionNames[WindowsVersionFromFacts(facts)];
    const int major = static_cast<int>(facts.major);
    const int minor = static_cast<int>(facts.minor);
    const int build = static_cast<int>(facts.build);
    if (facts.platform != VER_PLATFORM_WIN32_WINDOWS && facts.platform != VER_PLATFORM_WIN32_NT)
        return kit::Format(L"%s %d.%d", name, major, minor);
    if (!facts.servicePack.empty())
        return kit::Format(L"%s %d.%d (Build %d: %s)", name, major, minor, build, facts.servicePack.c_str());
    return kit::Format(L"%s %d.%d (Build %d)", name, major, minor, build);
}

TWindowsVersion GetWindowsVersion() { return WindowsVersionFromFacts(ReadOsVersionFacts()); }

std::wstring GetWindowsVersionText() { return WindowsVersionTextFromFacts(ReadOsVersionFacts()); }

bool IsWindowsPreVista(TWindowsVersion version) { return version >= wvWin32s && version <= wvWinServer2003R2; }

bool IsWindowsVistaFamily(TWindowsVersion version) {
    return version == wvWinVista || version == wvWinServer2008;
}

bool IsWindows7Family(TWindowsVersion version) { return version == wvWin7 || version == wvWinServer2008R2; }

} // namespace app
