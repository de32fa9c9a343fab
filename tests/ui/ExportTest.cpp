// The Export action of the main window: the folder and the save dialog it opens, the name it writes to, the
// status bar while it writes, the file opened afterwards, a writer that fails, and a window kept whole while
// the export runs.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "kit/Files.h"
#include "kit/Scope.h"
#include "kit/Strings.h"
#include "results/ResultTable.h"
#include "tests/support/DialogDriver.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/Screenshots.h"
#include "ui/ControlIds.h"

using namespace uitest;
namespace ids = ui::ids;
using kit::MessageAnswer;

namespace {

constexpr int kCsv = 3;  // the save dialog's types, counted from 1
constexpr int kWebPage = 4;
constexpr int kWebPageWithLinks = 5;
constexpr int kXml = 6;
constexpr const wchar_t* kDoneText = L" Done - Export Time: ";

// Rows as the search adds them, named file0001.txt and up, in `folder`.
void AddRows(results::TResultTable& table, int count, const std::wstring& folder) {
    for (int i = 1; i <= count; ++i)
        table.AddRow(table.Count() + 1, -1, {}, 45000.25, 45000.5, 44000.75, 1000.0L * i, L"", folder, -1,
                     kit::Format(L"file%04d.txt", i), -1);
}

// The named entry's file as its writer makes it alone, from a table of the same rows.
std::string WrittenAlone(int type, int rows, const std::wstring& rowFolder, const std::wstring& file) {
    results::TResultTable table;
    AddRows(table, rows, rowFolder);
    const results::TExportDef& entry = table.Exports()[static_cast<size_t>(type - 1)];
    results::TExportOptions options;
    options.CsvDelimiterChar = app::GlobalApplicationInit->Options.Exports.CSV.DelimiterChar;
    EXPECT_TRUE((table.*entry.Writer)(file, L"SearchResults", options));
    return testsupport::ReadBytes(file);
}

class ExportTest : public MainWindowTest {
protected:
    static constexpr int kRows = 3;

    void SetUp() override {
        MainWindowTest::SetUp();
        testsupport::RemoveTree(DocumentsProductFolder());
        Open();
        AddRows(window->Results(), kRows, rowFolder);
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        testsupport::RemoveTree(DocumentsProductFolder());
    }

    static std::wstring DocumentsProductFolder() { return app::GetDocumentsProductFolder(); }
    static app::TOptionsExports& ExportOptions() { return app::GlobalApplicationInit->Options.Exports; }
    void UseSelectedFolder(const std::wstring& folder) {
        ExportOptions().OutputFolder = app::eofSelected;
        ExportOptions().FolderSelected = folder;
    }
    // The person picks `typed` and the type in the save dialog; then the export runs to its end.
    void Export(const std::wstring& typed, int type) {
        interaction.saveAnswers.push_back(kit::SaveFileAnswer{typed, type});
        window->Actions().Execute(ids::actFILEExportResults);
    }
    HWND ProgressBar() const {
        return FindWindowExW(GetDlgItem(Main(), ids::kStatusBar), nullptr, PROGRESS_CLASSW, nullptr);
    }

    testsupport::TempFolder temp;
    std::wstring rowFolder = L"C:\\rows\\";
};

} // namespace

