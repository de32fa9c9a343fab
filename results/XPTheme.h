#pragma once
// Whether visual styles are in force for the program: the theme library is there, the application is themed,
// a theme is active and the common controls in use are version 6 or later.
#include <cstdint>

namespace results {

// What the check asks the system; tests put their own answers in its place.
class TThemeSystem {
public:
    virtual ~TThemeSystem() = default;
    virtual bool ThemeLibraryLoaded() = 0;
    virtual bool IsAppThemed() = 0;
    virtual bool IsThemeActive() = 0;
    // The common controls' file version, major in the upper 16 bits and minor in the lower; -1 when unknown.
    virtual std::int32_t CommonControlsVersion() = 0;
};

// The system in force: the real one unless a test replaced it (nullptr restores it). The caller keeps ownership.
TThemeSystem& ThemeSystem();
void SetThemeSystem(TThemeSystem* replacement);

bool IsVisualStyleActive();

// The process-wide hold on "uxtheme.dll": loaded on the first load, freed when the count returns to 0.
// Start-up takes one hold and shut-down releases it.
void LoadThemeLibrary();
void UnloadThemeLibrary();
int ThemeLibraryLoadCount();

} // namespace results
