// Not a test: tools/screenshot-menus runs this to drop each menu of the main window in turn, the Zoom submenu
// too, for a picture of each.
#include <gtest/gtest.h>

#include <vector>

#include "kit/MessageLoop.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/Screenshots.h"

using namespace uitest;

namespace {

// What the timer does while a menu is dropped: open the item of `then` (a key, 0 for none), then hand the picture
// over and close the menus.
struct Shot {
    wchar_t letter;  // the access key of the bar's menu
    WORD then;
};

struct Dropped {
    std::wstring folder;
    int shot = 0;
    WORD then = 0;
    HWND window = nullptr;
};
Dropped g_dropped;

// The window and every menu shown over it, as one rectangle.
RECT AreaWithMenus(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND shown, LPARAM lp) CALLBACK -> BOOL {
            if (IsWindowVisible(shown) && testsupport::ClassOf(shown) == L"#32768") {
                RECT menu;
                GetWindowRect(shown, &menu);
                UnionRect(reinterpret_cast<RECT*>(lp), reinterpret_cast<RECT*>(lp), &menu);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&area));
    return area;
}

void CALLBACK OnMenuTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);  // the hand-over pumps messages: this must not run twice
    if (g_dropped.then) {
        // The menu loop reads the keys of the thread's queue: this opens the submenu of that access key.
        const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(g_dropped.then, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(g_dropped.window, WM_KEYDOWN, g_dropped.then, scanCode | 1);
        g_dropped.then = 0;
        SetTimer(nullptr, 0, 500, OnMenuTimer);
        return;
    }
    HandOver(g_dropped.folder, g_dropped.shot, AreaWithMenus(g_dropped.window));
    EndMenu();
}

using MenusDemo = MainWindowTest;

} // namespace

TEST_F(MenusDemo, DISABLED_DropEachMenu) {
    const std::wstring folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KVR_SHOT_DIR names the folder of the handshake files";
    testsupport::TempFolder files;
    MakeFiles(files.Path(), {L"invoice.txt", L"notes.txt", L"report.txt"});
    Open();
    TypeMask(L"*.txt");
    TypePath(files.Path());
    ClickSearch();
    SelectFirstRow();
    SetFocus(List());  // the Edit menu as a person sees it after clicking a row

    const Shot shots[] = {{L'f', 0}, {L'e', 0}, {L'a', 0}, {L'v', 0}, {L'v', 'Z'}, {L'i', 0}, {L'h', 0}};
    for (const Shot& shot : shots) {
        g_dropped = {folder, g_dropped.shot, shot.then, Main()};
        SetTimer(nullptr, 0, 500, OnMenuTimer);
        // The bar's menu of that key drops, as Alt and the letter drop it; its loop runs until the timer ends it.
        PostMessageW(Main(), WM_SYSCOMMAND, SC_KEYMENU, shot.letter);
        kit::ProcessMessagesNow();
        ++g_dropped.shot;
    }
}