TEST_F(ExportTest, TheSaveDialogOffersTheSixTypesInTheExportFolder) {
    UseSelectedFolder(temp.Path());
    window->Actions().Execute(ids::actFILEExportResults);  // the person cancels
    ASSERT_EQ(interaction.saves.size(), 1u);
    const kit::SaveFileRequest& request = interaction.saves[0].request;
    EXPECT_EQ(interaction.saves[0].owner, Main());
    EXPECT_EQ(request.title, L"Export Results");
    EXPECT_EQ(request.typeIndex, 1);
    EXPECT_EQ(request.initialFolder, temp.Path());
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"Text File (*.txt)", L"*.txt"},
        {L"Tab Delimited Text File (*.txt)", L"*.txt"},
        {L"Comma Separated Values File (*.csv)", L"*.csv"},
        {L"Web Page File (*.htm; *.html)", L"*.html"},
        {L"Web Page File with Links (*.htm; *.html)", L"*.html"},
        {L"XML Document File (*.xml)", L"*.xml"},
    };
    ASSERT_EQ(request.types.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(request.types[i].name, expected[i].first);
        EXPECT_EQ(request.types[i].patterns, expected[i].second);
    }
    // Cancelled: nothing written, nothing opened, nothing asked.
    EXPECT_TRUE(interaction.asked.empty());
    EXPECT_TRUE(interaction.sleeps.empty());
    EXPECT_TRUE(interaction.shellRequests.empty());
}

