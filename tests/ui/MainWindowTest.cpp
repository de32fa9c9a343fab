// The main window driven as a person drives it: typing into the boxes, clicking Search, reading the rows,
// the caption and the status bar.
#include <algorithm>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/SearchParams.h"
#include "kit/CommandLine.h"
#include "kit/Files.h"
#include "tests/support/AccessKeys.h"
#include "tests/support/Keyboard.h"
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
    // 680 wide, and twice what the time pickers grew by beyond their design width of 69 for the time format.
    RECT time;
    GetWindowRect(Control(ids::kPageDateAndSize, ids::DateRowId(0, ids::kRowFromTime)), &time);
    EXPECT_EQ(info.ptMinTrackSize.x, 680 + 2 * std::max(0L, time.right - time.left - 69));
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

// Alt and a letter reaches one control: every page with the shared buttons under it.
TEST_F(MainWindowTest, NoTwoControlsOfAPageShareAnAccessKey) {
    Open();
    for (int index = 0; index < 4; ++index) {
        SelectPage(index);
        for (const std::wstring& clash : testsupport::AccessKeyClashes(Main()))
            ADD_FAILURE() << "page " << index << ": " << kit::WideToUtf8(clash);
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
    // A tag selects its built-in entry (the test session has a local and a network drive); any other text,
    // a tag in the wrong case too, becomes the search path and heads the recent folders.
    struct Case {
        const char* name;
        std::vector<std::wstring> parameters;
        std::wstring tag;     // the selected built-in entry's, or empty
        std::wstring recent;  // else the text that heads the recent folders
    };
    const Case cases[] = {
        {"local drives", {L"<LOCALDRIVES>", L"ignored"}, L"<LOCALDRIVES>", L""},
        {"network drives", {L"<NETWORKDRIVES>"}, L"<NETWORKDRIVES>", L""},
        {"a folder", {fixture.Path(), L"<LOCALDRIVES>"}, L"", fixture.Path()},
        {"a tag in the wrong case", {L"<networkdrives>"}, L"", L"<networkdrives>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenFresh(c.parameters);  // no recent folders from the case before
        const ui::TMRUFolderComboBox& path = window->tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
        const int selected = path.SelectedIndex();
        ASSERT_GE(selected, 0);
        EXPECT_EQ(WindowText(PathEdit()), path.Caption(selected));
        if (!c.tag.empty()) {
            EXPECT_LT(selected, path.BuiltInCount());
            EXPECT_EQ(path.Info(selected).Tag, c.tag);
        } else {
            EXPECT_EQ(selected, path.BuiltInCount());
            EXPECT_EQ(path.Caption(selected), c.recent);
        }
    }
}

// "Search with Kolvaran..." on a drive: Explorer fills the verb's `"<exe>" "%1"` with the drive's root. The box
// selects the drive's own entry, shown by the drive's name, and searches its root.
TEST_F(MainWindowTest, TheDriveEntrysCommandLineMakesTheDriveTheSearchPath) {
    OpenFresh(kit::CommandLineParameters(L"\"" + kit::ExecutablePath() + L"\" \"Z:\\\""));
    ui::TMRUFolderComboBox& path = window->tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
    std::wstring searched;
    path.GetPaths(searched);
    EXPECT_EQ(searched, L"Z:\\");
    const int selected = path.SelectedIndex();
    ASSERT_GE(selected, 0);
    EXPECT_EQ(path.Info(selected).Tag, L"<Z:\\>");
    EXPECT_EQ(WindowText(PathEdit()), path.Caption(selected));
}

// Without Append Results a run starts from an empty list; with it the rows add up, numbered on from the rows
// already listed.
TEST_F(MainWindowTest, AppendResultsKeepsTheListedRowsAndNumbersOnFromThem) {
    testsupport::TempFolder fixture;
    const std::wstring one = fixture / L"one\\", two = fixture / L"two\\";
    MakeFiles(one, {L"a.txt", L"b.txt"});
    MakeFiles(two, {L"c.txt"});
    Open();
    TypeMask(L"*.txt");
    const auto search = [&](const std::wstring& folder, bool append) {
        SetChecked(ids::kPageFilesAndFolders, ids::kAppendResults, append);
        TypePath(folder);
        ClickSearch();
        return Rows();
    };
    ASSERT_EQ(search(one, false).size(), 2u);
    EXPECT_EQ(search(two, false), (std::vector<Row>{{L"c.txt", two, L"1"}})) << "the first run's rows are gone";

    std::vector<Row> rows = search(one, true);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{L"c.txt", two, L"1"})) << "the listed row stays first";
    std::vector<Row> added(rows.begin() + 1, rows.end());
    for (std::size_t i = 0; i < added.size(); ++i) {
        EXPECT_EQ(added[i].number, std::to_wstring(i + 2));
        added[i].number.clear();
    }
    EXPECT_EQ(Sorted(added), (std::vector<Row>{{L"a.txt", one, L""}, {L"b.txt", one, L""}}));
    rows = search(two, true);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3], (Row{L"c.txt", two, L"4"}));
    EXPECT_EQ(window->Results().Count(), 4);
}

