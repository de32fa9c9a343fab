// What Search answers for each kind of search path a person may type, through the message seam, and that a run
// the check refuses leaves the last results as they were.
#include <string>
#include <vector>

#include "tests/ui/MainWindowFixture.h"

using namespace uitest;

namespace {

struct Asked {
    std::wstring text;
    kit::MessageButtons buttons;
};

} // namespace

TEST_F(MainWindowTest, EachKindOfSearchPathGetsItsAnswer) {
    testsupport::TempFolder tree;
    MakeFiles(tree.Path(), {L"a.txt", L"b.txt"});
    MakeFiles(tree / L"sub", {L"c.txt"});
    const std::wstring file = tree / L"a.txt";
    const std::wstring missing = tree / L"gone";
    const std::wstring folder = tree / L"sub";

    struct Case {
        std::wstring path;
        std::vector<Asked> asked;  // none: the search runs
    };
    const Case cases[] = {
        {L"", {{L"There is no Starting Path.", kit::MessageButtons::Ok}}},
        {L"   ", {{L"There is no Starting Path.", kit::MessageButtons::Ok}}},
        {missing, {{L"The Path '" + missing + L"' does not exist.", kit::MessageButtons::Abort}}},
        {file, {{L"The Path '" + file + L"' is a file, not a folder.", kit::MessageButtons::Abort}}},
        {file + L"\\", {{L"The Path '" + file + L"\\' is a file, not a folder.", kit::MessageButtons::Abort}}},
        {folder + L"\\", {}},
        // A drive without a medium: Abort or a closed dialog ends the check.
        {L"Q:\\", {{L"No disk in Drive: 'Q:'", kit::MessageButtons::AbortRetry}}},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        // Results of a search that went through: a refused run must leave them.
        TypePath(tree.Path());
        ClickSearch();
        const std::vector<Row> before = Rows();
        ASSERT_EQ(before.size(), 4u);  // two files, the folder and its file
        interaction.asked.clear();

        TypePath(c.path);
        ClickSearch();
        ASSERT_EQ(interaction.asked.size(), c.asked.size());
        for (std::size_t i = 0; i < c.asked.size(); ++i) {
            EXPECT_EQ(interaction.asked[i].text, c.asked[i].text);
            EXPECT_EQ(interaction.asked[i].buttons, c.asked[i].buttons);
            EXPECT_EQ(interaction.asked[i].type, kit::MessageType::Warning);
        }
        if (c.asked.empty()) EXPECT_EQ(Rows(), (std::vector<Row>{{L"c.txt", folder + L"\\", L"1"}}));
        else EXPECT_EQ(Rows(), before);
    }
}
