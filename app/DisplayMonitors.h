#pragma once
// What the window placement needs to know of the screens, behind an interface so tests can give any layout.
#include <windows.h>

#include <vector>

namespace app {

struct TDisplayMonitor {
    RECT Bounds;    // screen coordinates
    RECT WorkArea;  // the bounds without the taskbar and docked bars
    bool Primary;
};

class TDisplay {
public:
    virtual ~TDisplay() = default;
    // The monitors in the system's enumeration order; their index is the stored monitor number.
    virtual std::vector<TDisplayMonitor> Monitors() const = 0;
};

// The real screens (EnumDisplayMonitors, GetMonitorInfoW).
const TDisplay& SystemDisplay();

// The primary monitor (the first one when none says so); a display without monitors gives an empty 0-by-0 one.
TDisplayMonitor PrimaryMonitor(const std::vector<TDisplayMonitor>& monitors);
// The index of the monitor that holds the largest part of `rect`; the primary one when it lies on none.
int MonitorIndexOf(const std::vector<TDisplayMonitor>& monitors, const RECT& rect);

} // namespace app
