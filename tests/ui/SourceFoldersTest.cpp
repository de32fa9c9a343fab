// The "Source Folders" dialog: the folders of the last search with their icons, the folder opened, the list
// saved to a text file.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "kit/Strings.h"
#include "tests/support/AccessKeys.h"
#include "tests/support/DialogDriver.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/Screenshots.h"
#include "ui/ControlIds.h"
#include "ui/FKvrViewSourceFolders.h"

using namespace uitest;
using testsupport::ShowWithPerson;
using ui::TfrmKvrViewSourceFolders;
namespace ids = ui::ids;

namespace {

struct ListRow {
    std::wstring text;
    int image;
};

HWND ListOf(HWND dialog) { return GetDlgItem(dialog, TfrmKvrViewSourceFolders::kList); }

int ItemCount(HWND dialog) { return static_cast<int>(SendMessageW(ListOf(dialog), LVM_GETITEMCOUNT, 0, 0)); }

// The rows as the list shows them (it asks the dialog for each).
std::vector<ListRow> RowsOf(HWND dialog) {
    std::vector<ListRow> rows;
    for (int i = 0; i < ItemCount(dialog); ++i) {
        wchar_t text[MAX_PATH] = {};
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        item.iImage = -1;
        SendMessageW(ListOf(dialog), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        rows.push_back({text, item.iImage});
    }
    return rows;
}

std::wstring ColumnCaption(HWND dialog) {
    wchar_t text[100] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 100;
    SendMessageW(ListOf(dialog), LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return text;
}

int SelectedItem(HWND dialog) {
    return static_cast<int>(SendMessageW(ListOf(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void FocusItem(HWND dialog, int index) {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(ListOf(dialog), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
}

void ClickButton(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// The fill comes 10 ms after the dialog shows: the buttons are enabled then.
bool WaitForFill(HWND dialog) {
    return testsupport::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, TfrmKvrViewSourceFolders::kOpen)); });
}

class SourceFoldersAction : public MainWindowTest {};

} // namespace

// After a search over three folders, the View action lists them as found, each with an icon.
TEST_F(SourceFoldersAction, ListsTheSearchsFoldersAndOpensTheFocusedOne) {
    testsupport::TempFolder tree;
    MakeFiles(tree.Path(), {L"a.txt"});
    MakeFiles(tree / L"one", {L"b.txt", L"c.txt"});
    MakeFiles(tree / L"two", {L"d.txt"});
    Open();
    TypeMask(L"*.txt");
    TypePath(tree.Path());
    ClickSearch();
    const std::vector<std::wstring>& expected = window->SourceFolders();
    ASSERT_EQ(expected.size(), 3u);

    std::wstring caption, column, clashes = L"none";
    std::vector<ListRow> rows;
    int selected = -1;
    HWND shown = nullptr;
    ShowWithPerson([&] { window->Actions().Execute(ids::actVIEWSourceFolders); },
                   [&](HWND dialog) {
                       if (!dialog || !WaitForFill(dialog)) return;
                       shown = dialog;
                       caption = testsupport::TextOf(dialog);
                       column = ColumnCaption(dialog);
                       rows = RowsOf(dialog);
                       selected = SelectedItem(dialog);
                       const auto found = testsupport::AccessKeyClashes(dialog);
                       clashes = found.empty() ? L"none" : found.front();
                       if (const std::wstring shots = ScreenshotFolder(); !shots.empty()) {
                           RECT area;
                           GetWindowRect(dialog, &area);
                           HandOver(shots, 2, area);
                       }
                       ClickButton(dialog, TfrmKvrViewSourceFolders::kOpen);
                       // A double click opens the focused row too.
                       FocusItem(dialog, 2);
                       NMHDR click{ListOf(dialog), TfrmKvrViewSourceFolders::kList, static_cast<UINT>(NM_DBLCLK)};
                       SendMessageW(dialog, WM_NOTIFY, click.idFrom, reinterpret_cast<LPARAM>(&click));
                       testsupport::PostKeyToFocus(dialog, VK_ESCAPE);
                   });
    EXPECT_EQ(caption, L"Source Folders");
    EXPECT_EQ(column, L"Source Folders: 3");
    EXPECT_EQ(clashes, L"none");
    ASSERT_EQ(rows.size(), 3u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].text, expected[i]);
        SHFILEINFOW icon{};
        SHGetFileInfoW(expected[i].c_str(), 0, &icon, sizeof(icon), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        EXPECT_EQ(rows[i].image, icon.iIcon) << "the icon of " << kit::WideToUtf8(rows[i].text);
    }
    EXPECT_EQ(selected, 0);
    ASSERT_EQ(interaction.shellRequests.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const kit::ShellRequest& open = interaction.shellRequests[i].request;
        EXPECT_EQ(interaction.shellRequests[i].owner, shown);
        EXPECT_EQ(open.verb, L"Open");
        EXPECT_EQ(open.file, expected[i == 0 ? 0 : 2]);
        EXPECT_EQ(open.parameters, L"");
        EXPECT_EQ(open.directory, L"");
        EXPECT_EQ(open.showCommand, SW_SHOWNORMAL);
    }
}

TEST(SourceFolders, AnEmptyListShowsTheCountZeroAndOpensNothing) {
    testsupport::FakeInteraction interaction;
    std::wstring column;
    int selected = 0;
    bool saveEnabled = false;
    ShowWithPerson([&] { ui::ShowSourceFolders(nullptr, {}); },
                   [&](HWND dialog) {
                       if (!dialog || !WaitForFill(dialog)) return;
                       column = ColumnCaption(dialog);
                       selected = SelectedItem(dialog);
                       saveEnabled = IsWindowEnabled(GetDlgItem(dialog, TfrmKvrViewSourceFolders::kSaveToFile));
                       ClickButton(dialog, TfrmKvrViewSourceFolders::kOpen);
                       ClickButton(dialog, IDCANCEL);
                   });
    EXPECT_EQ(column, L"Source Folders: 0");
    EXPECT_EQ(selected, -1);
    EXPECT_TRUE(saveEnabled);
    EXPECT_TRUE(interaction.shellRequests.empty());
}

// What the person typed and the type picked in the save dialog, a file already there and the answer.
TEST(SourceFolders, SavingWritesOneFolderALineUnderTheNameWithTxtAppendedOnlyForTheTextType) {
    testsupport::TempFolder temp;
    const std::vector<std::wstring> folders = {L"C:\\first\\", L"C:\\second \u00E9t\u00E9\\", L"C:\\first\\"};
    const std::string saved = "\xEF\xBB\xBF" "C:\\first\\\r\nC:\\second \xC3\xA9t\xC3\xA9\\\r\nC:\\first\\\r\n";
    const std::string before = "an older list\r\n";
    struct Case {
        const wchar_t* typed;
        int type;
        bool existing;  // the written name is there already
        kit::MessageAnswer answer;
        const wchar_t* written;  // null: nothing written
    };
    const Case cases[] = {
        {L"list", 1, false, kit::MessageAnswer::No, L"list.txt"},
        {L"list.TXT", 1, false, kit::MessageAnswer::No, L"list.TXT"},
        {L"list.lst", 1, false, kit::MessageAnswer::No, L"list.lst.txt"},
        {L"list.lst", 2, false, kit::MessageAnswer::No, L"list.lst"},
        {L"list", 1, true, kit::MessageAnswer::Yes, L"list.txt"},
        {L"list", 1, true, kit::MessageAnswer::No, nullptr},
        {L"list.txt", 1, true, kit::MessageAnswer::No, L"list.txt"},  // the dialog itself asked
    };
    testsupport::FakeInteraction interaction;
    std::vector<std::wstring> targets;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const std::wstring folder = temp / kit::Format(L"case%zu\\", i);
        MakeFiles(folder, {});
        targets.push_back(folder + (c.written ? c.written : L"list.txt"));
        if (c.existing) testsupport::WriteBytes(targets.back(), before);
        interaction.saveAnswers.push_back(kit::SaveFileAnswer{folder + c.typed, c.type});
    }
    // Each save asks its question before the next save; the answers queue holds only the questions' answers.
    for (const Case& c : cases)
        if (c.existing && (!c.written || std::wstring(c.written) != c.typed)) interaction.answers.push_back(c.answer);
    ShowWithPerson([&] { ui::ShowSourceFolders(nullptr, folders); },
                   [&](HWND dialog) {
                       if (!dialog || !WaitForFill(dialog)) return;
                       for (size_t i = 0; i < std::size(cases); ++i)
                           ClickButton(dialog, TfrmKvrViewSourceFolders::kSaveToFile);
                       ClickButton(dialog, IDCANCEL);
                   });
    ASSERT_EQ(interaction.saves.size(), std::size(cases));
    const kit::SaveFileRequest& request = interaction.saves[0].request;
    EXPECT_EQ(request.title, L"Save Source Folders");
    ASSERT_EQ(request.types.size(), 2u);
    EXPECT_EQ(request.types[0].name, L"Text files (*.txt)");
    EXPECT_EQ(request.types[0].patterns, L"*.TXT");
    EXPECT_EQ(request.types[1].name, L"All files (*.*)");
    EXPECT_EQ(request.types[1].patterns, L"*.*");
    EXPECT_EQ(request.typeIndex, 1);
    EXPECT_EQ(request.initialFolder, L"");

    size_t question = 0;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(kit::WideToUtf8(c.typed) + " as type " + std::to_string(c.type));
        EXPECT_EQ(testsupport::ReadBytes(targets[i]), c.written ? saved : before);
        if (!c.existing || (c.written && std::wstring(c.written) == c.typed)) continue;
        ASSERT_LT(question, interaction.asked.size());
        const testsupport::AskedMessage& asked = interaction.asked[question++];
        EXPECT_EQ(asked.text, targets[i] + L" already exists.\r\nOverwrite?");
        EXPECT_EQ(asked.caption, L"Save Source Folders");
        EXPECT_EQ(asked.buttons, kit::MessageButtons::YesNo);
        EXPECT_EQ(asked.defaultAnswer, kit::MessageAnswer::No);
    }
    EXPECT_EQ(question, interaction.asked.size());
}

// The list is written beside the person's files under a name none of them has, then put in its place.
TEST(SourceFolders, SavingLeavesTheFilesBesideTheListAlone) {
    testsupport::TempFolder temp;
    testsupport::WriteBytes(temp / L"list.txt.new", "the person's own");
    testsupport::FakeInteraction interaction;
    interaction.saveAnswers.push_back(kit::SaveFileAnswer{temp / L"list", 1});
    ShowWithPerson([&] { ui::ShowSourceFolders(nullptr, {L"C:\\"}); },
                   [&](HWND dialog) {
                       if (!dialog || !WaitForFill(dialog)) return;
                       ClickButton(dialog, TfrmKvrViewSourceFolders::kSaveToFile);
                       ClickButton(dialog, IDCANCEL);
                   });
    EXPECT_EQ(testsupport::ReadBytes(temp / L"list.txt"), "\xEF\xBB\xBF" "C:\\\r\n");
    EXPECT_EQ(testsupport::ReadBytes(temp / L"list.txt.new"), "the person's own");
    EXPECT_EQ(testsupport::FolderEntries(temp.Path()), (std::vector<std::wstring>{L"list.txt", L"list.txt.new"}));
}

TEST(SourceFolders, ASaveThatFailsIsReported) {
    testsupport::TempFolder temp;
    const std::wstring target = temp / L"taken.txt";
    CreateDirectoryW(target.c_str(), nullptr);  // a folder in the file's place
    const std::vector<std::wstring> before = testsupport::FolderEntries(temp.Path());
    testsupport::FakeInteraction interaction;
    interaction.saveAnswers.push_back(kit::SaveFileAnswer{target, 1});
    ShowWithPerson([&] { ui::ShowSourceFolders(nullptr, {L"C:\\"}); },
                   [&](HWND dialog) {
                       if (!dialog || !WaitForFill(dialog)) return;
                       ClickButton(dialog, TfrmKvrViewSourceFolders::kSaveToFile);
                       ClickButton(dialog, IDCANCEL);
                   });
    ASSERT_EQ(interaction.asked.size(), 1u);
    EXPECT_EQ(interaction.asked[0].type, kit::MessageType::Error);
    EXPECT_TRUE(kit::StartsWithText(interaction.asked[0].text, L"Error: " + target))
        << kit::WideToUtf8(interaction.asked[0].text);
    EXPECT_TRUE(testsupport::FolderExists(target));
    EXPECT_EQ(testsupport::FolderEntries(temp.Path()), before) << "no partial file left";
}
