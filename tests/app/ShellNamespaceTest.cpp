#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "app/ShellNamespace.h"
#include "tests/support/TempFolder.h"

using namespace app;

namespace {

// No CSIDL has this number; the shell answers it with an error.
constexpr int kNoSuchFolder = 0xF0;
// A drive whose medium is missing (a dangling link in the test prefix).
const std::wstring kPathWithoutMedium = L"Q:\\Photos";

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

TEST(ShellNamespace, SpecialFolderPath) {
    const std::wstring appData = GetSpecialFolderPath(CSIDL_APPDATA);
    EXPECT_TRUE(EndsWith(appData, L"\\AppData\\Roaming")) << appData;
    EXPECT_TRUE(testsupport::FolderExists(appData)) << appData;
    // A virtual folder has no file-system path; an unknown number is no folder at all.
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_DRIVES), L"");
    EXPECT_EQ(GetSpecialFolderPath(kNoSuchFolder), L"");
}

TEST(ShellNamespace, DisplayNames) {
    testsupport::TempFolder temp;
    const std::wstring folder = temp / L"Kvr Reports";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_EQ(GetPathDisplayName(folder), L"Kvr Reports");
    EXPECT_EQ(GetPathDisplayName(temp / L"missing"), L"");

    // Virtual folders are named through their item identifier lists.
    EXPECT_FALSE(GetSpecialFolderDisplayName(CSIDL_DESKTOP).empty());
    EXPECT_FALSE(GetSpecialFolderDisplayName(CSIDL_DRIVES).empty());
    EXPECT_EQ(GetSpecialFolderDisplayName(kNoSuchFolder), L"");
}

TEST(ShellNamespace, IconIndexOfAFolder) {
    testsupport::TempFolder temp;
    const std::wstring folder = temp / L"Icons";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const int closed = GetPathIconIndex(folder, false, false);
    EXPECT_GT(closed, 0);
    EXPECT_NE(GetPathIconIndex(folder, false, true), closed) << "the open folder has an icon of its own";
    EXPECT_EQ(GetPathIconIndexDef(folder, CSIDL_DESKTOP), closed);
}

TEST(ShellNamespace, PathWithoutMediumGivesZeroAndKeepsErrorMode) {
    const UINT before = SetErrorMode(0);
    EXPECT_EQ(GetPathIconIndex(kPathWithoutMedium, false, false), 0);
    EXPECT_EQ(GetErrorMode(), 0u) << "the error mode is restored";
    SetErrorMode(before);

    // The default falls back to the special folder's icon.
    const int desktop = GetSpecialFolderIconIndex(CSIDL_DESKTOP);
    EXPECT_GT(desktop, 0);
    EXPECT_EQ(GetPathIconIndexDef(kPathWithoutMedium, CSIDL_DESKTOP), desktop);
}

TEST(ShellNamespace, SpecialFolderIcons) {
    EXPECT_GT(GetSpecialFolderIconIndexEx(CSIDL_DRIVES, true, false), 0);
    EXPECT_EQ(GetSpecialFolderIconIndex(kNoSuchFolder), 0);
    EXPECT_EQ(GetPidlIconIndex(nullptr, false, false), 0);
}
