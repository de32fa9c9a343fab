// The recent-items dialog over the program's recent lists, driven as a person drives it.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <memory>

#include "app/ApplicationSetup.h"
#include "app/ShellNamespace.h"
#include "app/UKvrVARGeneral.h"
#include "kit/Strings.h"
#include "tests/support/AccessKeys.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/PageLayoutCheck.h"
#include "ui/FKvrManageItems.h"

using ui::TfrmKvrManageItems;
using ui::TItemsPage;
using Items = std::vector<std::wstring>;

namespace {

app::TApplicationMRUItems& Lists() { return app::GlobalApplicationInit->MRUItems; }

void Click(const kit::Control& control) { SendMessageW(control.hwnd(), BM_CLICK, 0, 0); }

Items Rows(const ui::TItemsListView& view) {
    Items rows;
    for (int i = 0; i < view.Count(); ++i) rows.push_back(view.Caption(i));
    return rows;
}

class ManageItemsDialogTest : public testing::Test {
protected:
    void SetUp() override {
        Lists().FileMask.List(engine::nmSimpleText).Items = {L"a", L"b", L"c"};
        Lists().FileMask.List(engine::nmManualWildcards).Items = {L"*.txt"};
        Lists().SearchFolders.FolderValue.Items = {L"C:\\windows", L"<Work> C:\\users"};
        Lists().SearchText.List(engine::tmWordsText).Items = {L"invoice", L"   "};
    }
    TfrmKvrManageItems& Open() {
        dialog = std::make_unique<TfrmKvrManageItems>();
        dialog->CreateModeless(nullptr);
        dialog->Show();
        return *dialog;
    }
    TItemsPage& Page(int page) {
        TItemsPage* pages[] = {&dialog->tshFileMaskAsText, &dialog->tshFileMaskAsWildcards, &dialog->tshSearchPath,
                               &dialog->tshSearchTextAsWords, &dialog->tshSearchTextAsPhrases};
        return *pages[page];
    }

    uitest::ProgramObjects program;
    testsupport::FakeInteraction interaction;
    std::unique_ptr<TfrmKvrManageItems> dialog;
};

} // namespace

TEST(ManageItems, SplitTaggedPathTakesTheTagAndTheRestAfterIt) {
    struct Case { const wchar_t* text; const wchar_t* tag; const wchar_t* value; };
    const Case cases[] = {
        {L"  C:\\work  ", L"", L"C:\\work"},
        {L"<Work> C:\\a|C:\\b", L"<Work>", L"C:\\a|C:\\b"},
        {L" x < My Tag >  y ", L"< My Tag >", L"y"},  // what stands before the tag is dropped
        {L"<>", L"<>", L""},
        {L"a>b<c", L"", L"a>b<c"},                   // no ">" after the "<"
        {L"<open", L"", L"<open"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.text));
        std::wstring tag = L"old", value = L"old";
        ui::SplitTaggedPath(c.text, tag, value);
        EXPECT_EQ(tag, c.tag);
        EXPECT_EQ(value, c.value);
    }
}

TEST_F(ManageItemsDialogTest, EachPageShowsItsListWithTheIconsOfItsKind) {
    testsupport::TempFolder folder;
    Lists().SearchFolders.FolderValue.Items = {folder.Path(), L"<Work> C:\\users", L"C:\\no such folder"};
    TfrmKvrManageItems& d = Open();
    EXPECT_EQ(d.ShownPage(), TfrmKvrManageItems::pgFileMaskAsText);
    EXPECT_EQ(GetFocus(), d.tvConfigMenu.hwnd());
    const Items expected[] = {{L"a", L"b", L"c"}, {L"*.txt"}, Lists().SearchFolders.FolderValue.Items,
                              {L"invoice", L"   "}, {}};
    for (int page = 0; page < 5; ++page) {
        SCOPED_TRACE(testing::Message() << "page " << page);
        EXPECT_EQ(Rows(Page(page).lvItems), expected[page]);
        EXPECT_EQ(Page(page).lvItems.SelectedIndex(), expected[page].empty() ? -1 : 0);
    }
    const int fileMask = ui::GetFileTypeIconIndex(L"*.FON");
    const int text = ui::GetFileTypeIconIndex(L"*.DOC");
    EXPECT_EQ(Page(0).lvItems.ImageIndex(2), fileMask);
    EXPECT_EQ(Page(1).lvItems.ImageIndex(0), fileMask);
    EXPECT_EQ(Page(3).lvItems.ImageIndex(1), text);
    const ui::TItemsListView& paths = Page(TfrmKvrManageItems::pgSearchPath).lvItems;
    EXPECT_EQ(paths.ImageIndex(0), app::GetPathIconIndex(folder.Path(), false, false));
    EXPECT_EQ(paths.ImageIndex(1), app::GetSpecialFolderIconIndex(CSIDL_FAVORITES));
    EXPECT_EQ(paths.ImageIndex(2), app::GetSpecialFolderIconIndex(CSIDL_PROGRAM_FILES));
}