// Maximising from the title bar (its button or a double click on the caption) stores the normal bounds before
// the window covers the screen, so a restart restores them rather than the whole screen; minimising stores
// nothing and leaves the window minimised.
TEST_F(MainWindowTest, MaximisingStoresTheNormalBoundsFirstAndMinimisingMinimises) {
    struct Case {
        const char* name;
        WPARAM command;
        bool stored, zoomed, iconic;
    };
    const Case cases[] = {
        {"maximise button", SC_MAXIMIZE, true, true, false},
        {"caption double click", SC_MAXIMIZE | HTCAPTION, true, true, false},
        {"minimise button", SC_MINIMIZE, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenFresh();  // no position file yet
        SetWindowPos(Main(), nullptr, 40, 30, 760, 560, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(Main(), WM_SYSCOMMAND, c.command, 0);
        EXPECT_EQ(IsZoomed(Main()) != FALSE, c.zoomed);
        EXPECT_EQ(IsIconic(Main()) != FALSE, c.iconic);

        const app::TApplicationInit& settings = *app::GlobalApplicationInit;
        ASSERT_EQ(testsupport::FileExists(settings.PositionIniFileName), c.stored);
        if (!c.stored) continue;
        app::TFormPlacement stored;
        settings.Position.Load(stored);
        EXPECT_EQ(stored.Left, 40);
        EXPECT_EQ(stored.Top, 30);
        EXPECT_EQ(stored.Width, 760);
        EXPECT_EQ(stored.Height, 560);
        EXPECT_EQ(stored.WindowState, app::wsNormal) << "stored before the window was maximised";
    }
}

// Large or Small Icons chosen while the window is maximised, then the window restored to its normal width: the
// icons stand in rows across the list's width again, not where the wide list had them behind a horizontal
// scroll bar. No two overlap, each lies within the list's width, and every one can be scrolled into view.
TEST_F(MainWindowTest, TheIconsFitTheListAgainOnceTheWindowIsRestored) {
    testsupport::TempFolder tree;
    std::vector<std::wstring> names;
    for (int i = 1; i <= 60; ++i) names.push_back(kit::Format(L"photo %02d.jpg", i));
    MakeFiles(tree.Path(), names);
    const auto itemBounds = [this](int index) {
        RECT item{};
        item.left = LVIR_BOUNDS;
        SendMessageW(List(), LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return item;
    };
    for (const int view : {ids::actVIEWIcon, ids::actVIEWSmallIcon}) {
        SCOPED_TRACE(view == ids::actVIEWIcon ? "Large Icons" : "Small Icons");
        Open();
        SetWindowPos(Main(), nullptr, 0, 0, 1024, 700, SWP_NOZORDER | SWP_NOACTIVATE);
        TypeMask(L"*");
        TypePath(tree.Path());
        ClickSearch();
        ASSERT_EQ(Rows().size(), names.size());
        ShowWindow(Main(), SW_MAXIMIZE);
        window->Actions().Execute(view);
        testsupport::RunPendingInput();
        ShowWindow(Main(), SW_RESTORE);
        testsupport::RunPendingInput();
        RECT frame{};
        GetWindowRect(Main(), &frame);
        ASSERT_EQ(frame.right - frame.left, 1024);

        RECT client{};
        GetClientRect(List(), &client);
        std::vector<RECT> items;
        std::vector<int> outside, overlapping, outOfReach;
        for (int i = 0; i < static_cast<int>(names.size()); ++i) {
            const RECT item = itemBounds(i);
            if (item.left < 0 || item.right > client.right) outside.push_back(i);
            for (const RECT& earlier : items) {
                RECT common{};
                if (IntersectRect(&common, &item, &earlier)) overlapping.push_back(i);
            }
            items.push_back(item);
        }
        EXPECT_EQ(outside, std::vector<int>{}) << "items past the list's " << client.right << " pixels";
        EXPECT_EQ(overlapping, std::vector<int>{}) << "items over an earlier one";
        EXPECT_FALSE(GetWindowLongPtrW(List(), GWL_STYLE) & WS_HSCROLL) << "no horizontal scroll bar";
        for (int i = 0; i < static_cast<int>(names.size()); ++i) {
            SendMessageW(List(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), FALSE);
            const RECT item = itemBounds(i);
            RECT shown{};
            if (!IntersectRect(&shown, &item, &client) || !EqualRect(&shown, &item)) outOfReach.push_back(i);
        }
        EXPECT_EQ(outOfReach, std::vector<int>{}) << "items that scrolling does not bring wholly into view";
    }
}
