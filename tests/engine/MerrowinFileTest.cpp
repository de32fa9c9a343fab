#include <gtest/gtest.h>

#include "kit/MessageLoop.h"

#include "app/ProgramObjects.h"
#include "engine/MerrowinFile.h"
#include "kit/Exception.h"
#include "kit/Handles.h"
#include "tests/engine/PumpCounter.h"
#include "tests/engine/WalkFixture.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"

#include <functional>

using namespace engine;
using namespace walkfixture;
using Lines = std::vector<std::wstring>;

namespace {

// root: a.txt, B\ (b1.txt, C\ (c1.txt)), H\ (hidden: h1.txt), z.txt. Wine lists names sorted.
class WalkTest : public testing::Test {
protected:
    void SetUp() override {
        MakeFile(root / L"a.txt");
        MakeFolder(root / L"B");
        MakeFile(root / L"B\\b1.txt");
        MakeFolder(root / L"B\\C");
        MakeFile(root / L"B\\C\\c1.txt");
        MakeFolder(root / L"H");
        MakeFile(root / L"H\\h1.txt");
        ASSERT_TRUE(SetFileAttributesW((root / L"H").c_str(), FILE_ATTRIBUTE_HIDDEN));
        ASSERT_TRUE(GetFileAttributesW((root / L"H").c_str()) & FILE_ATTRIBUTE_HIDDEN);
        MakeFile(root / L"z.txt");
        walker.StartFolder = root.Path();
        recorder.Attach(walker);
    }

    // Runs `action` when the walk reports the file `name` (relative to the root), after recording it.
    void OnFile(const std::wstring& name, std::function<void()> action) {
        auto record = walker.OnFileFound;
        walker.OnFileFound = [=, this](TMerrowinFile& w, const TFoundEntry& file) {
            record(w, file);
            if (file.Folder + file.FileName == root.Path() + name) action();
        };
    }

    testsupport::TempFolder root;
    TMerrowinFile walker;
    Recorder recorder{root.Path()};
};

const Lines RootEntries = {L"file a.txt", L"folder B", L"folder H", L"file z.txt"};
const Lines SubtreeB = {L"scan B\\", L"scan B\\", L"file B\\b1.txt", L"folder B\\C",
                        L"scan B\\C\\", L"scan B\\C\\", L"file B\\C\\c1.txt"};

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A clock seam whose waits run a scripted action at the given wait.
class WaitScript : public testsupport::FakeInteraction {
public:
    std::function<void(std::size_t waitNumber)> onWait;
    void Sleep(DWORD milliseconds) override {
        FakeInteraction::Sleep(milliseconds);
        if (onWait) onWait(sleeps.size());
    }
};

} // namespace

TEST_F(WalkTest, ReportsEveryEntryInOrderAndSkipsHiddenSubfolders) {
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines, Join({{L"started", L"scan "}, RootEntries, SubtreeB, {L"done"}}));
    EXPECT_EQ(walker.ScannedFiles(), 4);  // h1.txt is not reached
    EXPECT_EQ(walker.ScannedFolders(), 3);
    EXPECT_EQ(walker.ScannedObjects(), 7);
    EXPECT_FALSE(walker.Running());
}

TEST_F(WalkTest, HiddenSubfoldersAreEnteredWhenAsked) {
    walker.IncludeHiddenSubfolders = true;
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines, Join({{L"started", L"scan "}, RootEntries, SubtreeB,
                                    {L"scan H\\", L"scan H\\", L"file H\\h1.txt", L"done"}}));
}

TEST_F(WalkTest, WithoutSubfoldersOnlyTheStartFolderIsListed) {
    walker.SearchInSubfolders = false;
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines, Join({{L"started", L"scan "}, RootEntries, {L"done"}}));
}

TEST_F(WalkTest, IncludeListsRestrictReportsNotTheWalk) {
    walker.SetIncludeFolders({root / L"b"});  // any case, delimiter added
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines, (Lines{L"started", L"scan ", L"scan B\\", L"scan B\\", L"file B\\b1.txt",
                                     L"folder B\\C", L"scan B\\C\\", L"scan B\\C\\", L"done"}));
    EXPECT_EQ(walker.ScannedObjects(), 7);
    EXPECT_EQ(walker.ScannedFiles(), 1);
    EXPECT_EQ(walker.ScannedFolders(), 1);

    recorder.lines.clear();
    walker.SetIncludeFolders({});
    walker.SetIncludeWildcards({root / L"B\\*"});
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines, (Lines{L"started", L"scan ", L"scan B\\", L"scan B\\", L"scan B\\C\\",
                                     L"scan B\\C\\", L"file B\\C\\c1.txt", L"done"}));
}

