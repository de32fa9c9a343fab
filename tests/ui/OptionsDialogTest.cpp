// The Options dialog over the program's options and the test prefix's registry, driven as a person drives it.
#include <gtest/gtest.h>

#include <memory>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "kit/Files.h"
#include "kit/Scope.h"
#include "kit/Strings.h"
#include "tests/support/AccessKeys.h"
#include "tests/support/ContextMenuVerbs.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/FakeRegistryWriter.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/PageLayoutCheck.h"
#include "ui/ControlIds.h"
#include "ui/FKvrOptions.h"

using testsupport::ClassesValue;
using testsupport::FakeInteraction;
using testsupport::FakeRegistryWriter;
using ui::TfrmKvrOptions;

namespace {

app::TApplicationOptions& Options() { return app::GlobalApplicationInit->Options; }

// The options file as the main window would write it now.
std::string SavedOptions() {
    Options().Save();
    return testsupport::ReadBytes(Options().FileName());
}

void Click(const kit::Control& control) { SendMessageW(control.hwnd(), BM_CLICK, 0, 0); }

class OptionsDialogTest : public testing::Test {
protected:
    void SetUp() override { testsupport::RemoveContextMenuVerbs(); }
    void TearDown() override {
        dialog.reset();
        testsupport::RemoveContextMenuVerbs();
    }
    // The dialog over the options as they are now, modeless and shown, so the test drives it on its own thread.
    TfrmKvrOptions& Open() {
        dialog = std::make_unique<TfrmKvrOptions>();
        dialog->CreateModeless(nullptr);
        dialog->Show();
        return *dialog;
    }
    // The boxes of one Save or Load column, the master first.
    std::vector<kit::CheckBox*> Column(int index) {
        TfrmKvrOptions& d = *dialog;
        switch (index) {
        case 0: return {&d.chbSAVESearchParams, &d.chbSAVEFilesAndFoldersParams, &d.chbSAVEContainingTextParams,
                        &d.chbSAVEDateAndSizeParams, &d.chbSAVEAttributesParams};
        case 1: return {&d.chbLOADSearchParams, &d.chbLOADFilesAndFoldersParams, &d.chbLOADContainingTextParams,
                        &d.chbLOADDateAndSizeParams, &d.chbLOADAttributesParams};
        case 2: return {&d.chbSAVESearchItems, &d.chbSAVEFileNameItems, &d.chbSAVESearchPathItems,
                        &d.chbSAVESearchTextItems};
        default: return {&d.chbLOADSearchItems, &d.chbLOADFileNameItems, &d.chbLOADSearchPathItems,
                         &d.chbLOADSearchTextItems};
        }
    }

    uitest::ProgramObjects program;
    FakeInteraction interaction;
    std::unique_ptr<TfrmKvrOptions> dialog;
};

} // namespace

