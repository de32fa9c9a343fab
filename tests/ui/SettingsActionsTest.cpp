// The Settings actions of the main window: the Options and the recent-items dialogs shown modal over it, driven by
// a person on another thread, and what the settings files hold after the window closed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <map>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/FileTypesIFilters.h"
#include "kit/MessageLoop.h"
#include "kit/Strings.h"
#include "tests/support/ContextMenuVerbs.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"
#include "ui/FKvrManageItems.h"
#include "ui/FKvrOptions.h"

using namespace uitest;
using testsupport::ShowWithPerson;
using ui::TfrmKvrManageItems;
using ui::TfrmKvrOptions;
namespace ids = ui::ids;

namespace {

// Every settings file by name, with its bytes.
std::map<std::wstring, std::string> SettingsFiles() {
    std::map<std::wstring, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(app::TApplicationInit::GetSettingsFolder()))
        files[entry.path().filename().wstring()] = testsupport::ReadBytes(entry.path().wstring());
    return files;
}

HWND Item(HWND dialog, int page, int id) { return GetDlgItem(GetDlgItem(dialog, page), id); }

class SettingsActionsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        testsupport::RemoveContextMenuVerbs();
    }
    void TearDown() override {
        testsupport::RemoveContextMenuVerbs();
        MainWindowTest::TearDown();
    }
    // Runs the action; `person` answers the dialog it opens.
    void Run(int action, const std::function<void(HWND dialog)>& person) {
        ShowWithPerson([&] { window->Actions().Execute(action); },
                       [&](HWND dialog) {
                           ASSERT_NE(dialog, nullptr);
                           person(dialog);
                           // A person who failed half-way leaves the dialog open; the test must not wait for ever.
                           if (!testsupport::WaitUntil([&] { return !IsWindow(dialog); }))
                               PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                       });
    }
};

} // namespace

TEST_F(SettingsActionsTest, OptionsCancelledChangeNoSettingsFileAndOkReachesTheFilesAndTheRegistry) {
    Open();
    // The content-filter scan runs once, soon after the loop starts, and changes what the criteria file holds.
    testsupport::WaitUntil([] {
        kit::ProcessMessagesNow();
        return app::GlobalFileTypesIFilters->Scanned();
    });
    Open();  // the first window's close wrote every settings file
    const auto before = SettingsFiles();
    ASSERT_TRUE(before.contains(L"KolvaranOptions.ini"));

    std::wstring caption;
    HWND owner = nullptr;
    Run(ids::actSETTINGSOptions, [&](HWND d) {
        caption = testsupport::TextOf(d);
        owner = GetWindow(d, GW_OWNER);
        Click(Item(d, TfrmKvrOptions::idSearchParamsPage, TfrmKvrOptions::idSAVEAttributesParams));
        Click(Item(d, TfrmKvrOptions::idSearchItemsPage, TfrmKvrOptions::idLOADSearchItems));
        Click(Item(d, TfrmKvrOptions::idContextMenuIntegrationPage, TfrmKvrOptions::idCMIAddItemToDrives));
        testsupport::PostKeyToFocus(d, VK_RETURN);  // Cancel is the default button
    });
    EXPECT_EQ(caption, L"Options");
    EXPECT_EQ(owner, Main());
    EXPECT_EQ(testsupport::ClassesValue(L"Drive\\shell\\Kolvaran", nullptr), L"(none)");
    Open();
    const auto after = SettingsFiles();
    EXPECT_EQ(after.size(), before.size());
    for (const auto& [name, bytes] : before) EXPECT_EQ(after.at(name), bytes) << kit::WideToUtf8(name);

    Run(ids::actSETTINGSOptions, [&](HWND d) {
        Click(Item(d, TfrmKvrOptions::idSearchParamsPage, TfrmKvrOptions::idSAVEAttributesParams));
        Click(Item(d, TfrmKvrOptions::idContextMenuIntegrationPage, TfrmKvrOptions::idCMIAddItemToDrives));
        Click(Item(d, TfrmKvrOptions::idContextMenuIntegrationPage, TfrmKvrOptions::idCMIAddtemToFolders));
        Click(GetDlgItem(d, IDOK));
    });
    EXPECT_EQ(testsupport::ClassesValue(L"Drive\\shell\\Kolvaran", nullptr), L"Search with Kolvaran...");
    EXPECT_EQ(testsupport::ClassesValue(L"Directory\\shell\\Kolvaran", nullptr), L"Search with Kolvaran...");
    EXPECT_EQ(testsupport::ClassesValue(L"Drive\\shell\\Kolvaran\\command", nullptr),
              L"\"" + app::GlobalApplicationInit->ExeFileName + L"\" \"%1\"");
    Open();
    app::TApplicationOptions stored(app::GlobalApplicationInit->OptionsIniFileName, L"");
    stored.Load();
    EXPECT_TRUE(stored.SearchParams.Attributes.Save);
    EXPECT_TRUE(interaction.asked.empty());
}