TEST_F(WalkTest, PauseWaitsInStepsAndContinues) {
    WaitScript clock;
    clock.onWait = [&](std::size_t wait) {
        if (wait == 3) walker.SetSuspended(false);  // the resume notice fires at once
    };
    OnFile(L"a.txt", [&] { walker.SetSuspended(true); });
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines, Join({{L"started", L"scan ", L"file a.txt", L"suspended", L"suspended"},
                                    Lines(RootEntries.begin() + 1, RootEntries.end()), SubtreeB, {L"done"}}));
    EXPECT_EQ(clock.sleeps, (std::vector<DWORD>{100, 100, 100}));
}

TEST_F(WalkTest, StopDuringPauseEndsWithinOneWait) {
    WaitScript clock;
    clock.onWait = [&](std::size_t) { walker.Stop(); };
    OnFile(L"a.txt", [&] { walker.SetSuspended(true); });
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines, (Lines{L"started", L"scan ", L"file a.txt", L"suspended", L"stopped", L"done"}));
    EXPECT_EQ(clock.sleeps.size(), 1u);
    EXPECT_FALSE(walker.Suspended());
}

TEST_F(WalkTest, AQuitDuringPauseEndsTheWalkAsAStopWould) {
    // The window closed while paused: no one is left to continue or stop, so the quit itself ends the walk.
    const engine::ScopedMessagePump pump(app::PumpProgramMessages);  // the quit is seen by the program's pump
    WaitScript clock;
    clock.onWait = [&](std::size_t wait) {
        if (wait == 1) PostQuitMessage(0);
    };
    OnFile(L"a.txt", [&] { walker.SetSuspended(true); });
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines, (Lines{L"started", L"scan ", L"file a.txt", L"suspended", L"stopped", L"done"}));
    EXPECT_EQ(kit::RunMessageLoop(), 0);  // the quit still reaches the outer loop
}

// The window's buttons act while the walk pumps: the cheap throttled pump at every entry, never the forced one
// (~40 us each under Wine), and a stop asked during a pump ends the walk at the entry after it. The other walk
// tests install no pump: the walk then runs without a message loop.
TEST_F(WalkTest, PumpsAtEveryEntryThroughTheEnginesHook) {
    pumpfixture::PumpCounter pumps;
    EXPECT_TRUE(walker.Execute());
    EXPECT_GE(pumps.whenDue, 7) << "one per reported entry at least";
    EXPECT_EQ(pumps.now, 0);

    recorder.lines.clear();
    OnFile(L"a.txt", [&] { pumps.onPump = [&] { walker.Stop(); }; });
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines, (Lines{L"started", L"scan ", L"file a.txt", L"stopped", L"done"}));
}

TEST_F(WalkTest, StopIsSeenByEveryLevelThatListsAgain) {
    int depthAtStop = -1;
    OnFile(L"B\\C\\c1.txt", [&] {
        depthAtStop = walker.FolderDepth();
        walker.Stop();
    });
    EXPECT_TRUE(walker.Execute());
    // C's second pass sees the flag at once; B has nothing left; the root notices it before H.
    EXPECT_EQ(recorder.lines, Join({{L"started", L"scan "}, RootEntries, SubtreeB, {L"stopped", L"stopped", L"done"}}));
    EXPECT_EQ(depthAtStop, 2);
    EXPECT_EQ(walker.FolderDepth(), 0);
}

TEST_F(WalkTest, AHandlerFailureEndsTheWalkAndRestoresTheWalker) {
    bool nested = true;
    walker.OnStarted = [&](TMerrowinFile& w) { nested = w.Execute(); };
    OnFile(L"B\\b1.txt", [] { throw kit::Exception(L"handler failed"); });
    EXPECT_THROW(walker.Execute(), kit::Exception);
    EXPECT_FALSE(nested);  // a second walk cannot start inside the first
    EXPECT_EQ(recorder.lines.back(), L"file B\\b1.txt");
    EXPECT_FALSE(walker.Running());
    EXPECT_EQ(walker.FolderDepth(), 0);

    walker.OnFileFound = nullptr;
    walker.OnStarted = nullptr;
    recorder.lines.clear();
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines.back(), L"done");
}

