#include <gtest/gtest.h>

#include "app/OsVersion.h"

using namespace app;

namespace {

constexpr DWORD k9x = VER_PLATFORM_WIN32_WINDOWS;
constexpr DWORD kNt = VER_PLATFORM_WIN32_NT;
constexpr BYTE kWorkstation = VER_NT_WORKSTATION;
constexpr BYTE kServer = VER_NT_SERVER;
constexpr BYTE kDomainController = VER_NT_DOMAIN_CONTROLLER;
constexpr WORD kX86 = PROCESSOR_ARCHITECTURE_INTEL;
constexpr WORD kX64 = PROCESSOR_ARCHITECTURE_AMD64;

OsVersionFacts Facts(DWORD platform, DWORD major, DWORD minor, const wchar_t* servicePack = L"",
                     BYTE productType = 0, WORD suiteMask = 0, WORD architecture = kX86, int serverR2 = 0) {
    OsVersionFacts f;
    f.platform = platform;
    f.major = major;
    f.minor = minor;
    f.servicePack = servicePack;
    f.productType = productType;
    f.suiteMask = suiteMask;
    f.processorArchitecture = architecture;
    f.serverR2 = serverR2;
    return f;
}

} // namespace

TEST(OsVersion, MapsEveryKnownVersion) {
    struct Case { const char* what; OsVersionFacts facts; TWindowsVersion expected; };
    const Case cases[] = {
        {"Win32s", Facts(VER_PLATFORM_WIN32s, 3, 10), wvWin32s},
        {"95", Facts(k9x, 4, 0), wvWin95},
        {"95 A", Facts(k9x, 4, 0, L" A"), wvWin95},
        {"95 B", Facts(k9x, 4, 0, L" B"), wvWin95OSR2},
        {"95 C", Facts(k9x, 4, 0, L" C"), wvWin95OSR2},
        {"95 letter not second", Facts(k9x, 4, 0, L"B"), wvWin95},
        {"98", Facts(k9x, 4, 10), wvWin98},
        {"98 B", Facts(k9x, 4, 10, L" B"), wvWin98},
        {"98 A", Facts(k9x, 4, 10, L" A"), wvWin98SE},
        {"ME", Facts(k9x, 4, 90), wvWinME},
        {"9x unknown minor", Facts(k9x, 4, 20), wvUnknown},
        {"NT 3.51", Facts(kNt, 3, 51), wvWinNT351},
        {"NT 4", Facts(kNt, 4, 0, L"Service Pack 6"), wvWinNT4},
        {"2000", Facts(kNt, 5, 0), wvWin2000},
        {"XP", Facts(kNt, 5, 1, L"Service Pack 3", kWorkstation), wvWinXP},
        {"XP x64", Facts(kNt, 5, 2, L"", kWorkstation, 0, kX64), wvWinXP64},
        {"5.2 workstation on x86", Facts(kNt, 5, 2, L"", kWorkstation, 0, kX86), wvWinServer2003},
        {"2003", Facts(kNt, 5, 2, L"", kServer, 0, kX64, 0), wvWinServer2003},
        {"2003 home-server mask without R2", Facts(kNt, 5, 2, L"", kServer, 0x8000, kX86, 0), wvWinServer2003},
        {"Home Server", Facts(kNt, 5, 2, L"", kServer, 0x8000, kX86, 1), wvWinHomeServer},
        {"2003 R2", Facts(kNt, 5, 2, L"", kServer, 0x0010, kX86, 1), wvWinServer2003R2},
        {"2003 R2, home server among others", Facts(kNt, 5, 2, L"", kServer, 0x8010, kX86, 1), wvWinServer2003R2},
        {"Vista", Facts(kNt, 6, 0, L"", kWorkstation), wvWinVista},
        {"2008", Facts(kNt, 6, 0, L"", kServer), wvWinServer2008},
        {"2008 domain controller", Facts(kNt, 6, 0, L"", kDomainController), wvWinServer2008},
        {"7", Facts(kNt, 6, 1, L"Service Pack 1", kWorkstation), wvWin7},
        {"2008 R2", Facts(kNt, 6, 1, L"", kServer), wvWinServer2008R2},
        {"6.2", Facts(kNt, 6, 2, L"", kWorkstation), wvUnknown},
        {"6.3", Facts(kNt, 6, 3, L"", kWorkstation), wvUnknown},
        {"10.0", Facts(kNt, 10, 0, L"", kWorkstation), wvUnknown},
        {"other platform", Facts(3, 5, 0), wvUnknown},
        {"unreadable", Facts(kUnknownPlatform, 0, 0), wvUnknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WindowsVersionFromFacts(c.facts), c.expected);
    }
}

TEST(OsVersion, FamilyPredicates) {
    struct Case { TWindowsVersion version; bool preVista, vista, seven; };
    const Case cases[] = {
        {wvUnknown, false, false, false},        {wvWin32s, true, false, false},
        {wvWinME, true, false, false},           {wvWinServer2003R2, true, false, false},
        {wvWinVista, false, true, false},        {wvWinServer2008, false, true, false},
        {wvWin7, false, false, true},            {wvWinServer2008R2, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WindowsVersionNames[c.version]);
        EXPECT_EQ(IsWindowsPreVista(c.version), c.preVista);
        EXPECT_EQ(IsWindowsVistaFamily(c.version), c.vista);
        EXPECT_EQ(IsWindows7Family(c.version), c.seven);
    }
}

TEST(OsVersion, TextNamesVersionAndNumbers) {
    struct Case { OsVersionFacts facts; DWORD build; const wchar_t* expected; };
    const Case cases[] = {
        {Facts(kNt, 6, 1, L"Service Pack 1", kWorkstation), 7601, L"Windows 7 6.1 (Build 7601: Service Pack 1)"},
        {Facts(kNt, 6, 0, L"", kServer), 6001, L"Windows Server 2008 6.0 (Build 6001)"},
        {Facts(kNt, 5, 2, L"", kWorkstation, 0, kX64), 3790, L"Windows XP Professional x64 Edition 5.2 (Build 3790)"},
        // A later system keeps its real numbers under the generic name.
        {Facts(kNt, 10, 0, L"", kWorkstation), 19045, L"Windows 10.0 (Build 19045)"},
        {Facts(k9x, 4, 10, L" A"), 2222, L"Windows 98SE 4.10 (Build 2222:  A)"},
        {Facts(VER_PLATFORM_WIN32s, 3, 11), 0, L"Windows 32s 3.11"},
        {Facts(3, 5, 0), 1, L"Windows 5.0"},
    };
    for (auto c : cases) {
        c.facts.build = c.build;
        EXPECT_EQ(WindowsVersionTextFromFacts(c.facts), c.expected);
    }
    const TWindowsVersion later = WindowsVersionFromFacts(Facts(kNt, 6, 2, L"", kWorkstation));
    EXPECT_FALSE(IsWindowsPreVista(later) || IsWindowsVistaFamily(later) || IsWindows7Family(later));
}

// The test prefix reports Windows 7 SP1, a workstation: only the extended record carries the product type.
TEST(OsVersion, ReadsTheRunningSystem) {
    OSVERSIONINFOEXW info;
    ASSERT_TRUE(GetOSVersionInfo(info));
    EXPECT_EQ(info.dwOSVersionInfoSize, 284u);
    EXPECT_EQ(info.wProductType, VER_NT_WORKSTATION);
    EXPECT_EQ(GetWindowsVersion(), wvWin7);
    EXPECT_EQ(GetWindowsVersionText(), L"Windows 7 6.1 (Build 7601: Service Pack 1)");
}