TEST_F(OptionsDialogTest, ShowsTheOptionsAndOkStoresTheBoxes) {
    testsupport::TempFolder exports;
    app::TOptionsSearchParams& params = Options().SearchParams;
    params.Save = false;
    params.FilesAndFolders.Load = false;
    params.DateAndSize.Load = true;
    Options().SearchItems.Load = false;
    Options().SearchItems.SearchTextSave = false;
    Options().Exports.OutputFolder = app::eofSelected;
    Options().Exports.FolderSelected = exports.Path();
    Options().Exports.CSV.DelimiterChar = L";";

    TfrmKvrOptions& d = Open();
    EXPECT_EQ(d.ShownPage(), TfrmKvrOptions::pgExports);
    EXPECT_FALSE(d.chbSAVESearchParams.Checked());
    EXPECT_FALSE(d.chbSAVEFilesAndFoldersParams.Enabled()) << "a master off disables its column";
    EXPECT_TRUE(d.chbSAVEFilesAndFoldersParams.Checked());
    EXPECT_TRUE(d.chbLOADSearchParams.Checked());
    EXPECT_FALSE(d.chbLOADFilesAndFoldersParams.Checked());
    EXPECT_TRUE(d.chbLOADDateAndSizeParams.Checked());
    EXPECT_TRUE(d.chbLOADDateAndSizeParams.Enabled());
    EXPECT_FALSE(d.chbLOADSearchItems.Checked());
    EXPECT_FALSE(d.chbLOADFileNameItems.Enabled());
    EXPECT_FALSE(d.chbSAVESearchTextItems.Checked());
    EXPECT_TRUE(d.rbEXPUseSelectedFolder.Checked());
    EXPECT_FALSE(d.rbEXPUseDefaultFolder.Checked());
    EXPECT_EQ(d.edEXPSelectedFolder.Text(), exports.Path());
    EXPECT_TRUE(d.edEXPSelectedFolder.Enabled());
    EXPECT_EQ(d.cbEXPAsCSVDelimiterChar.ItemText(d.cbEXPAsCSVDelimiterChar.SelectedIndex()), L";");

    d.ShowPage(TfrmKvrOptions::pgSearchParams);
    Click(d.chbSAVESearchParams);
    Click(d.chbSAVEAttributesParams);
    Click(d.chbLOADDateAndSizeParams);
    d.ShowPage(TfrmKvrOptions::pgSearchItems);
    Click(d.chbLOADSearchItems);
    d.ShowPage(TfrmKvrOptions::pgExports);
    Click(d.rbEXPUseDefaultFolder);
    d.cbEXPAsCSVDelimiterChar.Select(0);
    Click(d.bbtnOK);

    EXPECT_FALSE(d.Visible()) << "closed";
    EXPECT_TRUE(params.Save);
    EXPECT_TRUE(params.Attributes.Save);
    EXPECT_FALSE(params.DateAndSize.Load);
    EXPECT_FALSE(params.FilesAndFolders.Load);
    EXPECT_TRUE(Options().SearchItems.Load);
    EXPECT_FALSE(Options().SearchItems.SearchTextSave);
    EXPECT_EQ(Options().Exports.OutputFolder, app::eofDefault);
    EXPECT_EQ(Options().Exports.FolderSelected, exports.Path());
    EXPECT_EQ(Options().Exports.CSV.DelimiterChar, L",");
    EXPECT_TRUE(interaction.asked.empty());
}

// The other way: from the default folder to a folder of the person's, typed where none was before.
TEST_F(OptionsDialogTest, OkStoresTheSelectedExportFolderAndItsChoice) {
    testsupport::TempFolder exports;
    Options().Exports.OutputFolder = app::eofDefault;
    Options().Exports.FolderSelected = L"";
    TfrmKvrOptions& d = Open();
    d.ShowPage(TfrmKvrOptions::pgExports);
    Click(d.rbEXPUseSelectedFolder);
    d.edEXPSelectedFolder.SetText(exports.Path());
    Click(d.bbtnOK);
    EXPECT_FALSE(d.Visible()) << "closed";
    EXPECT_TRUE(interaction.asked.empty());
    EXPECT_EQ(Options().Exports.OutputFolder, app::eofSelected);
    EXPECT_EQ(Options().Exports.FolderSelected, exports.Path());
}

TEST_F(OptionsDialogTest, AMasterBoxAndItsColumnKeepEachOtherConsistent) {
    TfrmKvrOptions& d = Open();
    for (int column = 0; column < 4; ++column) {
        SCOPED_TRACE(testing::Message() << "column " << column);
        d.ShowPage(column < 2 ? TfrmKvrOptions::pgSearchParams : TfrmKvrOptions::pgSearchItems);
        const std::vector<kit::CheckBox*> boxes = Column(column);
        kit::CheckBox& master = *boxes.front();
        ASSERT_TRUE(master.Checked());
        // Unchecking the last checked box of the column unchecks the master, which disables them all.
        for (std::size_t i = 1; i < boxes.size(); ++i) {
            if (!boxes[i]->Checked()) continue;
            EXPECT_TRUE(master.Checked());
            Click(*boxes[i]);
        }
        EXPECT_FALSE(master.Checked());
        for (std::size_t i = 1; i < boxes.size(); ++i) EXPECT_FALSE(boxes[i]->Enabled()) << i;
        // Checking the master with none of its boxes checked checks the first.
        Click(master);
        EXPECT_TRUE(master.Checked());
        EXPECT_TRUE(boxes[1]->Checked());
        for (std::size_t i = 1; i < boxes.size(); ++i) EXPECT_TRUE(boxes[i]->Enabled()) << i;
        for (std::size_t i = 2; i < boxes.size(); ++i) EXPECT_FALSE(boxes[i]->Checked()) << i;
    }
}

