// The main window driven as a person drives it: typing into the boxes, clicking Search, reading the rows,
// the caption and the status bar.
#include <algorithm>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/SearchParams.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"

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
