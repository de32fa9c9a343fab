#include "app/DisplayMonitors.h"

#include <algorithm>

namespace app {
namespace {

class TSystemDisplay : public TDisplay {
public:
    std::vector<TDisplayMonitor> Monitors() const override {
        std::vector<TDisplayMonitor> monitors;
        EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
        return monitors;
    }

private:
    static BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!GetMonitorInfoW(monitor, &info)) return TRUE;
        try {  // nothing may unwind through the system's callback
            reinterpret_cast<std::vector<TDisplayMonitor>*>(data)->push_back(
                {info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
        } catch (...) {
            return FALSE;
        }
        return TRUE;
    }
};

long long OverlapArea(const RECT& a, const RECT& b) {
    const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

int PrimaryIndex(const std::vector<TDisplayMonitor>& monitors) {
    for (size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].Primary) return static_cast<int>(i);
    return 0;
}

} // namespace

const TDisplay& SystemDisplay() {
    static const TSystemDisplay display;
    return display;
}

TDisplayMonitor PrimaryMonitor(const std::vector<TDisplayMonitor>& monitors) {
    if (monitors.empty()) return {{0, 0, 0, 0}, {0, 0, 0, 0}, true};
    return monitors[PrimaryIndex(monitors)];
}

int MonitorIndexOf(const std::vector<TDisplayMonitor>& monitors, const RECT& rect) {
    int best = PrimaryIndex(monitors);
    long long bestArea = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const long long area = OverlapArea(monitors[i].Bounds, rect);
        if (area > bestArea) {
            best = static_cast<int>(i);
            bestArea = area;
        }
    }
    return best;
}

} // namespace app