TEST_F(OptionsDialogTest, AMissingExportFolderIsRefusedBeforeAnythingIsStored) {
    for (const std::wstring folder : {L"C:\\no such folder", L""}) {
        SCOPED_TRACE(testing::Message() << "folder '" << kit::WideToUtf8(folder) << "'");
        interaction.asked.clear();
        const std::string before = SavedOptions();
        TfrmKvrOptions& d = Open();
        d.ShowPage(TfrmKvrOptions::pgSearchParams);
        Click(d.chbSAVEAttributesParams);
        d.ShowPage(TfrmKvrOptions::pgContextMenuIntegration);
        Click(d.chbCMIAddtemToFolders);
        Click(d.rbEXPUseSelectedFolder);
        d.edEXPSelectedFolder.SetText(folder);
        d.cbEXPAsCSVDelimiterChar.Select(1);
        Click(d.bbtnOK);

        ASSERT_EQ(interaction.asked.size(), 1u);
        EXPECT_EQ(interaction.asked[0].text, L"The Export Selected Folder: '" + folder + L"' does not exist .");
        EXPECT_EQ(interaction.asked[0].type, kit::MessageType::Warning);
        EXPECT_EQ(interaction.asked[0].buttons, kit::MessageButtons::Ok);
        EXPECT_TRUE(d.Visible()) << "the dialog stays open";
        EXPECT_EQ(d.ShownPage(), TfrmKvrOptions::pgExports);
        EXPECT_EQ(GetFocus(), d.edEXPSelectedFolder.hwnd());
        EXPECT_EQ(SavedOptions(), before) << "nothing stored";
        EXPECT_EQ(ClassesValue(L"Directory\\shell\\Kolvaran", nullptr), L"(none)");

        Click(d.bbtnCancel);
        EXPECT_FALSE(d.Visible());
        EXPECT_EQ(SavedOptions(), before);
        EXPECT_EQ(ClassesValue(L"Directory\\shell\\Kolvaran", nullptr), L"(none)");
    }
}

// A folder that is not fully qualified is refused, and told so, even where it names a folder under the current
// directory: an export would write wherever the current directory happens to be then.
TEST_F(OptionsDialogTest, ARelativeExportFolderIsRefused) {
    testsupport::TempFolder current;
    kit::ForceDirectories(current / L"Exports");
    wchar_t previous[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(current.Path().c_str()));
    const kit::ScopeExit restore([&] { SetCurrentDirectoryW(previous); });
    // Relative to the current directory, to the current directory of a drive, to the current drive's root.
    const std::wstring folders[] = {L"Exports", L".", current.Path().substr(0, 2) + L"Exports",
                                    current.Path().substr(2) + L"Exports"};
    for (const std::wstring& folder : folders) {
        SCOPED_TRACE(testing::Message() << "folder '" << kit::WideToUtf8(folder) << "'");
        ASSERT_TRUE(kit::DirectoryExists(folder));
        interaction.asked.clear();
        const std::string before = SavedOptions();
        TfrmKvrOptions& d = Open();
        Click(d.rbEXPUseSelectedFolder);
        d.edEXPSelectedFolder.SetText(folder);
        Click(d.bbtnOK);

        ASSERT_EQ(interaction.asked.size(), 1u);
        EXPECT_EQ(interaction.asked[0].text, L"The Export Selected Folder: '" + folder +
                                                 L"' must be a full path, such as C:\\Exports or "
                                                 L"\\\\server\\share\\Exports.");
        EXPECT_TRUE(d.Visible()) << "the dialog stays open";
        EXPECT_EQ(SavedOptions(), before) << "nothing stored";
        Click(d.bbtnCancel);
    }
    // The same folder fully qualified is taken.
    interaction.asked.clear();
    TfrmKvrOptions& d = Open();
    Click(d.rbEXPUseSelectedFolder);
    d.edEXPSelectedFolder.SetText(current / L"Exports");
    Click(d.bbtnOK);
    EXPECT_TRUE(interaction.asked.empty());
    EXPECT_FALSE(d.Visible());
    EXPECT_EQ(Options().Exports.FolderSelected, current / L"Exports");
}

