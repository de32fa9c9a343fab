// Not a test: tools/screenshot-views runs this to show, after a search of twenty files, the result list in the
// Large Icon, Small Icon and List views, then the prompts a file action opens (Copy to Folder, Create Shortcut,
// the rename prompt) and a message dialog, then after a search of sixty the Large and Small Icon views chosen in
// a maximised window that is then restored, and Move to Folder's prompt with the find window open, for a picture of
// each.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "kit/MessageDialog.h"
#include "kit/MessageLoop.h"
#include "kit/TextPrompt.h"
#include "tests/support/DialogDriver.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/Screenshots.h"
#include "ui/ControlIds.h"
#include "ui/FKvrFindInResults.h"

using namespace uitest;
namespace ids = ui::ids;

namespace {

RECT WindowArea(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    return area;
}

RECT Union(RECT a, const RECT& b) {
    UnionRect(&a, &a, &b);
    return a;
}

// Runs `show` and, once it has opened its dialog, hands that dialog over for picture `shot` and cancels it.
// The picture holds `around` too; `except` is a modeless dialog open meanwhile.
void HandOverDialog(const std::wstring& folder, int shot, const std::function<void()>& show, RECT around = {},
                    HWND except = nullptr) {
    testsupport::ShowWithPerson(
        show,
        [&](HWND dialog) {
            if (!dialog) return;
            HandOver(folder, shot, Union(WindowArea(dialog), around));
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        except);
}

} // namespace

class ViewsDemo : public MainWindowTest {};

TEST_F(ViewsDemo, DISABLED_ShowEachViewAndPrompt) {
    const std::wstring folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KVR_SHOT_DIR names the folder of the handshake files";
    testsupport::TempFolder tree;
    std::vector<std::wstring> names;
    for (int i = 1; i <= 20; ++i) names.push_back(L"report " + std::to_wstring(2000 + i) + L".txt");
    MakeFiles(tree.Path(), names);
    Open();
    TypeMask(L"*");
    TypePath(tree.Path());
    ClickSearch();
    ASSERT_EQ(Rows().size(), names.size());

    int shot = 0;
    for (const int view : {ids::actVIEWIcon, ids::actVIEWSmallIcon, ids::actVIEWList}) {
        window->Actions().Execute(view);
        kit::ProcessMessagesNow();
        HandOver(folder, shot++, WindowArea(Main()));
    }
    window->Actions().Execute(ids::actVIEWReport);
    SelectFirstRow();
    for (const int action : {ids::actEDITCopyToFolder, ids::actEDITCreateShortcut})
        HandOverDialog(folder, shot++, [&] { window->Actions().Execute(action); });
    std::wstring name = names[0];
    HandOverDialog(folder, shot++, [&] { kit::ShowTextPrompt(Main(), L"Rename File", L"New Name", name); });
    HandOverDialog(folder, shot++, [&] {
        kit::ShowMessageDialog(Main(),
                               L"The Export Selected Folder: 'Exports' must be a full path, such as C:\\Exports or "
                               L"\\\\server\\share\\Exports.",
                               kit::MessageType::Warning, kit::MessageButtons::Ok);
    });

    // Each icon view chosen while the window is maximised, then the window restored to 1,024 pixels.
    std::vector<std::wstring> more;
    for (int i = 21; i <= 60; ++i) more.push_back(L"report " + std::to_wstring(2000 + i) + L".txt");
    MakeFiles(tree.Path(), more);
    ClickSearch();
    SetWindowPos(Main(), nullptr, 0, 0, 1024, 640, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const int view : {ids::actVIEWIcon, ids::actVIEWSmallIcon}) {
        ShowWindow(Main(), SW_MAXIMIZE);
        window->Actions().Execute(view);
        kit::ProcessMessagesNow();
        ShowWindow(Main(), SW_RESTORE);
        kit::ProcessMessagesNow();
        HandOver(folder, shot++, WindowArea(Main()));
        window->Actions().Execute(ids::actVIEWReport);
    }

    // The stay-on-top find window open over the list: the prompt stands above it.
    SelectFirstRow();
    window->Actions().Execute(ids::actACTIONFindInResults);
    kit::ProcessMessagesNow();
    const HWND find = window->FindInResults()->hwnd();
    HandOverDialog(folder, shot++, [&] { window->Actions().Execute(ids::actEDITMoveToFolder); },
                   Union(WindowArea(Main()), WindowArea(find)), find);
}