TEST_F(ManageItemsDialogTest, TheButtonsEditTheListAndFollowTheSelection) {
    TfrmKvrManageItems& d = Open();
    TItemsPage& page = d.tshFileMaskAsText;
    // After each button: the rows, the selected row, and which of Delete, Move Up, Move Down, Delete All are on.
    struct Step { kit::Button TItemsPage::*button; Items rows; int selected; const char* enabled; };
    const Step steps[] = {
        {&TItemsPage::bbtMoveDown, {L"b", L"a", L"c"}, 1, "1111"},
        {&TItemsPage::bbtMoveDown, {L"b", L"c", L"a"}, 2, "1101"},
        {&TItemsPage::bbtMoveDown, {L"b", L"c", L"a"}, 2, "1101"},  // off, and nothing moves
        {&TItemsPage::bbtMoveUp, {L"b", L"a", L"c"}, 1, "1111"},
        {&TItemsPage::bbtMoveUp, {L"a", L"b", L"c"}, 0, "1011"},
        {&TItemsPage::bbtDelete, {L"b", L"c"}, 0, "1011"},
        {&TItemsPage::bbtMoveDown, {L"c", L"b"}, 1, "1101"},
        {&TItemsPage::bbtDelete, {L"c"}, 0, "1001"},                // the last row gone: the new last one
        {&TItemsPage::bbtDelete, {}, -1, "0000"},
    };
    const auto enabled = [&] {
        std::string flags;
        for (const kit::Button* b : {&page.bbtDelete, &page.bbtMoveUp, &page.bbtMoveDown, &page.bbtDeleteAll})
            flags += b->Enabled() ? '1' : '0';
        return flags;
    };
    EXPECT_EQ(enabled(), "1011");
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "after " << kit::WideToUtf8((page.*step.button).Text()) << " "
                                        << step.rows.size());
        Click(page.*step.button);
        EXPECT_EQ(Rows(page.lvItems), step.rows);
        EXPECT_EQ(page.lvItems.SelectedIndex(), step.selected);
        EXPECT_EQ(enabled(), step.enabled);
    }
    // A row the person picks sets the buttons too.
    d.ShowPage(TfrmKvrManageItems::pgSearchPath);
    d.tshSearchPath.lvItems.Select(1);
    EXPECT_TRUE(d.tshSearchPath.bbtMoveUp.Enabled());
    EXPECT_FALSE(d.tshSearchPath.bbtMoveDown.Enabled());
}

TEST_F(ManageItemsDialogTest, OkWritesEveryListAndCancelNone) {
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        SetUp();
        TfrmKvrManageItems& d = Open();
        Click(d.tshFileMaskAsText.bbtMoveDown);
        d.ShowPage(TfrmKvrManageItems::pgSearchPath);
        Click(d.tshSearchPath.bbtDeleteAll);
        d.ShowPage(TfrmKvrManageItems::pgSearchTextAsWords);
        Click(d.tshSearchTextAsWords.bbtDelete);
        Click(ok ? d.bbtnOK : d.bbtnCancel);
        EXPECT_FALSE(d.Visible());
        const Items masks = ok ? Items{L"b", L"a", L"c"} : Items{L"a", L"b", L"c"};
        const Items paths = ok ? Items{} : Items{L"C:\\windows", L"<Work> C:\\users"};
        const Items words = ok ? Items{L"   "} : Items{L"invoice", L"   "};
        EXPECT_EQ(Lists().FileMask.List(engine::nmSimpleText).Items, masks);
        EXPECT_EQ(Lists().FileMask.List(engine::nmManualWildcards).Items, Items{L"*.txt"});
        EXPECT_EQ(Lists().SearchFolders.FolderValue.Items, paths);
        EXPECT_EQ(Lists().SearchText.List(engine::tmWordsText).Items, words);
    }
}

// Every page changed, the phrases' too: OK writes each list from its own page.
TEST_F(ManageItemsDialogTest, OkWritesTheListOfEveryPage) {
    Lists().SearchText.List(engine::tmPhrasesText).Items = {L"due date", L"paid in full"};
    TfrmKvrManageItems& d = Open();
    for (int page = 0; page < 5; ++page) {
        d.ShowPage(page);
        Click(Page(page).bbtDelete);  // the first row
    }
    Click(d.bbtnOK);
    EXPECT_FALSE(d.Visible());
    EXPECT_EQ(Lists().FileMask.List(engine::nmSimpleText).Items, (Items{L"b", L"c"}));
    EXPECT_EQ(Lists().FileMask.List(engine::nmManualWildcards).Items, Items{});
    EXPECT_EQ(Lists().SearchFolders.FolderValue.Items, Items{L"<Work> C:\\users"});
    EXPECT_EQ(Lists().SearchText.List(engine::tmWordsText).Items, Items{L"   "});
    EXPECT_EQ(Lists().SearchText.List(engine::tmPhrasesText).Items, Items{L"paid in full"});
}

TEST_F(ManageItemsDialogTest, EveryPageFitsAndHasNoAccessKeyClash) {
    TfrmKvrManageItems& d = Open();
    for (int page = 0; page < 5; ++page) {
        SCOPED_TRACE(kit::WideToUtf8(d.tvConfigMenu.Caption(page)));
        d.ShowPage(page);
        EXPECT_TRUE(IsWindowVisible(Page(page).hwnd()));
        EXPECT_TRUE(testsupport::AccessKeyClashes(d.hwnd()).empty());
        for (const std::wstring& fault : uitest::LayoutFaults(Page(page).hwnd())) ADD_FAILURE() << kit::WideToUtf8(fault);
    }
}