TEST_F(SettingsActionsTest, RecentItemsEditedGiveABoxItsTextBackOnlyWhileItIsListed) {
    testsupport::TempFolder tree;
    MakeFiles(tree.Path(), {L"a.txt", L"b.doc"});
    Open();
    TypePath(tree.Path());
    TypeText(L"hello");
    TypeMask(L"*.doc");
    ClickSearch();
    TypeMask(L"*.txt");
    ClickSearch();
    const int mode = window->tshSELECTFilesAndFolders.cbmitFILEFileMaskMode.SelectedIndex();
    ASSERT_LE(mode, TfrmKvrManageItems::pgFileMaskAsWildcards) << "the current mode has a page";
    const app::TMRUItems& masks = app::GlobalApplicationInit->MRUItems.FileMask.List(engine::TNameMaskType(mode));
    ASSERT_EQ(masks.Items, (std::vector<std::wstring>{L"*.txt", L"*.doc"}));

    for (const int answer : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(answer == IDOK ? "OK" : "Cancel");
        Run(ids::actSETTINGSManageItems, [&](HWND d) {
            const int first = TfrmKvrManageItems::idControlsFirst + mode * TfrmKvrManageItems::idControlsStride;
            const HWND list = Item(d, TfrmKvrManageItems::idPageFirst + mode, first);
            EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
            Click(Item(d, TfrmKvrManageItems::idPageFirst + mode, first + 1));  // Delete: the current text's row
            Click(GetDlgItem(d, answer));
        });
        const bool deleted = answer == IDOK;
        const std::vector<std::wstring> left =
            deleted ? std::vector<std::wstring>{L"*.doc"} : std::vector<std::wstring>{L"*.txt", L"*.doc"};
        EXPECT_EQ(masks.Items, left);
        EXPECT_EQ(testsupport::TextOf(MaskBox()), deleted ? L"" : L"*.txt");
        EXPECT_EQ(window->tshSELECTFilesAndFolders.cbmitFILEFileMask.IndexOfItem(L"*.txt") > 0, !deleted);
        EXPECT_EQ(testsupport::TextOf(TextBox()), L"hello") << "still listed";
        EXPECT_EQ(testsupport::TextOf(PathEdit()), tree.Path());
    }
    Open();
    app::TApplicationMRUItems stored(app::GlobalApplicationInit->ItemsIniFileName, L"");
    stored.Load(app::GlobalApplicationInit->Options.SearchItems);
    EXPECT_EQ(stored.FileMask.List(engine::TNameMaskType(mode)).Items, std::vector<std::wstring>{L"*.doc"});
    EXPECT_TRUE(interaction.asked.empty());
}

// A text typed and never searched for is in no list: the edited lists have nothing to take back from the boxes.
TEST_F(SettingsActionsTest, RecentItemsEditedLeaveTextsTypedButNeverSearched) {
    testsupport::TempFolder tree;
    Open();
    TypePath(tree.Path());
    TypeMask(L"*.typed");
    TypeText(L"typed words");
    Run(ids::actSETTINGSManageItems, [&](HWND d) { Click(GetDlgItem(d, IDOK)); });
    EXPECT_EQ(testsupport::TextOf(PathEdit()), tree.Path());
    EXPECT_EQ(testsupport::TextOf(MaskBox()), L"*.typed");
    EXPECT_EQ(testsupport::TextOf(TextBox()), L"typed words");
}