TEST_F(ExportTest, TheExportFolderIsMadeOrGivesWayToTheRootOfC) {
    const std::wstring exports = app::GlobalApplicationInit->ExportsFolder;
    const std::wstring gone = temp / L"gone\\";  // selected once, deleted since
    struct Case {
        app::TOutputFolder outputFolder;
        std::wstring selected;
        bool blockDefault;  // a file where the default folder would be made
        std::vector<std::pair<kit::MessageType, std::wstring>> messages;
        std::wstring initialFolder;
    };
    const Case cases[] = {
        {app::eofDefault, L"", false, {}, exports},
        {app::eofSelected, temp.Path(), false, {}, temp.Path()},
        {app::eofSelected, gone, false,
         {{kit::MessageType::Warning, L"The Export Folder: '" + gone + L"' does not exist ."}}, L"C:\\"},
        {app::eofDefault, L"", true,
         {{kit::MessageType::Error, L"Unable to Create Export Directory."},
          {kit::MessageType::Warning, L"The Export Folder: '" + exports + L"' does not exist ."}},
         L"C:\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.initialFolder + L" from " + c.selected));
        testsupport::RemoveTree(DocumentsProductFolder());
        if (c.blockDefault) MakeFiles(DocumentsProductFolder(), {L"Exports"});
        ExportOptions().OutputFolder = c.outputFolder;
        ExportOptions().FolderSelected = c.selected;
        interaction.asked.clear();
        interaction.saves.clear();
        window->Actions().Execute(ids::actFILEExportResults);
        ASSERT_EQ(interaction.asked.size(), c.messages.size());
        for (size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(interaction.asked[i].type, c.messages[i].first);
            EXPECT_EQ(interaction.asked[i].buttons, kit::MessageButtons::Ok);
            EXPECT_EQ(interaction.asked[i].text, c.messages[i].second);
        }
        ASSERT_EQ(interaction.saves.size(), 1u);
        EXPECT_EQ(interaction.saves[0].request.initialFolder, c.initialFolder);
        if (c.outputFolder == app::eofDefault && !c.blockDefault) {
            EXPECT_TRUE(testsupport::FolderExists(exports));
        }
    }
}

// A relative selected folder in the options file, written by hand or by an older version, is never where the save
// dialog starts, even where it names a folder under the current directory: it is read as none.
TEST_F(ExportTest, ARelativeSelectedFolderFromTheFileIsNoStartFolder) {
    kit::ForceDirectories(temp / L"Exports");
    wchar_t previous[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(temp.Path().c_str()));
    const kit::ScopeExit restore([&] { SetCurrentDirectoryW(previous); });
    testsupport::WriteBytes(app::GlobalApplicationInit->OptionsIniFileName,
                            "[/Options/Exports]\r\nOutputFolder=eofSelected\r\nFolderSelected=Exports\r\n");
    app::GlobalApplicationInit->Options.Load();  // as the window's creation reads it

    window->Actions().Execute(ids::actFILEExportResults);  // the person cancels
    ASSERT_EQ(interaction.saves.size(), 1u);
    EXPECT_EQ(interaction.saves[0].request.initialFolder, L"C:\\");
    ASSERT_EQ(interaction.asked.size(), 1u);
    EXPECT_EQ(interaction.asked[0].text, L"The Export Folder: '' does not exist .");  // as with none selected
}

// What the person typed, the type picked, a file already there and the answer to the question about it.
TEST_F(ExportTest, TheNameGetsTheTypesExtensionUnlessItHasOneInAnyCase) {
    struct Case {
        const wchar_t* typed;
        int type;
        bool existing;  // the written name is there already, with other content
        MessageAnswer answer;
        const wchar_t* written;  // the name the file is written to; null: nothing written
    };
    const Case cases[] = {
        {L"results", kCsv, false, MessageAnswer::No, L"results.csv"},
        {L"results", kCsv, true, MessageAnswer::Yes, L"results.csv"},
        {L"results", kCsv, true, MessageAnswer::No, nullptr},
        {L"results.CSV", kCsv, false, MessageAnswer::No, L"results.CSV"},
        {L"results.CSV", kCsv, true, MessageAnswer::No, L"results.CSV"},  // the dialog itself asked
        {L"notes.txt", kCsv, false, MessageAnswer::No, L"notes.txt.csv"},
        {L"page.htm", kWebPage, false, MessageAnswer::No, L"page.htm"},
        {L"page.HTML", kWebPageWithLinks, false, MessageAnswer::No, L"page.HTML"},
        {L"page", kWebPage, false, MessageAnswer::No, L"page.html"},
        {L"packet.Xml", kXml, false, MessageAnswer::No, L"packet.Xml"},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.typed) + " as type " + std::to_string(c.type));
        const std::wstring folder = temp / kit::Format(L"case%d\\", index++);
        const std::wstring target = folder + (c.written ? c.written : L"results.csv");
        const std::string before = "an earlier export\r\n";
        MakeFiles(folder, {});
        if (c.existing) testsupport::WriteBytes(target, before);
        interaction.asked.clear();
        interaction.answers = {c.answer};
        interaction.sleeps.clear();
        interaction.shellRequests.clear();
        const std::wstring statusBefore = StatusText(0);
        std::wstring statusWhileWaiting;
        bool progressShownWhileWaiting = false, enabledWhileWaiting = true;
        interaction.onSleep = [&](DWORD) {
            statusWhileWaiting = StatusText(0);
            progressShownWhileWaiting = IsWindowVisible(ProgressBar()) != FALSE;
            enabledWhileWaiting = IsWindowEnabled(Main()) != FALSE;
            if (const std::wstring shots = ScreenshotFolder(); !shots.empty() && index == 1) {
                RECT area;
                GetWindowRect(Main(), &area);
                HandOver(shots, 3, area);
            }
        };

        Export(folder + c.typed, c.type);

        const bool appended = c.written && std::wstring(c.written) != c.typed;
        const bool asked = c.existing && (appended || !c.written);
        ASSERT_EQ(interaction.asked.size(), asked ? 1u : 0u);
        if (asked) {
            const testsupport::AskedMessage& question = interaction.asked[0];
            EXPECT_EQ(question.text, target + L" already exists.\r\nOverwrite?");
            EXPECT_EQ(question.caption, L"Export Results");
            EXPECT_EQ(question.buttons, kit::MessageButtons::YesNo);
            EXPECT_EQ(question.type, kit::MessageType::Warning);
            EXPECT_EQ(question.defaultAnswer, MessageAnswer::No);
        }
        if (!c.written) {
            // Answered No: the file as it was, and no sign of an export in the window.
            EXPECT_EQ(testsupport::ReadBytes(target), before);
            EXPECT_TRUE(interaction.sleeps.empty());
            EXPECT_TRUE(interaction.shellRequests.empty());
            EXPECT_EQ(StatusText(0), statusBefore);
            continue;
        }
        EXPECT_EQ(testsupport::ReadBytes(target), WrittenAlone(c.type, kRows, rowFolder, temp / L"alone.tmp"));
        EXPECT_EQ(testsupport::FolderEntries(folder), std::vector<std::wstring>{kit::ExtractFileName(target)})
            << "no partial file left beside it";
        // The entry's title with the export time, for two seconds, over the disabled window; then the summary.
        const std::wstring title = window->Results().Exports()[static_cast<size_t>(c.type - 1)].Title;
        EXPECT_EQ(interaction.sleeps, std::vector<DWORD>{2000});
        EXPECT_TRUE(kit::StartsWithText(statusWhileWaiting, title + kDoneText)) << kit::WideToUtf8(statusWhileWaiting);
        EXPECT_TRUE(progressShownWhileWaiting);
        EXPECT_FALSE(enabledWhileWaiting);
        EXPECT_TRUE(IsWindowEnabled(Main()));
        EXPECT_FALSE(IsWindowVisible(ProgressBar()));
        EXPECT_EQ(StatusText(0).find(kDoneText), std::wstring::npos);
        // Then the file opens.
        ASSERT_EQ(interaction.shellRequests.size(), 1u);
        const kit::ShellRequest& open = interaction.shellRequests[0].request;
        EXPECT_EQ(interaction.shellRequests[0].owner, Main());
        EXPECT_EQ(open.verb, L"open");
        EXPECT_EQ(open.file, target);
        EXPECT_EQ(open.parameters, L"");
        EXPECT_EQ(open.directory, L"");
        EXPECT_EQ(open.showCommand, SW_SHOWNORMAL);
    }
}

