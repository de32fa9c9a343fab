#include <gtest/gtest.h>

#include "results/FileThumb.h"
#include "results/XPTheme.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

using namespace results;

namespace {

// Reads pixels of a bitmap the thumb owns.
class Pixels {
public:
    explicit Pixels(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, bitmap)) {}
    ~Pixels() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
private:
    HDC dc_;
    HGDIOBJ old_;
};

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

class ScriptedThemeSystem : public TThemeSystem {
public:
    ScriptedThemeSystem() { SetThemeSystem(this); }
    ~ScriptedThemeSystem() override { SetThemeSystem(nullptr); }
    bool loaded = true, appThemed = true, themeActive = true;
    std::int32_t version = 0x60000;
    bool ThemeLibraryLoaded() override { return loaded; }
    bool IsAppThemed() override { return appThemed; }
    bool IsThemeActive() override { return themeActive; }
    std::int32_t CommonControlsVersion() override { return version; }
};

} // namespace

TEST(FileThumb, SizesAreKeptTo52Through256) {
    struct Case { int asked; int kept; };
    const Case cases[] = {{300, 256}, {257, 256}, {256, 256}, {100, 100}, {52, 52}, {51, 52}, {10, 52}, {-5, 52}};
    TFileThumb thumb;
    EXPECT_EQ(thumb.Width(), 100);
    EXPECT_EQ(thumb.Height(), 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        thumb.SetWidth(c.asked);
        thumb.SetHeight(c.asked);
        EXPECT_EQ(thumb.Width(), c.kept);
        EXPECT_EQ(thumb.Height(), c.kept);
    }
}

TEST(FileThumb, WithoutAFileOnlyTheFrameIsDrawn) {
    TFileThumb thumb;
    thumb.SetWidth(60);
    thumb.SetHeight(80);
    thumb.DrawThumbnail();
    ASSERT_NE(thumb.Bitmap(), nullptr);
    const SIZE size = BitmapSize(thumb.Bitmap());
    EXPECT_EQ(size.cx, 60);
    EXPECT_EQ(size.cy, 80);
    const Pixels pixels(thumb.Bitmap());
    const COLORREF frame = GetSysColor(COLOR_BTNFACE), window = GetSysColor(COLOR_WINDOW);
    for (POINT p : {POINT{0, 0}, POINT{59, 0}, POINT{0, 79}, POINT{59, 79}, POINT{30, 0}, POINT{0, 40}})
        EXPECT_EQ(pixels.At(p.x, p.y), frame) << p.x << "," << p.y;
    for (POINT p : {POINT{1, 1}, POINT{30, 40}, POINT{58, 78}}) EXPECT_EQ(pixels.At(p.x, p.y), window) << p.x << "," << p.y;
}

TEST(FileThumb, AFileWithoutAShellThumbnailShowsItsIconCentred) {
    const testsupport::TempFolder temp;
    testsupport::WriteBytes(temp / L"notes.txt", "text");
    TFileThumb thumb;
    EXPECT_EQ(thumb.IconSize(), 48);
    thumb.SetFileName(temp / L"notes.txt");
    thumb.SetWidth(120);
    thumb.SetHeight(100);
    thumb.DrawThumbnail();
    const Pixels pixels(thumb.Bitmap());
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(pixels.At(0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(pixels.At(119, 99), GetSysColor(COLOR_BTNFACE));
    // Inside the frame everything is white except the icon's square round the middle.
    const int left = 120 / 2 - 24, top = 100 / 2 - 24;
    int iconPixels = 0, strayPixels = 0;
    for (int y = 1; y < 99; ++y) {
        for (int x = 1; x < 119; ++x) {
            if (pixels.At(x, y) == white) continue;
            const bool inIcon = x >= left && x < left + 48 && y >= top && y < top + 48;
            ++(inIcon ? iconPixels : strayPixels);
        }
    }
    EXPECT_GT(iconPixels, 100);
    EXPECT_EQ(strayPixels, 0);
}

TEST(XPTheme, OffUnderThisWineAndOnWhenEveryAnswerSaysSo) {
    // The test program has no manifest, so it runs on the common controls before version 6.
    EXPECT_FALSE(IsVisualStyleActive());
    EXPECT_TRUE(ThemeSystem().ThemeLibraryLoaded());
    EXPECT_GT(ThemeSystem().CommonControlsVersion(), 0);
    EXPECT_LT(ThemeSystem().CommonControlsVersion(), 0x60000);

    struct Case { bool loaded, themed, active; std::int32_t version; bool on; };
    const Case cases[] = {
        {true, true, true, 0x60000, true},   {true, true, true, 0x6000A, true},  {true, true, true, 0x5FFFF, false},
        {true, true, true, -1, false},       {false, true, true, 0x60000, false}, {true, false, true, 0x60000, false},
        {true, true, false, 0x60000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.loaded << c.themed << c.active << " " << c.version);
        ScriptedThemeSystem system;
        system.loaded = c.loaded;
        system.appThemed = c.themed;
        system.themeActive = c.active;
        system.version = c.version;
        EXPECT_EQ(IsVisualStyleActive(), c.on);
    }
}

TEST(XPTheme, TheLibraryIsFreedWhenTheLastHoldGoes) {
    ASSERT_EQ(ThemeLibraryLoadCount(), 1);  // the one start-up takes
    LoadThemeLibrary();
    EXPECT_EQ(ThemeLibraryLoadCount(), 2);
    UnloadThemeLibrary();
    EXPECT_TRUE(ThemeSystem().ThemeLibraryLoaded());
    UnloadThemeLibrary();
    EXPECT_EQ(ThemeLibraryLoadCount(), 0);
    EXPECT_FALSE(ThemeSystem().ThemeLibraryLoaded());
    EXPECT_FALSE(ThemeSystem().IsThemeActive());
    UnloadThemeLibrary();  // more releases than holds change nothing
    EXPECT_EQ(ThemeLibraryLoadCount(), 0);
    LoadThemeLibrary();
    EXPECT_TRUE(ThemeSystem().ThemeLibraryLoaded());
}
