// Not a test: tools/screenshot-pages runs this to show the main window after a search, once with each
// criteria page selected and once with the search-path list dropped down, for a picture of each.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/Screenshots.h"
#include "ui/ControlIds.h"

using namespace uitest;
namespace ids = ui::ids;

namespace {

class PagesDemo : public MainWindowTest {
protected:
    RECT WindowArea() const {
        RECT area;
        GetWindowRect(Main(), &area);
        return area;
    }
    HWND PathList() const {
        const HWND path = Control(ids::kPageFilesAndFolders, ids::kSearchPath);
        COMBOBOXINFO info{sizeof(info)};
        GetComboBoxInfo(reinterpret_cast<HWND>(SendMessageW(path, CBEM_GETCOMBOCONTROL, 0, 0)), &info);
        return info.hwndList;
    }
};

} // namespace

TEST_F(PagesDemo, DISABLED_ShowEachPage) {
    const std::wstring folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KVR_SHOT_DIR names the folder of the handshake files";
    // Three text files hold the word; a log that holds it is outside the mask.
    testsupport::TempFolder tree;
    MakeFiles(tree.Path(), {L"readme.txt"}, "where each invoice goes");
    MakeFiles(tree.Path(), {L"notes.txt"}, "meeting notes");
    MakeFiles(tree.Path(), {L"build.log"}, "invoice tool built");
    MakeFiles(tree / L"letters", {L"to-bank.txt"}, "the invoice for March");
    MakeFiles(tree / L"letters", {L"draft.doc", L"thanks.txt"}, "thank you");
    MakeFiles(tree / L"reports\\2023", {L"summary.txt"}, "totals and the Invoice number");
    MakeFiles(tree / L"reports\\2023", {L"chart.png", L"plan.txt"}, "figures");

    Open();
    TypeMask(L"*.txt");
    TypePath(tree.Path());
    TypeText(L"invoice");
    ClickSearch();
    ASSERT_EQ(Rows().size(), 3u);
    ASSERT_EQ(StatusText(1), L"Objects Found: 3 Files and 0 Folders");

    const int pages = static_cast<int>(SendMessageW(GetDlgItem(Main(), ids::kSelections), TCM_GETITEMCOUNT, 0, 0));
    for (int page = 0; page < pages; ++page) {
        SelectPage(page);
        HandOver(folder, page, WindowArea());
    }
    SelectPage(0);
    const HWND path = Control(ids::kPageFilesAndFolders, ids::kSearchPath);
    SendMessageW(path, CB_SHOWDROPDOWN, TRUE, 0);
    RECT list, area = WindowArea();
    GetWindowRect(PathList(), &list);
    UnionRect(&area, &area, &list);
    HandOver(folder, pages, area);
    SendMessageW(path, CB_SHOWDROPDOWN, FALSE, 0);
}
