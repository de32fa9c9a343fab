#include <gtest/gtest.h>

#include "engine/SearchParams.h"
#include "kit/Files.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

using namespace engine::SearchParams;
using kit::MessageAnswer;
using kit::MessageButtons;

namespace {

struct Line {
    std::wstring folder;
    std::wstring path;
    std::wstring wildcards;
};

std::vector<Line> StartLines(const TSearchFolders& folders) {
    std::vector<Line> lines;
    for (const auto& line : folders.PathsStartList()) lines.push_back({line.Folder, line.Info.Path, line.Info.Wildcards});
    return lines;
}

bool operator==(const Line& a, const Line& b) {
    return a.folder == b.folder && a.path == b.path && a.wildcards == b.wildcards;
}
std::ostream& operator<<(std::ostream& out, const Line& line) {
    return out << testing::PrintToString(line.folder) << "/" << testing::PrintToString(line.path) << "/"
               << testing::PrintToString(line.wildcards);
}

std::wstring SystemRoot() {
    wchar_t buffer[MAX_PATH] = {};
    GetEnvironmentVariableW(L"SystemRoot", buffer, MAX_PATH);
    return buffer;
}

// A drive letter the machine does not have.
std::wstring AbsentDrive() {
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'R'; letter < L'Z'; ++letter)
        if (!(drives & (1u << (letter - L'A')))) return std::wstring{letter, L':'};
    return L"";
}

std::vector<std::uint8_t> Kinds(const TSearchFolders& folders) {
    std::vector<std::uint8_t> kinds;
    for (const auto& line : folders.PathsStartList()) kinds.push_back(line.Info.Kind);
    return kinds;
}

constexpr std::uint8_t Walk = TSearchFoldersInfo::KindWalk;
constexpr std::uint8_t Ignored = TSearchFoldersInfo::KindIgnored;

} // namespace

TEST(SearchParamsFolders, StartTextBecomesStartLines) {
    const std::wstring root = SystemRoot();
    ASSERT_FALSE(root.empty());
    struct Case { std::wstring text; std::vector<Line> lines; std::wstring joined; };
    const Case cases[] = {
        {L"C:\\Windows|D:\\Data\\*.txt",
         {{L"C:\\Windows", L"", L""}, {L"D:\\Data", L"D:\\Data\\*.txt", L"*.txt"}}, L"C:\\Windows|D:\\Data"},
        {L"C:\\a||C:\\b", {{L"C:\\a", L"", L""}, {L"", L"", L""}, {L"C:\\b", L"", L""}}, L"C:\\a||C:\\b"},
        {L"  C:\\a  |\tC:\\b ;x|", {{L"C:\\a", L"", L""}, {L"C:\\b ;x", L"", L""}}, L"C:\\a|C:\\b ;x"},
        {L"C:\\a\"C:\\b", {{L"C:\\a", L"", L""}, {L"C:\\b", L"", L""}}, L"C:\\a|C:\\b"},
        {L"%SystemRoot%;C:\\Temp", {{root, L"", L""}, {L"C:\\Temp", L"", L""}}, root + L"|C:\\Temp"},
        {L"%SystemRoot%||; C:\\Temp ;", {{root, L"", L""}, {L"C:\\Temp", L"", L""}}, root + L"|C:\\Temp"},
        {L"%KVR_NO_SUCH_VARIABLE%\\x", {{L"%KVR_NO_SUCH_VARIABLE%\\x", L"", L""}}, L"%KVR_NO_SUCH_VARIABLE%\\x"},
        {L"C:\\Data\\Sub*\\*.doc", {{L"C:\\Data", L"C:\\Data\\Sub*\\*.doc", L"Sub*\\*.doc"}}, L"C:\\Data"},
        {L"C:\\Data\\*.txt\\\\", {{L"C:\\Data", L"C:\\Data\\*.txt\\\\", L"*.txt"}}, L"C:\\Data"},
        {L"\\\\srv\\share\\x?.log", {{L"\\\\srv\\share", L"\\\\srv\\share\\x?.log", L"x?.log"}}, L"\\\\srv\\share"},
        {L"\\\\srv\\share\\dir", {{L"\\\\srv\\share\\dir", L"", L""}}, L"\\\\srv\\share\\dir"},
        {L"*.txt", {{L"", L"*.txt", L"*.txt"}}, L""},
        {L"", {}, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(c.text));
        TSearchFolders folders(L"/Params", nullptr);
        folders.SetPathsStartText(c.text);
        EXPECT_EQ(StartLines(folders), c.lines);
        EXPECT_EQ(folders.PathsStartText(), c.joined);
        for (std::uint8_t kind : Kinds(folders)) EXPECT_EQ(kind, Walk);
    }
}

