#include <windows.h>

#include <gtest/gtest.h>

#include "app/ApplicationPosition.h"
#include "store/MemIniFileUnicode.h"
#include "tests/support/TempFolder.h"

using app::TDisplayMonitor;
using app::TFormPlacement;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

class FakeDisplay : public app::TDisplay {
public:
    explicit FakeDisplay(std::vector<TDisplayMonitor> monitors) : monitors_(std::move(monitors)) {}
    std::vector<TDisplayMonitor> Monitors() const override { return monitors_; }
private:
    std::vector<TDisplayMonitor> monitors_;
};

const TDisplayMonitor kPrimary{{0, 0, 1600, 1040}, {0, 0, 1600, 1000}, true};         // taskbar at the bottom
const TDisplayMonitor kRight{{1600, 0, 3520, 1200}, {1600, 40, 3520, 1200}, false};   // taskbar at the top
const FakeDisplay kOneMonitor({kPrimary});
const FakeDisplay kTwoMonitors({kPrimary, kRight});

const TFormPlacement kDesigned{100, 50, 700, 500, app::wsNormal, 0};

std::string Section(const std::string& keys) { return "[/Position/MainForm]\r\n" + keys; }

} // namespace

TEST(ApplicationPosition, LoadKeepsTheWindowOnScreen) {
    struct Case {
        const char* name;
        const FakeDisplay& display;
        std::string file;  // empty: no file
        TFormPlacement expected;
    };
    const Case cases[] = {
        {"no file keeps the designed bounds", kOneMonitor, "", {100, 50, 700, 500, app::wsNormal, 0}},
        {"saved on monitor 1 of a one-monitor display", kOneMonitor,
         Section("Top=300\r\nLeft=1800\r\nWidth=900\r\nHeight=700\r\nMonitor=1\r\n"), {0, 0, 680, 480, app::wsNormal, 0}},
        {"monitor 1 still present", kTwoMonitors,
         Section("Top=100\r\nLeft=1800\r\nWidth=900\r\nHeight=700\r\nMonitor=1\r\n"), {1800, 100, 900, 700, app::wsNormal, 1}},
        {"monitor key missing reads the bounds", kOneMonitor,
         Section("Top=10\r\nLeft=20\r\nWidth=800\r\nHeight=600\r\n"), {20, 10, 800, 600, app::wsNormal, 0}},
        {"negative top and left", kOneMonitor,
         Section("Top=-20\r\nLeft=-5\r\nWidth=800\r\nHeight=600\r\nMonitor=0\r\n"), {0, 0, 800, 600, app::wsNormal, 0}},
        {"bottom below the work area moves up", kOneMonitor,
         Section("Top=900\r\nLeft=0\r\nWidth=800\r\nHeight=600\r\nMonitor=0\r\n"), {0, 400, 800, 600, app::wsNormal, 0}},
        {"taller than the work area keeps its caption", kOneMonitor,
         Section("Top=50\r\nLeft=0\r\nWidth=800\r\nHeight=1400\r\nMonitor=0\r\n"), {0, 0, 800, 1400, app::wsNormal, 0}},
        {"left beyond the screen", kOneMonitor,
         Section("Top=0\r\nLeft=5000\r\nWidth=800\r\nHeight=600\r\nMonitor=0\r\n"), {800, 0, 800, 600, app::wsNormal, 0}},
        {"wider than the screen starts at its left edge", kOneMonitor,
         Section("Top=0\r\nLeft=300\r\nWidth=2000\r\nHeight=600\r\nMonitor=0\r\n"), {0, 0, 2000, 600, app::wsNormal, 0}},
        {"below the minimum size", kOneMonitor,
         Section("Top=0\r\nLeft=0\r\nWidth=10\r\nHeight=-300\r\nMonitor=0\r\n"), {0, 0, 680, 480, app::wsNormal, 0}},
        {"huge values", kOneMonitor,
         Section("Top=2147483647\r\nLeft=2147483647\r\nWidth=2147483647\r\nHeight=2147483647\r\nMonitor=0\r\n"),
         {0, 0, 2147483647, 2147483647, app::wsNormal, 0}},
        {"maximised in other case", kOneMonitor, Section("WindowState=WSMAXIMIZED\r\n"), {100, 50, 700, 500, app::wsMaximized, 0}},
        {"minimised opens normal", kOneMonitor, Section("WindowState=wsMinimized\r\n"), {100, 50, 700, 500, app::wsNormal, 0}},
        {"malformed state opens normal", kOneMonitor, Section("WindowState=2\r\n"), {100, 50, 700, 500, app::wsNormal, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const auto path = folder / L"KolvaranPosition.ini";
        if (!c.file.empty()) WriteBytes(path, c.file);
        app::TApplicationPosition position(path, L"", c.display);
        TFormPlacement form = kDesigned;
        position.Load(form);
        EXPECT_EQ(form.Left, c.expected.Left);
        EXPECT_EQ(form.Top, c.expected.Top);
        EXPECT_EQ(form.Width, c.expected.Width);
        EXPECT_EQ(form.Height, c.expected.Height);
        EXPECT_EQ(form.WindowState, c.expected.WindowState);
        EXPECT_EQ(form.Monitor, c.expected.Monitor);
    }
}

TEST(ApplicationPosition, SaveKeepsTheNormalBoundsInEveryState) {
    struct Case { app::TWindowState state; const wchar_t* stored; };
    const Case cases[] = {{app::wsNormal, L"wsNormal"}, {app::wsMaximized, L"wsMaximized"}, {app::wsMinimized, L"wsNormal"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.state));
        TempFolder folder;
        const auto path = folder / L"KolvaranPosition.ini";
        app::TApplicationPosition position(path, L"", kTwoMonitors);
        position.Save(TFormPlacement{1700, 60, 800, 600, c.state, 1});

        store::TMemIniFileUnicode ini(path);
        EXPECT_EQ(ini.ReadSectionValues(L"/Position/MainForm"),
                  (std::vector<std::wstring>{L"Top=60", L"Left=1700", L"Width=800", L"Height=600", L"Monitor=1",
                                             std::wstring(L"WindowState=") + c.stored}));
        TFormPlacement form = kDesigned;
        position.Load(form);
        EXPECT_EQ(form.Left, 1700);
        EXPECT_EQ(form.Width, 800);
        EXPECT_EQ(form.WindowState, c.state == app::wsMaximized ? app::wsMaximized : app::wsNormal);
    }
}

TEST(ApplicationPosition, MonitorIndexFollowsTheLargerPart) {
    const std::vector<TDisplayMonitor> monitors{kPrimary, kRight};
    EXPECT_EQ(app::MonitorIndexOf(monitors, {1000, 0, 2000, 500}), 0);
    EXPECT_EQ(app::MonitorIndexOf(monitors, {1400, 0, 2400, 500}), 1);
    EXPECT_EQ(app::MonitorIndexOf(monitors, {-900, -900, -100, -100}), 0);  // on no monitor
    const std::vector<TDisplayMonitor> primarySecond{kRight, kPrimary};
    EXPECT_EQ(app::MonitorIndexOf(primarySecond, {-900, -900, -100, -100}), 1);
}

// A real window under the system display. Hiding or destroying a shown window costs Wine two seconds
// without a window manager, so one test walks the whole life: first show, maximise, close, restore.
TEST(ApplicationPosition, WindowOpensPlacedAndSavesItsNormalBoundsWhileMaximised) {
    TempFolder folder;
    const auto path = folder / L"KolvaranPosition.ini";
    WriteBytes(path, Section("Top=40\r\nLeft=30\r\nWidth=720\r\nHeight=510\r\nMonitor=0\r\nWindowState=wsMaximized\r\n"));
    app::TApplicationPosition position(path, L"");
    HWND window = CreateWindowExW(0, L"STATIC", L"position", WS_OVERLAPPEDWINDOW, 100, 80, 700, 520, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);

    position.Load(window);
    EXPECT_FALSE(IsWindowVisible(window));  // placed before the first show, not shown by the load
    TFormPlacement loaded{};
    position.Load(loaded);
    ShowWindow(window, app::FormShowCommand(loaded));
    EXPECT_TRUE(IsZoomed(window));

    position.Save(window);
    store::TMemIniFileUnicode ini(path);
    EXPECT_EQ(ini.ReadSectionValues(L"/Position/MainForm"),
              (std::vector<std::wstring>{L"Top=40", L"Left=30", L"Width=720", L"Height=510", L"Monitor=0",
                                         L"WindowState=wsMaximized"}));

    ShowWindow(window, SW_RESTORE);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right - rect.left, 720);
    EXPECT_EQ(rect.bottom - rect.top, 510);
    DestroyWindow(window);
}