TEST_F(ExportTest, AWriterThatCannotMakeItsFileReportsWhyAndLeavesNoFile) {
    const std::wstring target = temp / L"taken.csv";
    CreateDirectoryW(target.c_str(), nullptr);  // a folder in the file's place: running as root, nothing else fails
    const std::vector<std::wstring> before = testsupport::FolderEntries(temp.Path());
    Export(target, kCsv);
    ASSERT_EQ(interaction.asked.size(), 1u);
    EXPECT_EQ(interaction.asked[0].type, kit::MessageType::Error);
    EXPECT_TRUE(kit::StartsWithText(interaction.asked[0].text, L"Error: " + target)) << kit::WideToUtf8(interaction.asked[0].text);
    EXPECT_TRUE(interaction.sleeps.empty());
    EXPECT_TRUE(interaction.shellRequests.empty());
    EXPECT_EQ(StatusText(0).find(kDoneText), std::wstring::npos);
    EXPECT_TRUE(testsupport::FolderExists(target));
    EXPECT_EQ(testsupport::FolderEntries(temp.Path()), before) << "no partial file left";
    EXPECT_TRUE(IsWindowEnabled(Main()));
    EXPECT_FALSE(IsWindowVisible(ProgressBar()));
}

// A person who cannot wait: a search, a reset, a delete and a close arrive while 5,000 rows are written.
TEST_F(ExportTest, NothingChangesTheTableOrClosesTheWindowUnderTheWriter) {
    constexpr int kBigRows = 5000;
    // A search first, so Reset is enabled; a second one, if it ran, would find the file again.
    const std::wstring searched = temp / L"searched\\";
    MakeFiles(searched, {L"found.keep"});
    TypeMask(L"*.keep");
    TypePath(searched);
    ClickSearch();
    ASSERT_EQ(window->Results().Count(), 1);
    const std::wstring caption = Caption();
    const std::wstring objects = StatusText(1);  // a search starts by clearing it
    window->Results().Clear();
    AddRows(window->Results(), kBigRows, rowFolder);
    const std::wstring target = temp / L"big.csv";

    bool posted = false;
    WhileRunning([&] {
        if (!window->Results().Exporting()) return false;
        PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::actACTIONSearch, 0), 0);
        PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::actACTIONReset, 0), 0);
        PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ids::actEDITDelete, 0), 0);
        PostMessageW(List(), WM_KEYDOWN, VK_DELETE, 0);
        PostMessageW(Main(), WM_CLOSE, 0, 0);
        posted = true;
        return true;
    });
    Export(target, kCsv);

    ASSERT_TRUE(posted) << "the export ended before the person acted";
    ASSERT_TRUE(IsWindow(Main()));
    ASSERT_EQ(window->Results().Count(), kBigRows);
    for (int i = 0; i < kBigRows; ++i) {
        const results::TRow* row = window->Results().RowAt(i);
        ASSERT_EQ(row->Number, i + 1);
        ASSERT_EQ(row->Name(), kit::Format(L"file%04d.txt", i + 1));
    }
    // No search and no reset either: the totals, the criteria and the run's caption stay.
    EXPECT_EQ(StatusText(1), objects);
    EXPECT_EQ(kit::WindowText(MaskBox()), L"*.keep");
    EXPECT_EQ(Caption(), caption);
    EXPECT_EQ(testsupport::ReadBytes(target), WrittenAlone(kCsv, kBigRows, rowFolder, temp / L"alone.csv"));
    EXPECT_EQ(interaction.shellRequests.size(), 1u);
    // The close waited for the export, and comes now.
    RunUntilClosed();
    EXPECT_FALSE(IsWindow(Main()));
}

