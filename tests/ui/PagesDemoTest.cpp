// Not a test: tools/screenshot-pages runs this to show the main window after a search that lists more rows than
// a page of the list shows, once with each criteria page selected, once with the search-path list dropped down
// and once with the file-name Mode list dropped down, then two pages while a search runs, for a picture of each;
// and at a first start, with a folder typed over the search path's "Everywhere".
// DatePageDemo shows the Date and Size page at the window's minimum size with each range chosen (four pictures,
// handed over the same way, with --gtest_filter='DatePageDemo.*').
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "engine/UKvrTYPEFile.h"
#include "tests/support/Keyboard.h"
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
    // The dropped list of a combo box, or of the combo box inside a ComboBoxEx.
    static HWND DroppedList(HWND combo) {
        if (const auto inner = reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETCOMBOCONTROL, 0, 0))) combo = inner;
        COMBOBOXINFO info{sizeof(info)};
        GetComboBoxInfo(combo, &info);
        return info.hwndList;
    }
    // A picture of the window with `combo`'s list dropped down.
    void HandOverDropped(const std::wstring& folder, int shot, HWND combo) {
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        // The window under the list repaints, as it does when the pointer moves over its controls.
        RedrawWindow(Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT list, area = WindowArea();
        GetWindowRect(DroppedList(combo), &list);
        UnionRect(&area, &area, &list);
        HandOver(folder, shot, area);
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    }
};

} // namespace

TEST_F(PagesDemo, DISABLED_ShowEachPage) {
    const std::wstring folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KVR_SHOT_DIR names the folder of the handshake files";
    // Fourteen text files hold the word, more than the list shows at once; a log that holds it is outside the mask.
    testsupport::TempFolder tree;
    MakeFiles(tree.Path(), {L"readme.txt"}, "where each invoice goes");
    MakeFiles(tree / L"invoices", {L"2023-01.txt", L"2023-02.txt", L"2023-03.txt", L"2023-04.txt", L"2023-05.txt",
                                   L"2023-06.txt", L"2023-07.txt", L"2023-08.txt", L"2023-09.txt", L"2023-10.txt",
                                   L"2023-11.txt"},
              "invoice total");
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
    ASSERT_EQ(Rows().size(), 14u);
    ASSERT_EQ(StatusText(1), L"Objects Found: 14 Files and 0 Folders");

    const int pages = static_cast<int>(SendMessageW(GetDlgItem(Main(), ids::kSelections), TCM_GETITEMCOUNT, 0, 0));
    for (int page = 0; page < pages; ++page) {
        SelectPage(page);
        HandOver(folder, page, WindowArea());
    }
    SelectPage(0);
    HandOverDropped(folder, pages, Control(ids::kPageFilesAndFolders, ids::kSearchPath));
    HandOverDropped(folder, pages + 1, Control(ids::kPageFilesAndFolders, ids::kFileMaskMode));

    // A search that reads a few thousand files, looked at while it runs: the Files and Folders page, then the Date
    // and Size page (Date and Size on before the run) with their controls greyed.
    testsupport::TempFolder slow;
    MakeSlowSearchTree(slow.Path());
    TypeMask(L"*.txt");
    TypePath(slow.Path());
    TypeText(L"text");
    SetChecked(ids::kPageDateAndSize, ids::kDateSelect, true);
    bool shown = false;
    WhileRunning([&] {
        if (!StopEnabled()) return false;
        SelectPage(0);
        HandOver(folder, pages + 2, WindowArea());
        SelectPage(2);
        HandOver(folder, pages + 3, WindowArea());
        shown = true;
        Click(GetDlgItem(Main(), ids::kStopButton));
        return true;
    });
    ClickSearch();
    EXPECT_TRUE(shown);
}

TEST_F(PagesDemo, DISABLED_ShowAFolderTypedOverEverywhere) {
    const std::wstring folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KVR_SHOT_DIR names the folder of the handshake files";
    OpenFresh();
    const HWND edit = PathEdit();
    ASSERT_EQ(WindowText(edit), L"Everywhere");
    testsupport::FocusAsPerson(edit);
    testsupport::PressKeys({VK_CONTROL, 'A'});
    testsupport::TypeKeys(L"C:\\windows\\system32");
    HandOver(folder, 8, WindowArea());
}

namespace {

class DatePageDemo : public PagesDemo {
protected:
    static void Choose(HWND combo, int index) {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(combo, CBN_SELCHANGE);
    }
};

} // namespace

TEST_F(DatePageDemo, DISABLED_ShowEachRange) {
    const std::wstring folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KVR_SHOT_DIR names the folder of the handshake files";
    Open();
    MINMAXINFO info{};
    SendMessageW(Main(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    SetWindowPos(Main(), nullptr, 0, 0, info.ptMinTrackSize.x, info.ptMinTrackSize.y, SWP_NOMOVE | SWP_NOZORDER);
    SelectPage(2);
    const auto item = [this](int id) { return Control(ids::kPageDateAndSize, id); };
    SetChecked(ids::kPageDateAndSize, ids::kDateSelect, true);
    SetChecked(ids::kPageDateAndSize, ids::kSizeSelect, true);
    // The middle row shows a delay in units, the others a delay date.
    const int delays[] = {engine::ddDate, engine::ddDays, engine::ddDate};
    for (int range = 0; range < 4; ++range) {
        for (int row = 0; row < 3; ++row) {
            SetChecked(ids::kPageDateAndSize, ids::DateRowId(row, ids::kRowSelect), true);
            Choose(item(ids::DateRowId(row, ids::kRowRange)), engine::drNewerThen);
            Choose(item(ids::DateRowId(row, ids::kRowDelay)), delays[row]);
            Choose(item(ids::DateRowId(row, ids::kRowRange)), range);
        }
        Choose(item(ids::kSizeRange), range);
        HandOver(folder, range, WindowArea());
    }
}
