// The Edit actions of the main window over the result list: each one refused while a search runs (here held by
// Pause), with the file on disk and the rows unchanged; once the search is over they work.
#include "kit/Strings.h"
#include "tests/support/ClipboardText.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/DialogWatch.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ControlIds.h"

using namespace uitest;
namespace ids = ui::ids;
using testsupport::ClipboardText;
using testsupport::DialogWatch;
using testsupport::PutTextOnClipboard;

namespace {

constexpr int kEditActions[] = {ids::actEDITCut,    ids::actEDITCopy,   ids::actEDITCopyToFolder,
                                ids::actEDITMoveToFolder, ids::actEDITCreateShortcut, ids::actEDITDelete,
                                ids::actEDITRename, ids::actEDITRemoveFromList};

class MainFileActionsTest : public MainWindowTest {
protected:
    std::wstring FirstRowPath() const {
        const std::vector<Row> rows = Rows();
        return rows.empty() ? std::wstring() : rows[0].folder + rows[0].name;
    }
    testsupport::TempFolder tree_;
};

} // namespace

TEST_F(MainFileActionsTest, EditActionsAreRefusedWhileASearchRuns) {
    Open();
    TypeWatchableSearch(tree_.Path());
    PutTextOnClipboard(L"earlier");
    interaction.promptAnswers.assign(std::size(kEditActions), std::wstring(L"renamed.txt"));

    ASSERT_TRUE(ActWhileSearchPaused([&] {
        EXPECT_TRUE(window->Searching());
        SelectFirstRow();
        const std::wstring file = FirstRowPath();
        const std::int64_t rows = window->Results().Count();
        {
            DialogWatch watch;
            for (int id : kEditActions) {
                SCOPED_TRACE(id);
                EXPECT_TRUE(window->Actions().Execute(id));
                EXPECT_EQ(window->Results().Count(), rows);
                EXPECT_EQ(FirstRowPath(), file);
                EXPECT_EQ(testsupport::ReadBytes(file), "some text here");
            }
            EXPECT_EQ(watch.Seen(), 0) << "no prompt and no question of the shell";
        }
        EXPECT_TRUE(interaction.prompts.empty());
        EXPECT_EQ(ClipboardText(), L"earlier");
    }));

    // Once the search is over, the same actions act.
    ASSERT_FALSE(window->Searching());
    SelectFirstRow();
    const std::wstring file = FirstRowPath();
    const std::int64_t rows = window->Results().Count();
    EXPECT_TRUE(window->Actions().Execute(ids::actEDITCopy));
    EXPECT_EQ(ClipboardText(), std::nullopt) << "files instead";
    EXPECT_TRUE(window->Actions().Execute(ids::actEDITRemoveFromList));
    EXPECT_EQ(window->Results().Count(), rows - 1);
    EXPECT_NE(FirstRowPath(), file);
    EXPECT_TRUE(testsupport::FileExists(file));
}
