#include "results/XPTheme.h"

#include <windows.h>

#include <string>
#include <vector>

namespace results {
namespace {

using ThemeQuery = BOOL(WINAPI*)();

struct ThemeLibrary {
    HMODULE module = nullptr;
    ThemeQuery isThemeActive = nullptr;
    ThemeQuery isAppThemed = nullptr;
    int loadCount = 0;
};

ThemeLibrary& Library() {
    static ThemeLibrary library;
    return library;
}

ThemeQuery Entry(HMODULE module, const char* name) {
    // The two entry points share one signature; the cast through FARPROC is how GetProcAddress is used.
    return reinterpret_cast<ThemeQuery>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The version of the comctl32 this process uses: the one a manifest chose when it is loaded.
std::int32_t ReadCommonControlsVersion() {
    std::wstring path = L"comctl32.dll";
    if (HMODULE loaded = GetModuleHandleW(L"comctl32.dll")) {
        wchar_t name[MAX_PATH];
        const DWORD length = GetModuleFileNameW(loaded, name, MAX_PATH);
        if (length > 0 && length < MAX_PATH) path.assign(name, length);
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return -1;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return -1;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof(VS_FIXEDFILEINFO))
        return -1;
    return static_cast<std::int32_t>(info->dwFileVersionMS);
}

class RealThemeSystem : public TThemeSystem {
public:
    bool ThemeLibraryLoaded() override { return Library().module != nullptr; }
    bool IsAppThemed() override { return Library().isAppThemed && Library().isAppThemed(); }
    bool IsThemeActive() override { return Library().isThemeActive && Library().isThemeActive(); }
    std::int32_t CommonControlsVersion() override {
        static const std::int32_t version = ReadCommonControlsVersion();
        return version;
    }
};

RealThemeSystem g_real;
TThemeSystem* g_current = nullptr;

// Unit start-up and shut-down: one hold on the library for the life of the process.
struct StartUp {
    StartUp() { LoadThemeLibrary(); }
    ~StartUp() {
        while (Library().loadCount > 0) UnloadThemeLibrary();
    }
} g_startUp;

} // namespace

TThemeSystem& ThemeSystem() { return g_current ? *g_current : g_real; }
void SetThemeSystem(TThemeSystem* replacement) { g_current = replacement; }

bool IsVisualStyleActive() {
    TThemeSystem& system = ThemeSystem();
    return system.ThemeLibraryLoaded() && system.IsAppThemed() && system.IsThemeActive() &&
           system.CommonControlsVersion() >= 0x60000;
}

void LoadThemeLibrary() {
    ThemeLibrary& library = Library();
    if (library.loadCount++ > 0) return;
    library.module = LoadLibraryW(L"uxtheme.dll");
    if (!library.module) return;
    library.isThemeActive = Entry(library.module, "IsThemeActive");
    library.isAppThemed = Entry(library.module, "IsAppThemed");
}

void UnloadThemeLibrary() {
    ThemeLibrary& library = Library();
    if (library.loadCount == 0 || --library.loadCount > 0) return;
    if (library.module) FreeLibrary(library.module);
    library = ThemeLibrary{};
}

int ThemeLibraryLoadCount() { return Library().loadCount; }

} // namespace results