TEST_F(WalkTest, StartFoldersAreMadeCanonical) {
    std::wstring slashed = root / L"B/C";
    const wchar_t* const tails[] = {L"B\\..\\B\\C", L"B\\\\C", L"B\\C\\.", L"B\\C\\"};
    std::vector<std::wstring> starts = {slashed, L"\\\\?\\" + root.Path() + L"B\\C"};
    for (const wchar_t* tail : tails) starts.push_back(root / tail);
    for (const std::wstring& start : starts) {
        SCOPED_TRACE(testing::Message() << start);
        recorder.lines.clear();
        walker.StartFolder = start;
        EXPECT_TRUE(walker.Execute());
        EXPECT_EQ(recorder.lines, (Lines{L"started", L"scan B\\C\\", L"file B\\C\\c1.txt", L"done"}));
    }
}

TEST_F(WalkTest, AnEmptyStartFolderWalksTheCurrentDirectory) {
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW((root / L"B\\C").c_str()));
    walker.StartFolder.clear();
    EXPECT_TRUE(walker.Execute());
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(recorder.lines, (Lines{L"started", L"scan B\\C\\", L"file B\\C\\c1.txt", L"done"}));
}

TEST_F(WalkTest, MissingOrDriveLessStartFolders) {
    walker.StartFolder = root / L"missing";
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(recorder.lines, (Lines{L"started", L"done"}));

    recorder.lines.clear();
    walker.StartFolder = L"relative\\folder";
    EXPECT_FALSE(walker.Execute());
    EXPECT_TRUE(recorder.lines.empty());
}

TEST_F(WalkTest, FilesReportTheirWholeSize) {
    const std::wstring big = root / L"B\\big.bin";
    {
        kit::UniqueHandle file{CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)};
        ASSERT_TRUE(file);
        LARGE_INTEGER size;
        size.QuadPart = 4294967297LL;  // sparse: nothing is written
        ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
    }
    long double reported = 0;
    walker.OnFileFound = [&](TMerrowinFile&, const TFoundEntry& file) {
        if (file.FileName == L"big.bin") {
            reported = file.FileSize;
            EXPECT_FALSE(file.FileAttributes.Contains(saDirectory));
        }
    };
    walker.OnFolderFound = [&](TMerrowinFile&, const TFoundEntry& folder) {
        EXPECT_TRUE(folder.FileAttributes.Contains(saDirectory));
        EXPECT_EQ(folder.FileSize, 0.0L);
    };
    walker.SearchInSubfolders = true;
    walker.StartFolder = root / L"B";
    EXPECT_TRUE(walker.Execute());
    EXPECT_EQ(reported, 4294967297.0L);
}

TEST(WalkOptions, PathMaskAndLevelMasksAreKept) {
    TMerrowinFile walker;
    EXPECT_EQ(walker.LevelCount(), -1);
    walker.SetPathLevelMasks(L"a*\\b\\c?\\");
    EXPECT_EQ(walker.LevelCount(), 3);
    walker.SetPathLevelMasks(L"");
    EXPECT_EQ(walker.LevelCount(), -1);
    walker.SetPathMask(L"C:\\data");
    EXPECT_TRUE(walker.HasPathMask());
    walker.SetPathMask(L"");
    EXPECT_FALSE(walker.HasPathMask());
    walker.SetExcludeFolders({L"C:\\x"});
    EXPECT_EQ(walker.ExcludeFolders().Items(), (Lines{L"C:\\x\\"}));
}

// A mask that does not compile is refused every time it is given, and the walker keeps the masks it had: were
// the text kept, giving it again would pass without a word and walk with masks it never compiled.
TEST(WalkOptions, AMaskThatDoesNotCompileIsRefusedEachTimeAndLeavesTheOldOne) {
    std::wstring tooManySkips;
    for (int i = 0; i <= TWildcardMask::MaxSkips; ++i) tooManySkips += L"*a";
    struct Case {
        const char* name;
        std::function<void(TMerrowinFile&, const std::wstring&)> set;
        std::function<std::wstring(const TMerrowinFile&)> text;
    };
    const Case cases[] = {
        {"path mask", &TMerrowinFile::SetPathMask, &TMerrowinFile::PathMask},
        {"level masks", &TMerrowinFile::SetPathLevelMasks, &TMerrowinFile::PathLevelMasks},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMerrowinFile walker;
        c.set(walker, L"a*\\b?");
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_THROW(c.set(walker, L"a*\\" + tooManySkips), kit::Exception) << "attempt " << attempt;
            EXPECT_EQ(c.text(walker), L"a*\\b?");
        }
    }
    TMerrowinFile walker;
    walker.SetPathLevelMasks(L"a*\\b?");
    EXPECT_THROW(walker.SetPathLevelMasks(L"x\\" + tooManySkips), kit::Exception);
    EXPECT_EQ(walker.LevelCount(), 2) << "the old levels stay";
}
