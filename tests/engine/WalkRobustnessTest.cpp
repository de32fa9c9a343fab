// The walker against what real disks hold: link loops, folders that vanish or cannot be listed, long paths.
#include <gtest/gtest.h>

#include "engine/LongPaths.h"
#include "engine/MerrowinFile.h"
#include "tests/engine/WalkFixture.h"
#include "tests/support/TempFolder.h"

#include <algorithm>

using namespace engine;
using namespace walkfixture;
using Lines = std::vector<std::wstring>;

namespace {

bool Has(const Lines& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST(WalkRobustness, LinksBackToAnAncestorAreNotEnteredAgain) {
    testsupport::TempFolder root;
    MakeFolder(root / L"P");
    MakeFile(root / L"P\\p.txt");
    MakeFolder(root / L"Q");
    MakeFile(root / L"Q\\q.txt");
    MakeLink(root.Path(), root / L"P\\toRoot");
    MakeLink(root / L"P", root / L"P\\self");
    MakeLink(root / L"Q", root / L"P\\toQ");  // P and Q lead to each other
    MakeLink(root / L"P", root / L"Q\\toP");
    TMerrowinFile walker;
    walker.StartFolder = root.Path();
    Recorder recorder(root.Path());
    recorder.Attach(walker);
    EXPECT_TRUE(walker.Execute());
    const Lines& lines = recorder.lines;
    EXPECT_EQ(lines.back(), L"done");
    // Every link is still reported as a folder of its parent...
    EXPECT_TRUE(Has(lines, L"folder P\\toRoot"));
    EXPECT_TRUE(Has(lines, L"folder P\\self"));
    // ...a link to a folder outside the open chain is walked...
    EXPECT_TRUE(Has(lines, L"file P\\toQ\\q.txt"));
    EXPECT_TRUE(Has(lines, L"file Q\\toP\\p.txt"));
    // ...and one back into the open chain is not.
    EXPECT_FALSE(Has(lines, L"scan P\\toRoot\\"));
    EXPECT_FALSE(Has(lines, L"scan P\\self\\"));
    EXPECT_FALSE(Has(lines, L"scan P\\toQ\\toP\\"));
    EXPECT_FALSE(Has(lines, L"scan Q\\toP\\toQ\\"));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), L"file P\\p.txt"), 1);
}

TEST(WalkRobustness, AFolderThatVanishesOrCannotBeListedIsSkipped) {
    testsupport::TempFolder root;
    MakeFolder(root / L"A");
    MakeFile(root / L"A\\a.txt");
    MakeFolder(root / L"Gone");
    MakeFile(root / L"Gone\\g.txt");
    MakeFile(root / L"late.txt");
    MakeFolder(root / L"Z");
    MakeFile(root / L"Z\\z.txt");
    TMerrowinFile walker;
    walker.StartFolder = root.Path();
    Recorder recorder(root.Path());
    recorder.Attach(walker);
    auto record = walker.OnScanFolder;
    walker.OnScanFolder = [&](TMerrowinFile& w, const std::wstring& folder) {
        record(w, folder);
        if (folder == root / L"A\\") testsupport::RemoveTree(root / L"late.txt");  // listed, then gone
        if (folder == root / L"Gone\\") testsupport::RemoveTree(folder);       // gone before its listing
    };
    EXPECT_TRUE(walker.Execute());
    const Lines& lines = recorder.lines;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), L"scan Gone\\"), 1);  // from its parent only
    EXPECT_FALSE(Has(lines, L"file Gone\\g.txt"));
    EXPECT_TRUE(Has(lines, L"file Z\\z.txt"));
    EXPECT_EQ(lines.back(), L"done");
}

TEST(WalkRobustness, NamesThatLookLikeDotsAreRealFolders) {
    testsupport::TempFolder root;
    const std::wstring dotLike = L".\u00AD";
    MakeFolder(root / dotLike);
    MakeFile(root / (dotLike + L"\\inside.txt"));
    TMerrowinFile walker;
    walker.StartFolder = root.Path();
    walker.IncludeHiddenSubfolders = true;  // Wine shows names with a leading dot as hidden
    Recorder recorder(root.Path());
    recorder.Attach(walker);
    EXPECT_TRUE(walker.Execute());
    EXPECT_TRUE(Has(recorder.lines, L"file " + dotLike + L"\\inside.txt"));
}

TEST(WalkRobustness, LongPathsAreWalkedUpToTheListingLimit) {
    testsupport::TempFolder root;
    const std::wstring part(100, L'd');
    std::wstring deep = root / L"deep";
    MakeFolder(deep);
    std::vector<std::wstring> levels;
    while (deep.size() < MaxPatternLength + 50) {
        deep += L"\\" + part;
        MakeFolder(deep);
        MakeFile(deep + L"\\f.txt");
        levels.push_back(deep + L"\\");
    }
    MakeFolder(root / L"sibling");
    MakeFile(root / L"sibling\\s.txt");
    TMerrowinFile walker;
    walker.StartFolder = root.Path();
    std::vector<std::wstring> filesIn;
    walker.OnFileFound = [&](TMerrowinFile&, const TFoundEntry& file) { filesIn.push_back(file.Folder); };
    EXPECT_TRUE(walker.Execute());
    std::size_t listed = 0, listedPast260 = 0;
    for (const std::wstring& level : levels) {
        const bool listable = ListingPattern(level).size() > 0;
        SCOPED_TRACE(testing::Message() << level.size() << " characters");
        EXPECT_EQ(std::count(filesIn.begin(), filesIn.end(), level), listable ? 1 : 0);
        listed += listable;
        listedPast260 += listable && level.size() > 260;
    }
    EXPECT_GE(listedPast260, 3u);
    EXPECT_LT(listed, levels.size());  // the deepest is over the limit
    EXPECT_EQ(filesIn.back(), root / L"sibling\\");
}