TEST_F(OptionsDialogTest, TheFolderBoxFollowsTheRadioButtonsAndTheBrowserFillsIt) {
    TfrmKvrOptions& d = Open();
    EXPECT_TRUE(d.rbEXPUseDefaultFolder.Checked());
    EXPECT_FALSE(d.edEXPSelectedFolder.Enabled());
    EXPECT_FALSE(d.bbtEXPBrowseFolder.Enabled());
    Click(d.rbEXPUseSelectedFolder);
    EXPECT_TRUE(d.edEXPSelectedFolder.Enabled());
    EXPECT_TRUE(d.bbtEXPBrowseFolder.Enabled());

    // What the edit holds, what the browser answers (none: Cancel), and the edit afterwards.
    struct Case { const wchar_t* before; std::optional<std::wstring> chosen; const wchar_t* start; const wchar_t* after; };
    const Case cases[] = {
        {L"C:\\windows", L"C:\\users", L"C:\\windows\\", L"C:\\users"},
        {L"C:\\windows", std::nullopt, L"C:\\windows\\", L"C:\\windows"},
        {L"", L"C:\\users", L"", L"C:\\users"},
    };
    for (const Case& c : cases) {
        d.edEXPSelectedFolder.SetText(c.before);
        interaction.folderBrowses.clear();
        interaction.folderAnswers = {c.chosen};
        Click(d.bbtEXPBrowseFolder);
        ASSERT_EQ(interaction.folderBrowses.size(), 1u);
        EXPECT_EQ(interaction.folderBrowses[0].owner, d.hwnd());
        EXPECT_EQ(interaction.folderBrowses[0].request.caption, L"Browse Folder");
        EXPECT_EQ(interaction.folderBrowses[0].request.startFolder, c.start);
        EXPECT_EQ(d.edEXPSelectedFolder.Text(), c.after);
    }
    Click(d.rbEXPUseDefaultFolder);
    EXPECT_FALSE(d.edEXPSelectedFolder.Enabled());
}

TEST_F(OptionsDialogTest, OkWritesTheCheckedVerbsAndUncheckingRemovesThem) {
    TfrmKvrOptions& d = Open();
    d.ShowPage(TfrmKvrOptions::pgContextMenuIntegration);
    EXPECT_FALSE(d.chbCMIAddItemToDrives.Checked());
    Click(d.chbCMIAddItemToDrives);
    Click(d.chbCMIAddtemToFolders);
    Click(d.bbtnOK);
    EXPECT_TRUE(interaction.asked.empty());

    const std::wstring exe = L"\"" + app::GlobalApplicationInit->ExeFileName + L"\"";
    for (const testsupport::ContextMenuVerb& verb : testsupport::kContextMenuVerbs) {
        SCOPED_TRACE(testing::Message() << verb.key);
        const bool made = verb.bit == 4 || verb.bit == 8;
        EXPECT_EQ(ClassesValue(verb.key, nullptr), made ? L"Search with Kolvaran..." : L"(none)");
        EXPECT_EQ(ClassesValue(verb.key, L"Icon"), made ? exe : L"(none)");
        EXPECT_EQ(ClassesValue(std::wstring(verb.key) + L"\\command", nullptr),
                  made ? exe + L" \"%1\"" : L"(none)");
    }

    TfrmKvrOptions& again = Open();
    again.ShowPage(TfrmKvrOptions::pgContextMenuIntegration);
    EXPECT_FALSE(again.chbCMIAddItemToMyComputer.Checked());
    EXPECT_FALSE(again.chbCMIAddItemToMyDocuments.Checked());
    EXPECT_TRUE(again.chbCMIAddItemToDrives.Checked());
    EXPECT_TRUE(again.chbCMIAddtemToFolders.Checked());
    Click(again.chbCMIAddItemToDrives);
    Click(again.chbCMIAddtemToFolders);
    Click(again.bbtnOK);
    for (const testsupport::ContextMenuVerb& verb : testsupport::kContextMenuVerbs)
        EXPECT_EQ(ClassesValue(verb.key, nullptr), L"(none)") << verb.key;
}

