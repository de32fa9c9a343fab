// Not a test: tools/screenshot-settings runs this to show the Options dialog with each of its pages, and the
// recent-items dialog with its file-name and search-path pages, for a picture of each.
#include <gtest/gtest.h>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/Screenshots.h"
#include "ui/FKvrManageItems.h"
#include "ui/FKvrOptions.h"

using namespace uitest;

namespace {

RECT WindowArea(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    return area;
}

using SettingsDialogsDemo = MainWindowTest;

} // namespace

TEST_F(SettingsDialogsDemo, DISABLED_ShowEachPage) {
    const std::wstring folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KVR_SHOT_DIR names the folder of the handshake files";
    Open();
    int shot = 0;
    {
        ui::TfrmKvrOptions options;
        options.CreateModeless(Main());
        options.Show();
        for (int page = 0; page <= ui::TfrmKvrOptions::pgContextMenuIntegration; ++page) {
            options.ShowPage(page);
            HandOver(folder, shot++, WindowArea(options.hwnd()));
        }
    }
    app::TApplicationMRUItems& items = app::GlobalApplicationInit->MRUItems;
    items.FileMask.List(engine::nmSimpleText).Items = {L"invoice", L"report 2023", L"notes"};
    items.SearchFolders.FolderValue.Items = {L"C:\\windows", L"<Work> C:\\users|C:\\windows",
                                             L"C:\\no such folder"};
    ui::TfrmKvrManageItems manage;
    manage.CreateModeless(Main());
    manage.Show();
    for (int page : {ui::TfrmKvrManageItems::pgFileMaskAsText, ui::TfrmKvrManageItems::pgSearchPath}) {
        manage.ShowPage(page);
        HandOver(folder, shot++, WindowArea(manage.hwnd()));
    }
}