// The system's own save dialog, driven as a person would: the six types, no Help button, a name typed without
// its extension; and the program's current folder stays where it was, since a current folder is a folder in use
// (the person could no longer delete or rename the export folder while the program runs).
TEST_F(ExportTest, TheRealSaveDialogWritesTheNameTypedWithTheTypesExtension) {
    const auto currentFolder = [] {
        wchar_t folder[MAX_PATH] = L"";
        GetCurrentDirectoryW(MAX_PATH, folder);
        return std::wstring(folder);
    };
    const std::wstring startFolder = currentFolder();
    UseSelectedFolder(temp.Path());
    interaction.realSaveDialog = true;
    std::wstring title;
    std::vector<std::wstring> types;
    bool helpShown = true;
    testsupport::ShowWithPerson([&] { window->Actions().Execute(ids::actFILEExportResults); },
                                [&](HWND dialog) {
                                    if (!dialog) return;
                                    title = testsupport::TextOf(dialog);
                                    const HWND typeList = GetDlgItem(dialog, cmb1);
                                    for (int i = 0; i < SendMessageW(typeList, CB_GETCOUNT, 0, 0); ++i) {
                                        wchar_t text[100] = L"";
                                        SendMessageW(typeList, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                                        types.emplace_back(text);
                                    }
                                    const HWND help = GetDlgItem(dialog, pshHelp);
                                    helpShown = help && IsWindowVisible(help);
                                    if (const std::wstring shots = ScreenshotFolder(); !shots.empty()) {
                                        RECT area;
                                        GetWindowRect(dialog, &area);
                                        HandOver(shots, 1, area);
                                    }
                                    const HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13)
                                                                                : GetDlgItem(dialog, edt1);
                                    SetWindowTextW(name, (temp / L"typed").c_str());
                                    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                                });
    EXPECT_EQ(title, L"Export Results");
    ASSERT_EQ(types.size(), 6u);
    EXPECT_EQ(types[0], L"Text File (*.txt)");
    EXPECT_EQ(types[5], L"XML Document File (*.xml)");
    EXPECT_FALSE(helpShown);
    EXPECT_EQ(testsupport::ReadBytes(temp / L"typed.txt"), WrittenAlone(1, kRows, rowFolder, temp / L"alone.tmp"));
    ASSERT_EQ(interaction.shellRequests.size(), 1u);
    EXPECT_EQ(interaction.shellRequests[0].request.file, temp / L"typed.txt");
    EXPECT_EQ(currentFolder(), startFolder);
}