TEST(SearchParamsFolders, IncludeAndExcludeTextsSplitIntoFoldersAndPatterns) {
    struct Case { std::wstring text; std::vector<std::wstring> normal, wildcards; };
    const Case cases[] = {
        {L"temp|C:\\Logs|C:\\*.log", {L"C:\\Logs"}, {L"*temp*", L"C:\\*.log"}},
        {L" backup \"C:\\Old\\", {L"C:\\Old\\"}, {L"*backup*"}},
        {L"\\\\srv\\share\\logs|\\\\srv\\*", {L"\\\\srv\\share\\logs"}, {L"\\\\srv\\*"}},
        {L"%SystemRoot%;*cache*", {SystemRoot()}, {L"**cache**"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(c.text));
        TSearchFolders folders(L"/Params", nullptr);
        folders.SetPathsIncludeText(c.text);
        EXPECT_EQ(folders.PathsIncludeNormalList(), c.normal);
        EXPECT_EQ(folders.PathsIncludeWildcardsList(), c.wildcards);
        folders.SetPathsExcludeText(c.text);
        EXPECT_EQ(folders.PathsExcludeNormalList(), c.normal);
        EXPECT_EQ(folders.PathsExcludeWildcardsList(), c.wildcards);
        EXPECT_EQ(folders.PathsExcludeText(), folders.PathsIncludeText());
    }
}

TEST(SearchParamsFolders, SplitWildcardPath) {
    struct Case { const wchar_t* path; const wchar_t* folder; const wchar_t* wildcards; };
    const Case cases[] = {
        {L"C:\\Data\\*.txt", L"C:\\Data", L"*.txt"},
        {L"C:\\Data\\Sub*\\*.doc", L"C:\\Data", L"Sub*\\*.doc"},
        {L"\\\\srv\\share\\x?.log", L"\\\\srv\\share", L"x?.log"},
        {L"C:\\Data\\", L"C:\\Data", L""},
        {L"*", L"", L"*"},
    };
    for (const auto& c : cases) {
        std::wstring folder, wildcards;
        SplitWildcardPath(c.path, folder, wildcards);
        EXPECT_EQ(folder, c.folder) << testing::PrintToString(std::wstring(c.path));
        EXPECT_EQ(wildcards, c.wildcards) << testing::PrintToString(std::wstring(c.path));
    }
}

TEST(SearchParamsFolders, CheckPathsAsksWithTheRightButtons) {
    testsupport::TempFolder temp;
    const std::wstring existing = temp / L"here";
    ASSERT_TRUE(kit::ForceDirectories(existing));
    const std::wstring missing = temp / L"gone";
    const std::wstring file = temp / L"notes.txt";
    testsupport::WriteBytes(file, "x");
    const std::wstring absent = AbsentDrive();
    ASSERT_FALSE(absent.empty());

    struct Case {
        std::wstring text;
        std::vector<MessageAnswer> answers;
        bool result;
        std::vector<std::pair<std::wstring, MessageButtons>> asked;
        std::vector<std::uint8_t> kinds;
    };
    const Case cases[] = {
        {L"", {}, false, {{L"There is no Starting Path.", MessageButtons::Ok}}, {}},
        {existing, {}, true, {}, {Walk}},
        {absent + L"\\x", {}, false, {{L"The Drive: '" + absent + L"' does not exist.", MessageButtons::Abort}}, {Walk}},
        {missing, {}, false, {{L"The Path '" + missing + L"' does not exist.", MessageButtons::Abort}}, {Walk}},
        // A file exists, but is no folder to walk.
        {file, {}, false, {{L"The Path '" + file + L"' is a file, not a folder.", MessageButtons::Abort}}, {Walk}},
        {L"relative\\x", {}, false, {{L"The Drive or Path: 'relative\\x' is not valid.", MessageButtons::Abort}}, {Walk}},
        // No medium: a single line asks Abort/Retry until the drive is ready or the user gives up.
        {L"Q:\\x", {MessageAnswer::Retry, MessageAnswer::Abort}, false,
         {{L"No disk in Drive: 'Q:'", MessageButtons::AbortRetry}, {L"No disk in Drive: 'Q:'", MessageButtons::AbortRetry}},
         {Walk}},
        // With several lines it is skipped without a question, and the others decide.
        {L"Q:\\x|" + existing, {}, true, {}, {Ignored, Walk}},
        {L"q:\\x|" + missing, {}, false, {{L"The Path '" + missing + L"' does not exist.", MessageButtons::AbortIgnore}},
         {Ignored, Walk}},
        {existing + L"||" + missing + L"|" + absent + L"\\y",
         {MessageAnswer::Ignore, MessageAnswer::Ignore, MessageAnswer::Ignore}, true,
         {{L"No Drive or Path specified.", MessageButtons::AbortIgnore},
          {L"The Path '" + missing + L"' does not exist.", MessageButtons::AbortIgnore},
          {L"The Drive: '" + absent + L"' does not exist.", MessageButtons::AbortIgnore}},
         {Walk, Ignored, Ignored, Ignored}},
        {L"||" + existing, {MessageAnswer::Abort}, false, {{L"No Drive or Path specified.", MessageButtons::AbortIgnore}},
         {Walk, Walk, Walk}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(c.text));
        testsupport::FakeInteraction dialogs;
        dialogs.answers.assign(c.answers.begin(), c.answers.end());
        TSearchFolders folders(L"/Params", nullptr);
        folders.SetPathsStartText(c.text);
        EXPECT_EQ(folders.CheckPaths(), c.result);
        ASSERT_EQ(dialogs.asked.size(), c.asked.size());
        for (std::size_t i = 0; i < c.asked.size(); ++i) {
            EXPECT_EQ(dialogs.asked[i].text, c.asked[i].first);
            EXPECT_EQ(dialogs.asked[i].buttons, c.asked[i].second);
            EXPECT_EQ(dialogs.asked[i].type, kit::MessageType::Warning);
        }
        EXPECT_EQ(Kinds(folders), c.kinds);
    }
}

TEST(SearchParamsFolders, AnIgnoredLineIsCheckedAgainNextTime) {
    testsupport::TempFolder temp;
    const std::wstring first = temp / L"first", second = temp / L"second";
    ASSERT_TRUE(kit::ForceDirectories(first));
    TSearchFolders folders(L"/Params", nullptr);
    folders.SetPathsStartText(first + L"|" + second);

    testsupport::FakeInteraction dialogs;
    dialogs.answers = {MessageAnswer::Ignore};
    EXPECT_TRUE(folders.CheckPaths());
    EXPECT_EQ(Kinds(folders), (std::vector<std::uint8_t>{Walk, Ignored}));

    // The same text again leaves the lines as they are; the folder now exists and is walked.
    folders.SetPathsStartText(first + L"|" + second + L"|");
    ASSERT_TRUE(kit::ForceDirectories(second));
    EXPECT_TRUE(folders.CheckPaths());
    EXPECT_EQ(Kinds(folders), (std::vector<std::uint8_t>{Walk, Walk}));
    EXPECT_EQ(dialogs.asked.size(), 1u);
}

TEST(SearchParamsFolders, CheckPathsReportsEachStepToTheModel) {
    testsupport::TempFolder temp;
    const std::wstring existing = temp / L"here";
    ASSERT_TRUE(kit::ForceDirectories(existing));
    TSearchParams params;
    std::vector<std::wstring> shown;
    params.OnCheckFolder = [&](const TSearchFolders& sender, const std::wstring& text) {
        EXPECT_EQ(&sender, &params.Folders);
        shown.push_back(text);
    };
    params.Folders.SetPathsStartText(existing + L"|Q:\\x");
    EXPECT_TRUE(params.Folders.CheckPaths());
    const std::wstring drive = existing.substr(0, 2);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Check Drive: " + drive, L"Check Path: " + existing,
                                                L"Check Drive: Q:"}));
}
