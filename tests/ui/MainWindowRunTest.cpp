// The main window while a search runs: stopping between start folders, a walk that fails, and closing, ending
// the session or quitting in the middle of a walk.
#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/WildcardMask.h"
#include "kit/MessageLoop.h"
#include "kit/Strings.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"

using namespace uitest;
namespace ids = ui::ids;

namespace {

constexpr int kBigFolders = 20;
constexpr int kBigFilesPerFolder = 150;
constexpr int kBigFiles = kBigFolders * kBigFilesPerFolder;

// A tree whose search, which reads every file for a text, is still running when the window is next looked
// at; made once for the suite, as it takes seconds under Wine.
class MainWindowRunTest : public MainWindowTest {
protected:
    static void SetUpTestSuite() {
        tree_ = new testsupport::TempFolder();
        big_ = tree_->Path() + L"big\\";
        std::vector<std::wstring> names;
        for (int f = 0; f < kBigFilesPerFolder; ++f) names.push_back(kit::Format(L"f%03d.txt", f));
        for (int d = 0; d < kBigFolders; ++d) MakeFiles(big_ + kit::Format(L"d%02d", d), names, "some text here");
        MakeFiles(tree_->Path() + L"first", {L"a.txt", L"b.txt"}, "text");
        MakeFiles(tree_->Path() + L"third", {L"c.txt"}, "text");
    }
    static void TearDownTestSuite() {
        delete tree_;
        tree_ = nullptr;
    }

    // A search through the big tree for a text every file holds.
    void TypeBigSearch(const std::wstring& path) {
        TypeMask(L"*.txt");
        TypePath(path);
        TypeText(L"text");
    }
    // The folder of the list's last row, as a person sees the list grow.
    std::wstring LastRowFolder() const {
        const int count = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
        if (count == 0) return {};
        wchar_t text[MAX_PATH * 2] = {};
        LVITEMW lv{};
        lv.iSubItem = 2;
        lv.pszText = text;
        lv.cchTextMax = static_cast<int>(std::size(text));
        SendMessageW(List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&lv));
        return text;
    }

    static testsupport::TempFolder* tree_;
    static std::wstring big_;
};

testsupport::TempFolder* MainWindowRunTest::tree_ = nullptr;
std::wstring MainWindowRunTest::big_;

bool SettingsFilesExist() {
    const app::TApplicationInit& settings = *app::GlobalApplicationInit;
    for (const std::wstring* file : {&settings.OptionsIniFileName, &settings.ParamsIniFileName,
                                     &settings.ItemsIniFileName, &settings.LayoutIniFileName,
                                     &settings.PositionIniFileName})
        if (!testsupport::FileExists(*file)) return false;
    return true;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) { return text.rfind(prefix, 0) == 0; }

} // namespace

TEST_F(MainWindowRunTest, StopDuringTheSecondStartFolderSkipsTheThird) {
    const std::wstring first = *tree_ / L"first\\", second = big_, third = *tree_ / L"third\\";
    Open();
    TypeBigSearch(first + L"|" + second + L"|" + third);
    WhileRunning([&] {
        if (!StartsWith(LastRowFolder(), second)) return false;
        Click(GetDlgItem(Main(), ids::kStopButton));
        return true;
    });
    ClickSearch();

    int fromFirst = 0, fromSecond = 0, fromThird = 0;
    const std::vector<Row> rows = Rows();
    for (const Row& row : rows) {
        fromFirst += StartsWith(row.folder, first);
        fromSecond += StartsWith(row.folder, second);
        fromThird += StartsWith(row.folder, third);
    }
    EXPECT_EQ(fromFirst, 2);
    EXPECT_GT(fromSecond, 0);
    EXPECT_LT(fromSecond, kBigFiles) << "the second walk ended early";
    EXPECT_EQ(fromThird, 0) << "the third folder is never walked";
    EXPECT_EQ(StatusText(1), kit::Format(L"Objects Found: %d Files and 0 Folders", static_cast<int>(rows.size())));
    EXPECT_FALSE(StatusText(0).empty()) << "the totals line";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Main(), ids::kSearchPause)));
    EXPECT_EQ(WindowText(GetDlgItem(Main(), ids::kSearchPause)), L"&Search");
}