TEST_F(OptionsDialogTest, CancelOrUnchangedBoxesLeaveTheRegistryAlone) {
    FakeRegistryWriter registry;
    TfrmKvrOptions& d = Open();
    d.ShowPage(TfrmKvrOptions::pgContextMenuIntegration);
    Click(d.chbCMIAddItemToDrives);
    Click(d.bbtnCancel);
    TfrmKvrOptions& again = Open();
    Click(again.bbtnOK);
    EXPECT_EQ(registry.calls, std::vector<std::wstring>{});
    EXPECT_EQ(ClassesValue(L"Drive\\shell\\Kolvaran", nullptr), L"(none)");
}

TEST_F(OptionsDialogTest, ARefusedWriteWarnsAndTheBoxesShowWhatReallyHolds) {
    // A key the registry refuses to make gives the administrator warning; a value it refuses to write gives the
    // error naming the step, and no warning on top.
    struct Case { bool refuseKey; const wchar_t* message; kit::MessageType type; };
    const Case cases[] = {
        {true,
         L"It was not possible to change all Options for the context menu Integration.\r\n"
         L"In order to save these Options you must run Kolvaran as Administrator.",
         kit::MessageType::Warning},
        {false,
         L"Function: Check Option Write Value for <Add \"Kolvaran...\" Item to Drives>\r\nError: Access is denied.",
         kit::MessageType::Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.refuseKey ? "key refused" : "write refused"));
        testsupport::RemoveContextMenuVerbs();
        interaction.asked.clear();
        FakeRegistryWriter registry;
        (c.refuseKey ? registry.refusedCreates : registry.refusedWrites).insert(L"Drive\\shell\\Kolvaran");
        TfrmKvrOptions& d = Open();
        d.ShowPage(TfrmKvrOptions::pgContextMenuIntegration);
        Click(d.chbCMIAddItemToMyComputer);
        Click(d.chbCMIAddItemToDrives);
        Click(d.chbCMIAddtemToFolders);
        Click(d.bbtnOK);
        ASSERT_EQ(interaction.asked.size(), 1u);
        EXPECT_EQ(interaction.asked[0].text, c.message);
        EXPECT_EQ(interaction.asked[0].type, c.type);
        EXPECT_EQ(interaction.asked[0].buttons, kit::MessageButtons::Ok);
        EXPECT_TRUE(d.chbCMIAddItemToMyComputer.Checked());
        EXPECT_FALSE(d.chbCMIAddItemToDrives.Checked());
        // A failed write skips the places after it.
        EXPECT_EQ(d.chbCMIAddtemToFolders.Checked(), c.refuseKey);
        EXPECT_EQ(ClassesValue(L"Directory\\shell\\Kolvaran", nullptr) != L"(none)", c.refuseKey);
    }
}

TEST_F(OptionsDialogTest, EveryPageFitsAndHasNoAccessKeyClash) {
    TfrmKvrOptions& d = Open();
    const ui::TDialogPage* pages[] = {&d.tshSearchParams, &d.tshSearchItems, &d.tshExports, &d.tshExportAsCSV,
                                      &d.tshContextMenuIntegration};
    for (int page = 0; page < 5; ++page) {
        SCOPED_TRACE(testing::Message() << kit::WideToUtf8(d.tvConfigMenu.Caption(page)));
        d.ShowPage(page);
        EXPECT_EQ(d.ShownPage(), page);
        EXPECT_TRUE(IsWindowVisible(pages[page]->hwnd()));
        EXPECT_TRUE(testsupport::AccessKeyClashes(d.hwnd()).empty());
        for (const std::wstring& fault : uitest::LayoutFaults(pages[page]->hwnd())) ADD_FAILURE() << kit::WideToUtf8(fault);
    }
}
