// Rename of result files and folders: the person's answers, the names refused, the existing-name warning, the rows
// inside a renamed folder, and the shell's own answer deciding (a case-only rename, which Wine refuses).
#include "tests/results/FileActionsFixture.h"

#include "kit/Files.h"
#include "kit/Strings.h"

using namespace results;
using resultstest::FileActionsTest;
using testsupport::FileExists;

namespace {

class ListRenameTest : public FileActionsTest {};

const std::wstring InvalidName =
    L"A file name cannot be empty, end in a blank or a dot, or hold any of the characters \\ / : * ? \" < > |.";

} // namespace

TEST_F(ListRenameTest, TheNewNameAskedUntilUsable) {
    struct Case {
        const char* what;
        std::vector<std::optional<std::wstring>> typed;  // none: Cancel
        const wchar_t* onDisk;                           // the file's name afterwards
        std::vector<std::wstring> warnings;
        std::vector<std::wstring> startValues;           // what each prompt started with
    };
    const std::wstring exists = L"A File or Directory with this name: 'c.txt' already exists.";
    const std::wstring quoted = L"A File or Directory with this name: 'it''s.txt' already exists.";
    const Case cases[] = {
        {"a new name", {L"b.doc"}, L"b.doc", {}, {L"a.txt"}},
        {"cancelled", {std::nullopt}, L"a.txt", {}, {L"a.txt"}},
        {"the same name", {L"a.txt"}, L"a.txt", {}, {L"a.txt"}},
        {"an existing name, then another", {L"c.txt", L"d.txt"}, L"d.txt", {exists}, {L"a.txt", L"c.txt"}},
        {"an existing name in other letters", {L"C.TXT", std::nullopt}, L"a.txt",
         {L"A File or Directory with this name: 'C.TXT' already exists."}, {L"a.txt", L"C.TXT"}},
        {"quotes doubled in the warning", {L"it's.txt", std::nullopt}, L"a.txt", {quoted}, {L"a.txt", L"it's.txt"}},
        {"names refused, then cancelled",
         {L"", L"x\\y.txt", L"x/y.txt", L"a:b", L"what?", L"end.", L"end ", L"..", L"tab\t", std::nullopt}, L"a.txt",
         std::vector<std::wstring>(9, InvalidName),
         {L"a.txt", L"", L"x\\y.txt", L"x/y.txt", L"a:b", L"what?", L"end.", L"end ", L"..", L"tab\t"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        table_.Clear();
        List().UpdateItemCount();
        testsupport::RemoveTree(folder_.Path());
        kit::ForceDirectories(folder_.Path());
        AddFile(L"a.txt", "content");
        testsupport::WriteBytes(folder_ / L"c.txt", "other");
        testsupport::WriteBytes(folder_ / L"it's.txt", "other");
        person_.prompts.clear();
        person_.asked.clear();
        person_.promptAnswers.assign(c.typed.begin(), c.typed.end());
        Select({0});
        List().RenameSelected();

        EXPECT_EQ(testsupport::ReadBytes(folder_ / c.onDisk), "content");
        EXPECT_EQ(Cell(0, tcName), c.onDisk);
        std::vector<std::wstring> warnings, startValues;
        for (const auto& asked : person_.asked) {
            EXPECT_EQ(asked.type, kit::MessageType::Warning);
            EXPECT_EQ(asked.buttons, kit::MessageButtons::Ok);
            warnings.push_back(asked.text);
        }
        for (const auto& prompt : person_.prompts) {
            EXPECT_EQ(prompt.caption, L"Rename File");
            EXPECT_EQ(prompt.prompt, L"New Name");
            startValues.push_back(prompt.value);
        }
        EXPECT_EQ(warnings, c.warnings);
        EXPECT_EQ(startValues, c.startValues);
        EXPECT_EQ(testsupport::ReadBytes(folder_ / L"c.txt"), "other");
    }
}

TEST_F(ListRenameTest, ARenamedRowShowsItsNewExtension) {
    AddFile(L"a.txt");
    Select({0});
    EXPECT_EQ(Cell(0, tcExt), L".txt");
    person_.promptAnswers = {std::wstring(L"a.doc")};
    List().RenameSelected();
    EXPECT_EQ(Cell(0, tcExt), L".doc");
    TResultTable probes;
    TRow& probe = probes.AddRow(1, -1, {}, 0, 0, 0, 0, L"", folder_.Path(), -1, L"a.doc", -1);
    EXPECT_EQ(Cell(0, tcType), probe.TypeNameText());
}

TEST_F(ListRenameTest, TheRowsInsideARenamedFolderFollowIt) {
    const auto [folder, sibling] = AddFolderAndSibling();
    const std::wstring other = AddFile(L"x.txt");
    person_.promptAnswers = {std::wstring(L"Renamed")};
    Select({0});
    List().RenameSelected();
    const std::wstring renamed = folder_ / L"Renamed";
    EXPECT_EQ(RowPaths(), (std::vector<std::wstring>{renamed, renamed + L"\\in.txt", renamed + L"\\sub\\deep.txt",
                                                     sibling, other}));
    EXPECT_TRUE(FileExists(renamed + L"\\sub\\deep.txt"));
    EXPECT_FALSE(testsupport::FolderExists(folder));
}

// A folder and an entry inside it, both chosen: the entry is asked for too, under the folder's new name.
TEST_F(ListRenameTest, AChosenEntryInsideARenamedFolderIsRenamedToo) {
    AddFolderAndSibling();
    person_.promptAnswers = {std::wstring(L"Renamed"), std::wstring(L"inner.txt")};
    Select({0, 1});
    List().RenameSelected();
    ASSERT_EQ(person_.prompts.size(), 2u);
    EXPECT_EQ(person_.prompts[1].value, L"in.txt");
    const std::wstring renamed = folder_ / L"Renamed";
    EXPECT_TRUE(FileExists(renamed + L"\\inner.txt"));
    EXPECT_EQ(RowPaths()[1], renamed + L"\\inner.txt");
}

// Wine's shell refuses a rename that changes only the letter case (183); Windows' does it. The row follows the
// shell's answer, and the name is never taken for another file's.
TEST_F(ListRenameTest, ACaseOnlyRenameFollowsTheShellsAnswer) {
    struct Case {
        const char* what;
        TFileOperationAnswer answer;
        const wchar_t* row;
    };
    const Case cases[] = {
        {"done", {0, false}, L"A.txt"},
        {"refused", {183, false}, L"a.txt"},
        {"cancelled by the person", {0, true}, L"a.txt"},
    };
    const std::wstring file = AddFile(L"a.txt");
    List().SetFileOperation(&fakeShell_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        table_.RenameRow(*table_.RowAt(0), L"a.txt");
        fakeShell_.requests.clear();
        fakeShell_.answer = c.answer;
        person_.promptAnswers = {std::wstring(L"A.txt")};
        Select({0});
        List().RenameSelected();
        ASSERT_EQ(fakeShell_.requests.size(), 1u);
        const TFileOperationRequest& request = fakeShell_.requests[0];
        EXPECT_EQ(request.function, static_cast<UINT>(FO_RENAME));
        EXPECT_EQ(request.from, file + std::wstring(2, L'\0'));
        EXPECT_EQ(request.to, folder_ / L"A.txt" + std::wstring(2, L'\0'));
        EXPECT_EQ(request.flags, FOF_ALLOWUNDO);
        EXPECT_EQ(Cell(0, tcName), c.row);
    }
    EXPECT_TRUE(person_.asked.empty()) << "no existing-name warning for the row's own file";

    // The real shell here answers 183: the row keeps its name.
    List().SetFileOperation(nullptr);
    table_.RenameRow(*table_.RowAt(0), L"a.txt");
    person_.promptAnswers = {std::wstring(L"A.txt")};
    List().RenameSelected();
    EXPECT_EQ(Cell(0, tcName), L"a.txt");
    EXPECT_TRUE(FileExists(file));
}
