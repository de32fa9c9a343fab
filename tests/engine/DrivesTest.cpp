#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "app/ProgramObjects.h"
#include "engine/Drives.h"
#include "tests/engine/PumpCounter.h"
#include "tests/support/TempFolder.h"

using namespace engine;

// The test prefix has C: (the prefix), Z: (the root), the network drive N: and Q:, a drive letter whose medium
// is missing.

TEST(Drives, ListHasEveryDriveInLetterOrder) {
    std::vector<std::wstring> drives{L"stale"};
    GetDriveList(drives);
    for (const wchar_t* drive : {L"C:", L"N:", L"Q:", L"Z:"})
        EXPECT_NE(std::find(drives.begin(), drives.end(), drive), drives.end()) << drive;
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
    for (const auto& drive : drives) {
        ASSERT_EQ(drive.size(), 2u);
        EXPECT_TRUE(drive[0] >= L'A' && drive[0] <= L'Z' && drive[1] == L':') << drive;
    }
}

TEST(Drives, Readiness) {
    struct Case { wchar_t letter; bool ready; };
    const Case cases[] = {{L'C', true}, {L'c', true}, {L'Q', false}, {L'q', false}, {L'1', false}, {L'\\', false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<char>(c.letter));
        EXPECT_EQ(IsDriveReady(c.letter), c.ready);
    }
}

TEST(Drives, ReadinessPumpsMessagesAndKeepsErrorMode) {
    const engine::ScopedMessagePump pump(app::PumpProgramMessages);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    const UINT before = SetErrorMode(0);
    IsDriveReady(L'Q');
    EXPECT_EQ(GetErrorMode(), 0u);
    SetErrorMode(before);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE)) << "the queue was pumped";
}

// A drive without a medium can keep the check waiting: the window is pumped before and after, whatever the
// time since the last pump. A letter that names no drive is answered without asking the system.
TEST(Drives, ReadinessPumpsTwiceNow) {
    struct Case { wchar_t letter; int pumps; };
    const Case cases[] = {{L'C', 2}, {L'Q', 2}, {L'1', 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<char>(c.letter));
        pumpfixture::PumpCounter pumps;
        IsDriveReady(c.letter);
        EXPECT_EQ(pumps.now, c.pumps);
        EXPECT_EQ(pumps.whenDue, 0);
    }
}

TEST(Drives, Validity) {
    struct Case { const wchar_t* drive; bool valid; };
    const Case cases[] = {
        {L"c:", true}, {L"C:", true}, {L"z:", true},
        {L"q:", false},  // listed, but without a medium
        {L"Q:", false},
        {L"", false}, {L"c", false},
        {L"1:", false}, {L"C\\", false},
        {L"abc", true}, {L"\\\\server\\share", true},  // longer drive parts are not tested
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << testing::PrintToString(std::wstring(c.drive)) << "'");
        EXPECT_EQ(IsDriveValid(c.drive), c.valid);
    }
}

TEST(Drives, PathValidity) {
    testsupport::TempFolder temp;
    testsupport::WriteBytes(temp / L"file.txt", "x");
    const std::wstring folder = temp.Path().substr(0, temp.Path().size() - 1);
    ASSERT_EQ(folder.substr(0, 2), L"C:") << "the temporary folder lies on C:";
    struct Case { std::wstring path; bool valid; };
    const Case cases[] = {
        {temp.Path(), true},
        {folder, true},
        {L"c" + folder.substr(1), true},
        {L"C:\\", true},
        {temp / L"missing", false},
        {temp / L"file.txt", false},  // a file is no folder
        {L"Q:\\", false},
        {L"Q:\\Photos", false},
        {L"\\\\kvr-no-server\\share\\folder", false},
        {L"windows", false},  // no drive part
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(IsPathValid(c.path), c.valid);
    }
}

TEST(Drives, VolumeLabelIsEmptyWhereThereIsNone) {
    for (wchar_t letter : {L'1', L'q', L'Q', L'm'}) {
        std::wstring label = L"stale";
        GetVolumeLabel(letter, label);
        EXPECT_EQ(label, L"") << static_cast<char>(letter);
    }
}