TEST_F(MainWindowRunTest, PauseHoldsTheWalkAndContinueResumesIt) {
    Open();
    TypeBigSearch(big_);
    const HWND button = GetDlgItem(Main(), ids::kSearchPause);  // Pause during a run
    std::wstring pausedCaption;
    std::int64_t rowsAtPause = -1, rowsWhilePaused = -1, rowsAtContinue = -1, listedWhilePaused = -1;
    int ticksPaused = 0;
    WhileRunning([&] {
        if (!StopEnabled()) return false;
        if (pausedCaption.empty()) {
            Click(button);
            pausedCaption = WindowText(button);
            return false;
        }
        // The entry in hand when Pause was pressed (a file whose text is being read) may still be added: the
        // walk holds before the next one.
        if (rowsAtPause < 0) {
            if (++ticksPaused < 3) return false;
            rowsAtPause = window->Results().Count();
            return false;
        }
        if (rowsAtContinue < 0) {
            if (++ticksPaused < 8) return false;
            rowsWhilePaused = window->Results().Count();
            listedWhilePaused = SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0);
            Click(button);  // Continue
            rowsAtContinue = window->Results().Count();
            return false;
        }
        // Once it found more, the walk is stopped: the whole text search would take long here.
        if (window->Results().Count() <= rowsAtContinue) return false;
        Click(GetDlgItem(Main(), ids::kStopButton));
        return true;
    });
    ClickSearch();
    EXPECT_EQ(pausedCaption, L"&Continue");
    EXPECT_EQ(rowsWhilePaused, rowsAtPause) << "nothing found while paused";
    EXPECT_EQ(rowsAtContinue, rowsAtPause);
    EXPECT_EQ(listedWhilePaused, rowsWhilePaused) << "every row found before the pause is in the list";
    EXPECT_GT(window->Results().Count(), rowsAtPause) << "the walk went on";
    EXPECT_EQ(WindowText(button), L"&Search");
}

// A start path whose wildcard part holds more "*" runs than a mask may have makes its walk fail when the walker
// compiles it. The run reports that once and ends there: the later start paths are not walked, the rows found
// before stay, the totals are shown and the window is idle again. The same search fails the same way again.
TEST_F(MainWindowRunTest, AFailingWalkIsReportedOnceAndEndsTheRun) {
    const std::wstring first = *tree_ / L"first\\", third = *tree_ / L"third\\";
    std::wstring failing = third;
    for (int i = 0; i <= engine::TWildcardMask::MaxSkips; ++i) failing += L"*a";
    struct Case {
        const char* name;
        std::wstring paths;
        std::size_t rows;
        std::vector<std::wstring> sourceFolders;
    };
    const Case cases[] = {
        {"second of three", first + L"|" + failing + L"|" + third, 2, {first}},
        {"first of two", failing + L"|" + first, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        TypeMask(L"*.txt");
        TypePath(c.paths);
        for (int run = 0; run < 2; ++run) {
            SCOPED_TRACE(testing::Message() << "run " << run);
            interaction.asked.clear();
            ClickSearch();
            ASSERT_EQ(interaction.asked.size(), 1u) << "one report, nothing after it";
            const testsupport::AskedMessage& report = interaction.asked[0];
            EXPECT_TRUE(StartsWith(report.text, L"Error: ")) << kit::WideToUtf8(report.text);
            EXPECT_EQ(report.type, kit::MessageType::Error);
            EXPECT_EQ(report.buttons, kit::MessageButtons::Ok);

            const std::vector<Row> rows = Rows();
            EXPECT_EQ(rows.size(), c.rows);
            for (const Row& row : rows) EXPECT_TRUE(StartsWith(row.folder, first)) << row;
            EXPECT_EQ(StatusText(1), kit::Format(L"Objects Found: %d Files and 0 Folders", static_cast<int>(c.rows)));
            EXPECT_FALSE(StatusText(0).empty()) << "the totals line";
            EXPECT_EQ(window->SourceFolders(), c.sourceFolders) << "without the run's empty first entry";
            EXPECT_FALSE(window->Searching());
            EXPECT_FALSE(StopEnabled());
            EXPECT_TRUE(IsWindowEnabled(Page(ids::kPageFilesAndFolders)));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Main(), ids::kSearchPause)));
            EXPECT_EQ(WindowText(GetDlgItem(Main(), ids::kSearchPause)), L"&Search");
        }
    }
}

