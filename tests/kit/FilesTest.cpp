#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "kit/Files.h"
#include "kit/Handles.h"
#include "kit/Strings.h"
#include "tests/support/TempFolder.h"

// Files made one after the other, each left in place and holding its own text, as a person's files would be:
// every new one gets a name of its own in the target's folder, and none of the earlier ones is opened again.
// Made quickly, most of them start from the same candidate name, so a creation that took a name that is
// there (CREATE_ALWAYS) would empty an earlier file and hand its name out twice.
TEST(Files, AFreshFileNeverTakesTheNameOfOneThatIsThere) {
    testsupport::TempFolder temp;
    const std::wstring target = temp / L"list.txt";
    const std::wstring folder = kit::ExtractFilePath(target);
    std::vector<std::wstring> names;
    for (int i = 0; i < 40; ++i) {
        std::wstring name;
        kit::UniqueHandle file{kit::CreateFreshFileBeside(target, name)};
        ASSERT_TRUE(file) << "file " << i << ", error " << GetLastError();
        EXPECT_EQ(kit::ExtractFilePath(name), folder);
        const std::string text = "file " + std::to_string(i);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
        names.push_back(name);
    }
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(testsupport::ReadBytes(names[i]), "file " + std::to_string(i)) << kit::WideToUtf8(names[i]);
    std::vector<std::wstring> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a name handed out twice";
    EXPECT_FALSE(testsupport::FileExists(target)) << "the target itself is not made";
}

// A target whose path is at or near the longest a path may have (MAX_PATH with its NUL): the file beside it takes a
// name short enough that its own path is no longer, and stays in the target's folder, where the last rename must
// stay. A few are made at each, as earlier exports' files may be left there.
TEST(Files, AFreshFileBesideATargetAtTheLongestPathIsNoLonger) {
    struct Case { size_t length; const wchar_t* name; };
    const Case cases[] = {
        {MAX_PATH - 1, L"a"},          {MAX_PATH - 1, L"list.txt"}, {MAX_PATH - 2, L"list.txt"},
        {MAX_PATH - 4, L"list.txt"},   {MAX_PATH - 8, L"list.txt"}, {MAX_PATH - 9, L"list.txt"},
        {MAX_PATH - 1 - 15, L"a"},     {MAX_PATH - 1 - 16, L"a"},
    };
    for (const Case& c : cases) {
        testsupport::TempFolder temp;
        const std::wstring folder = testsupport::FolderOfLength(temp.Path(), c.length - std::wcslen(c.name));
        const std::wstring target = folder + c.name;
        ASSERT_EQ(target.size(), c.length);
        SCOPED_TRACE(testing::Message() << c.length << " characters, named " << kit::WideToUtf8(c.name));
        for (int i = 0; i < 5; ++i) {
            std::wstring name;
            kit::UniqueHandle file{kit::CreateFreshFileBeside(target, name)};
            ASSERT_TRUE(file) << "file " << i << ", error " << GetLastError();
            EXPECT_EQ(kit::ExtractFilePath(name), folder);
            EXPECT_LE(name.size(), size_t{MAX_PATH - 1}) << kit::WideToUtf8(name);
        }
        EXPECT_EQ(testsupport::FolderEntries(folder).size(), 5u) << "each a name of its own";
    }
}

// Windows reads a forward slash as a backslash: a share or a drive named with either is as full as with the other.
TEST(Files, AFullPathStartsAtADriveOrAShareWithEitherSlash) {
    struct Case { const wchar_t* path; bool full; };
    const Case cases[] = {
        {L"C:\\x", true},
        {L"C:/x", true},
        {L"c:\\", true},
        {L"\\\\server\\share", true},
        {L"//server/share", true},
        {L"\\/server/share\\x", true},
        {L"/\\server\\share", true},
        {L"\\\\?\\C:\\x", true},
        {L"//?/C:/x", true},
        {L"\\\\.\\C:\\x", true},
        {L"\\\\?\\UNC\\server\\share", true},
        {L"C:x", false},
        {L"C:", false},
        {L"\\x", false},
        {L"/x", false},
        {L"x", false},
        {L".\\x", false},
        {L"..\\x", false},
        {L"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(kit::IsFullyQualifiedPath(c.path), c.full) << kit::WideToUtf8(c.path);
}
