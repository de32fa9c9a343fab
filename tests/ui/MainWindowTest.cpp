// The main window driven as a person drives it: typing into the boxes, clicking Search, reading the rows,
// the caption and the status bar.
#include <algorithm>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/SearchParams.h"
#include "tests/ui/MainWindowFixture.h"
#include "kit/Strings.h"
#include "ui/ControlIds.h"
#include "ui/PageLayout.h"

using namespace uitest;
namespace ids = ui::ids;

namespace {

std::vector<Row> Sorted(std::vector<Row> rows) {
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.folder + a.name < b.folder + b.name; });
    return rows;
}

} // namespace

TEST_F(MainWindowTest, OpensWithTheFourPagesAndAMinimumTrackSize) {
    Open();
    EXPECT_EQ(Caption(), L"Kolvaran");
    EXPECT_TRUE(IsWindowVisible(Main()));
    const HWND tabs = GetDlgItem(Main(), ids::kSelections);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    for (int page : {ids::kPageFilesAndFolders, ids::kPageContainingText, ids::kPageDateAndSize, ids::kPageAttributes})
        EXPECT_NE(Page(page), nullptr) << page;
    MINMAXINFO info{};
    SendMessageW(Main(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 680);
    EXPECT_EQ(info.ptMinTrackSize.y, 480);
    // A first start shows the criteria defaults.
    EXPECT_TRUE(Checked(ids::kPageFilesAndFolders, ids::kShowFileNames));
    EXPECT_TRUE(Checked(ids::kPageFilesAndFolders, ids::kShowFolderNames));
    EXPECT_TRUE(Checked(ids::kPageFilesAndFolders, ids::kSearchInSubfolders));
    EXPECT_TRUE(Checked(ids::kPageContainingText, ids::kSkipHiddenFiles));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Main(), ids::kResetButton)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Main(), ids::kStopButton)));
    EXPECT_TRUE(interaction.asked.empty());
}

TEST_F(MainWindowTest, ClickingATabShowsItsPageAlone) {
    Open();
    const int pages[] = {ids::kPageFilesAndFolders, ids::kPageContainingText, ids::kPageDateAndSize,
                         ids::kPageAttributes};
    for (int selected : {2, 3, 0}) {
        SelectPage(selected);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(IsWindowVisible(Page(pages[i])) != FALSE, i == selected) << "tab " << selected << ", page " << i;
    }
}

// The pages are laid out at a design width; the strip's frame leaves them less than that in the window. A
// control past the page's right margin runs into the frame or is cut off.
TEST_F(MainWindowTest, EveryControlOfEveryPageLiesInsideItsPage) {
    Open();
    for (int pageId : {ids::kPageFilesAndFolders, ids::kPageContainingText, ids::kPageDateAndSize,
                       ids::kPageAttributes}) {
        const HWND page = Page(pageId);
        RECT inside;
        GetClientRect(page, &inside);
        inside.right -= ui::layout::kMargin;
        for (HWND control = GetWindow(page, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
            RECT bounds;
            GetWindowRect(control, &bounds);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&bounds), 2);
            EXPECT_TRUE(bounds.left >= 0 && bounds.top >= 0 && bounds.right <= inside.right &&
                        bounds.bottom <= inside.bottom)
                << "page " << pageId << ", control " << GetDlgCtrlID(control) << " at " << bounds.left << ","
                << bounds.top << "-" << bounds.right << "," << bounds.bottom << " in " << inside.right << "x"
                << inside.bottom;
        }
    }
}

TEST_F(MainWindowTest, SearchListsTheMatchingFilesAndNamesTheRunInTheCaption) {
    testsupport::TempFolder fixture;
    MakeFiles(fixture.Path(), {L"a.txt", L"b.txt", L"c.doc"});
    MakeFiles(fixture / L"sub", {L"d.txt", L"e.bin"});
    Open();
    TypeMask(L"*.txt");
    TypePath(fixture.Path());
    ClickSearch();

    EXPECT_EQ(Caption(), L"Kolvaran - File Name: '*.txt' - Search Path: '" + fixture.Path() + L"'");
    const std::vector<Row> rows = Rows();
    std::vector<Row> found = rows;
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].number, std::to_wstring(i + 1)) << "numbered in the order found";
        found[i].number.clear();
    }
    EXPECT_EQ(Sorted(found), (std::vector<Row>{{L"a.txt", fixture.Path(), L""},
                                               {L"b.txt", fixture.Path(), L""},
                                               {L"d.txt", fixture / L"sub\\", L""}}));
    EXPECT_EQ(StatusText(1), L"Objects Found: 3 Files and 0 Folders");
    EXPECT_EQ(window->SourceFolders(), (std::vector<std::wstring>{fixture.Path(), fixture / L"sub\\"}));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Main(), ids::kResetButton))) << "a run makes Reset available";
    EXPECT_EQ(WindowText(GetDlgItem(Main(), ids::kSearchPause)), L"&Search") << "the button is Search again";
    EXPECT_TRUE(interaction.asked.empty());

    Click(GetDlgItem(Main(), ids::kResetButton));
    EXPECT_EQ(Caption(), L"Kolvaran");
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Main(), ids::kResetButton)));
}

