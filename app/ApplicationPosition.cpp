#include "app/ApplicationPosition.h"

#include <algorithm>

#include "kit/Strings.h"
#include "store/SettingsFile.h"

namespace app {
namespace {

// Minimised is never restored: it is stored and read as normal.
TWindowState StoredState(std::wstring_view name) {
    return kit::SameText(name, L"wsMaximized") ? wsMaximized : wsNormal;
}

// rcNormalPosition is in workspace coordinates: relative to the work area of the window's monitor.
POINT WorkspaceOffset(const std::vector<TDisplayMonitor>& monitors, const RECT& rect) {
    if (monitors.empty()) return {0, 0};
    const auto& monitor = monitors[MonitorIndexOf(monitors, rect)];
    return {monitor.WorkArea.left - monitor.Bounds.left, monitor.WorkArea.top - monitor.Bounds.top};
}

RECT BoundsOf(const TFormPlacement& placement) {
    return {placement.Left, placement.Top, placement.Left + placement.Width, placement.Top + placement.Height};
}

} // namespace

std::wstring_view WindowStateName(TWindowState state) {
    switch (state) {
        case wsMinimized: return L"wsMinimized";
        case wsMaximized: return L"wsMaximized";
        default: return L"wsNormal";
    }
}

TApplicationPosition::TApplicationPosition(std::wstring fileName, const std::wstring& prefix, const TDisplay& display)
    : fileName_(std::move(fileName)), section_(prefix + L"/Position/MainForm"), display_(display) {}

void TApplicationPosition::Load(TFormPlacement& form) const {
    store::LoadSettingsFile(fileName_, [&](const store::TMemIniFileUnicode& ini) {
        const auto monitors = display_.Monitors();
        const int monitor = ini.ReadInteger(section_, L"Monitor", -1);
        if (monitor > static_cast<int>(monitors.size()) - 1) {  // the saved monitor is gone
            form.Left = 0;
            form.Top = 0;
            form.Width = MinWidth;
            form.Height = MinHeight;
        } else {
            form.Top = std::max(0, ini.ReadInteger(section_, L"Top", form.Top));
            form.Left = std::max(0, ini.ReadInteger(section_, L"Left", form.Left));
            form.Width = ini.ReadInteger(section_, L"Width", form.Width);
            form.Height = ini.ReadInteger(section_, L"Height", form.Height);
        }
        FitOnScreen(form, monitors);
        form.WindowState = StoredState(ini.ReadString(section_, L"WindowState", L"Error"));
        form.Monitor = MonitorIndexOf(monitors, BoundsOf(form));
    });
}

void TApplicationPosition::FitOnScreen(TFormPlacement& form, const std::vector<TDisplayMonitor>& monitors) const {
    form.Width = std::max(form.Width, MinWidth);
    form.Height = std::max(form.Height, MinHeight);
    const RECT work = PrimaryMonitor(monitors).WorkArea;
    const long long workHeight = work.bottom - work.top;
    if (static_cast<long long>(form.Top) + form.Height > workHeight)
        form.Top = static_cast<int>(workHeight - form.Height);
    // A window taller than the work area would otherwise get a negative top and lose its caption.
    form.Top = std::max(form.Top, 0);
    LONG screenRight = 0;
    for (const auto& monitor : monitors) screenRight = std::max(screenRight, monitor.Bounds.right);
    if (static_cast<long long>(form.Left) + form.Width > screenRight)
        form.Left = std::max(0, static_cast<int>(screenRight - form.Width));
}

void TApplicationPosition::Save(const TFormPlacement& form) const {
    store::SaveSettingsFile(fileName_, [&](store::TMemIniFileUnicode& ini) {
        ini.EraseSection(section_);
        ini.WriteInteger(section_, L"Top", form.Top);
        ini.WriteInteger(section_, L"Left", form.Left);
        ini.WriteInteger(section_, L"Width", form.Width);
        ini.WriteInteger(section_, L"Height", form.Height);
        ini.WriteInteger(section_, L"Monitor", form.Monitor);
        ini.WriteString(section_, L"WindowState", WindowStateName(form.WindowState == wsMaximized ? wsMaximized : wsNormal));
    });
}

void TApplicationPosition::Load(HWND form) const {
    TFormPlacement placement = GetFormPlacement(form, display_);
    Load(placement);
    SetFormPlacement(form, placement, display_);
}

void TApplicationPosition::Save(HWND form) const { Save(GetFormPlacement(form, display_)); }

TFormPlacement GetFormPlacement(HWND window, const TDisplay& display) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(window, &wp);
    const auto monitors = display.Monitors();
    RECT bounds = wp.rcNormalPosition;
    const POINT offset = WorkspaceOffset(monitors, bounds);
    OffsetRect(&bounds, offset.x, offset.y);

    TFormPlacement placement;
    placement.Left = bounds.left;
    placement.Top = bounds.top;
    placement.Width = bounds.right - bounds.left;
    placement.Height = bounds.bottom - bounds.top;
    placement.WindowState = wp.showCmd == SW_SHOWMAXIMIZED ? wsMaximized
                            : wp.showCmd == SW_SHOWMINIMIZED ? wsMinimized
                                                            : wsNormal;
    placement.Monitor = MonitorIndexOf(monitors, bounds);
    return placement;
}

void SetFormPlacement(HWND window, const TFormPlacement& placement, const TDisplay& display) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(window, &wp);
    RECT bounds = BoundsOf(placement);
    const POINT offset = WorkspaceOffset(display.Monitors(), bounds);
    OffsetRect(&bounds, -offset.x, -offset.y);
    wp.rcNormalPosition = bounds;
    wp.flags = 0;
    wp.showCmd = IsWindowVisible(window) ? FormShowCommand(placement) : SW_HIDE;
    SetWindowPlacement(window, &wp);
}

int FormShowCommand(const TFormPlacement& placement) {
    return placement.WindowState == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
}

} // namespace app
