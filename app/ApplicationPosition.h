#pragma once
// The main window's placement between runs, and its minimum size.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/DisplayMonitors.h"

namespace app {

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
std::wstring_view WindowStateName(TWindowState state);

// A window's normal (restored) bounds in screen coordinates, its state and the number of its monitor.
struct TFormPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    TWindowState WindowState = wsNormal;
    int Monitor = 0;
};

class TApplicationPosition {
public:
    TApplicationPosition(std::wstring fileName, const std::wstring& prefix, const TDisplay& display = SystemDisplay());
    const std::wstring& FileName() const { return fileName_; }
    const std::wstring& Section() const { return section_; }

    // `form` holds the designed placement on entry and the placement to apply on return. It always ends
    // on the screen and at least the minimum size.
    void Load(TFormPlacement& form) const;
    // Stores the normal bounds whatever the state, so a window closed maximised restores to its own size.
    void Save(const TFormPlacement& form) const;

    // The same for a window: Load places it (see SetFormPlacement for a hidden one), Save reads it.
    void Load(HWND form) const;
    void Save(HWND form) const;

    int MinWidth = 680;   // the main window widens it on its first show
    int MinHeight = 480;

private:
    void FitOnScreen(TFormPlacement& form, const std::vector<TDisplayMonitor>& monitors) const;

    std::wstring fileName_;
    std::wstring section_;
    const TDisplay& display_;
};

// The window's placement from GetWindowPlacement: its normal bounds even while it is maximised or minimised.
TFormPlacement GetFormPlacement(HWND window, const TDisplay& display);
// Gives the window the placement's normal bounds. A visible window also takes the placement's state; a hidden
// one stays hidden until the caller shows it with FormShowCommand, so creation does not flash a window.
void SetFormPlacement(HWND window, const TFormPlacement& placement, const TDisplay& display);
int FormShowCommand(const TFormPlacement& placement);

} // namespace app