TEST_F(MainWindowTest, AContainedTextListsFilesOnlyAndJoinsTheCaption) {
    testsupport::TempFolder fixture;
    testsupport::WriteBytes(fixture / L"a.txt", "the needle is here");
    testsupport::WriteBytes(fixture / L"b.txt", "only hay");
    MakeFiles(fixture / L"needle", {});
    testsupport::WriteBytes(fixture / L"needle\\c.log", "a needle again");
    Open();
    SetChecked(ids::kPageFilesAndFolders, ids::kShowFileNames, false);
    TypeMask(L"");
    TypePath(fixture.Path());
    TypeText(L"needle");
    ClickSearch();

    EXPECT_TRUE(Checked(ids::kPageFilesAndFolders, ids::kShowFileNames)) << "a content search lists files";
    EXPECT_EQ(Caption(), L"Kolvaran - Search Path: '" + fixture.Path() + L"' - Search Text: 'needle'");
    std::vector<Row> rows = Rows();
    for (Row& row : rows) row.number.clear();
    EXPECT_EQ(Sorted(rows), (std::vector<Row>{{L"a.txt", fixture.Path(), L""},
                                              {L"c.log", fixture / L"needle\\", L""}}))
        << "the folder named like the text is not listed";
}

TEST_F(MainWindowTest, AnInvalidMaskKeepsTheResultsAndPutsTheFocusOnTheMask) {
    testsupport::TempFolder fixture;
    MakeFiles(fixture.Path(), {L"a.txt", L"b.txt"});
    Open();
    TypeMask(L"*.txt");
    TypePath(fixture.Path());
    ClickSearch();
    ASSERT_EQ(Rows().size(), 2u);

    const HWND mode = Control(ids::kPageFilesAndFolders, ids::kFileMaskMode);
    SendMessageW(mode, CB_SETCURSEL, engine::nmManualWildcards, 0);
    Notify(mode, CBN_SELCHANGE);
    std::wstring bad;
    for (int i = 0; i < 31; ++i) bad += L"*a";  // more skips than a mask may hold
    TypeMask(bad);
    ClickSearch();

    EXPECT_EQ(Rows().size(), 2u) << "nothing cleared";
    const HWND focus = GetFocus();
    EXPECT_TRUE(focus == MaskBox() || IsChild(MaskBox(), focus));
    ASSERT_EQ(interaction.asked.size(), 1u);
    EXPECT_EQ(interaction.asked[0].type, kit::MessageType::Warning);
    EXPECT_EQ(Caption(), L"Kolvaran - File Name: '" + bad + L"' - Search Path: '" + fixture.Path() + L"'");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Main(), ids::kSearchPause)));
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsAndARestartRestoresThem) {
    testsupport::TempFolder fixture;
    MakeFiles(fixture.Path(), {L"a.txt"});
    Open();
    TypeMask(L"*.txt");
    TypePath(fixture.Path());
    ClickSearch();
    SetWindowPos(Main(), nullptr, 40, 30, 760, 560, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window->hwnd(), nullptr) << "the window is gone";

    const app::TApplicationInit& settings = *app::GlobalApplicationInit;
    for (const std::wstring* file : {&settings.OptionsIniFileName, &settings.ParamsIniFileName,
                                     &settings.ItemsIniFileName, &settings.LayoutIniFileName,
                                     &settings.PositionIniFileName}) {
        SCOPED_TRACE(testing::Message() << kit::WideToUtf8(*file));
        EXPECT_TRUE(testsupport::FileExists(*file));
    }

    Open();
    EXPECT_EQ(WindowText(MaskBox()), L"*.txt");
    EXPECT_EQ(WindowText(PathEdit()), fixture.Path());
    RECT bounds;
    GetWindowRect(Main(), &bounds);
    EXPECT_EQ(bounds.left, 40);
    EXPECT_EQ(bounds.top, 30);
    EXPECT_EQ(bounds.right - bounds.left, 760);
    EXPECT_EQ(bounds.bottom - bounds.top, 560);
}

TEST_F(MainWindowTest, TheFirstParameterChoosesTheSearchPath) {
    testsupport::TempFolder fixture;
    // Wine has no network drives, so no "<NETWORKDRIVES>" entry: the local-drives tag stands for both.
    Open({L"<LOCALDRIVES>", L"ignored"});
    const ui::TMRUFolderComboBox* path = &window->tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
    ASSERT_GE(path->SelectedIndex(), 0);
    EXPECT_EQ(path->Info(path->SelectedIndex()).Tag, L"<LOCALDRIVES>");

    Open({fixture.Path()});
    path = &window->tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
    EXPECT_EQ(WindowText(PathEdit()), fixture.Path());
    ASSERT_GT(path->Count(), path->BuiltInCount());
    EXPECT_EQ(path->Caption(path->BuiltInCount()), fixture.Path()) << "it heads the recent folders";
}
