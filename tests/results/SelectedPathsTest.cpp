// The selected-path list: a selected folder stands for what lies inside it, and for nothing beside it.
#include <gtest/gtest.h>

#include "kit/Strings.h"
#include "results/listview/SelectedPaths.h"

using namespace results;

TEST(SelectedPaths, AFolderSwallowsOnlyWhatLiesBelowIt) {
    struct Case {
        const char* what;
        std::vector<TSelectedEntry> selected;
        std::vector<std::wstring> paths;
    };
    const Case cases[] = {
        {"files only, in item order",
         {{L"C:\\b.txt"}, {L"C:\\a.txt"}}, {L"C:\\b.txt", L"C:\\a.txt"}},
        {"a folder and a file inside it",
         {{L"C:\\A\\x.txt"}, {L"C:\\A", true}}, {L"C:\\A"}},
        {"a folder and a deeper file",
         {{L"C:\\A", true}, {L"C:\\A\\B\\C\\x.txt"}}, {L"C:\\A"}},
        {"a sibling whose name begins the same",
         {{L"C:\\A", true}, {L"C:\\AB\\x.txt"}}, {L"C:\\A", L"C:\\AB\\x.txt"}},
        {"a file named like the folder",
         {{L"C:\\A", true}, {L"C:\\A.txt"}}, {L"C:\\A", L"C:\\A.txt"}},
        {"letter case differs",
         {{L"c:\\a", true}, {L"C:\\A\\X.TXT"}}, {L"c:\\a"}},
        {"a folder and its subfolder, the inner one first",
         {{L"C:\\A\\B", true}, {L"C:\\A", true}, {L"C:\\A\\B\\x.txt"}}, {L"C:\\A"}},
        {"two folders side by side with their files",
         {{L"C:\\A", true}, {L"C:\\B", true}, {L"C:\\A\\x"}, {L"C:\\B\\y"}, {L"C:\\C\\z"}},
         {L"C:\\A", L"C:\\B", L"C:\\C\\z"}},
        {"nothing selected", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SelectedPathList(c.selected), c.paths);
    }
}

TEST(SelectedPaths, InsideMeansBelowTheSeparator) {
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
        bool inside;
    };
    const Case cases[] = {
        {L"C:\\A\\x.txt", L"C:\\A", true},  {L"C:\\A\\", L"C:\\A", true},     {L"c:\\a\\B\\", L"C:\\A", true},
        {L"C:\\A\\x.txt", L"C:\\A\\", true}, {L"C:\\AB\\x.txt", L"C:\\A", false}, {L"C:\\A", L"C:\\A", false},
        {L"C:\\AB\\", L"C:\\A", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.path) + " in " + kit::WideToUtf8(c.folder));
        EXPECT_EQ(PathIsInside(c.path, c.folder), c.inside);
    }
}

TEST(SelectedPaths, TheListTextEndsEachPathAndTheListWithAZero) {
    EXPECT_EQ(PathListText({L"C:\\a", L"D:\\bc"}), std::wstring(L"C:\\a\0D:\\bc\0\0", 12));
    EXPECT_EQ(PathListText({L"C:\\dest"}), std::wstring(L"C:\\dest\0\0", 9));
}