// Each way the window or the session can end while a walk runs: the walk unwinds, the settings are saved,
// and the loop ends normally.
TEST_F(MainWindowRunTest, EndingTheWindowDuringASearchStopsItAndSavesTheSettings) {
    struct Case {
        const char* name;
        bool pauseFirst;
        std::function<void(HWND)> end;
    };
    const Case cases[] = {
        {"close", false, [](HWND main) { PostMessageW(main, WM_CLOSE, 0, 0); }},
        {"close while paused", true, [](HWND main) { PostMessageW(main, WM_CLOSE, 0, 0); }},
        {"quit from a nested loop", false, [](HWND) { PostQuitMessage(0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenFresh();  // no settings files yet
        TypeBigSearch(big_);
        bool paused = false;
        WhileRunning([&] {
            if (!StopEnabled()) return false;
            if (c.pauseFirst && !paused) {
                Click(GetDlgItem(Main(), ids::kSearchPause));
                paused = true;
                return false;
            }
            c.end(Main());
            return true;
        });
        ClickSearch();
        EXPECT_LT(window->Results().Count(), kBigFiles) << "the walk was stopped";
        EXPECT_NE(window->hwnd(), nullptr) << "the window outlives the run";
        EXPECT_EQ(RunUntilClosed(), 0);
        EXPECT_EQ(window->hwnd(), nullptr);
        EXPECT_TRUE(SettingsFilesExist());
        EXPECT_FALSE(kit::QuitRequested());
    }
}

TEST_F(MainWindowRunTest, TheSessionEndingDuringASearchSavesAtOnce) {
    Open();
    TypeBigSearch(big_);
    bool savedAtOnce = false;
    WhileRunning([&] {
        if (!StopEnabled()) return false;
        EXPECT_EQ(SendMessageW(Main(), WM_QUERYENDSESSION, 0, 0), TRUE);
        SendMessageW(Main(), WM_ENDSESSION, TRUE, 0);
        savedAtOnce = SettingsFilesExist();
        return true;
    });
    ClickSearch();
    EXPECT_TRUE(savedAtOnce) << "Windows may end the process as soon as WM_ENDSESSION returns";
    EXPECT_LT(window->Results().Count(), kBigFiles) << "the walk was stopped";
}

// Several start paths on a drive without a medium are all left out without a question, so the run walks
// nothing: it shows no totals, and the source folders of the run before are gone without leaving an empty one.
TEST_F(MainWindowRunTest, ARunThatWalksNothingListsNoSourceFolder) {
    Open();
    TypeMask(L"*.txt");
    TypePath(*tree_ / L"first\\");
    ClickSearch();
    ASSERT_EQ(window->SourceFolders(), std::vector<std::wstring>{*tree_ / L"first\\"});

    TypePath(L"Q:\\photos|Q:\\music");
    ClickSearch();
    EXPECT_TRUE(interaction.asked.empty());
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(StatusText(0), L"") << "no totals";
    EXPECT_TRUE(window->SourceFolders().empty());
}
