// The matcher's decision for whole entries, built from the criteria model as the Search action builds it,
// with no window: which tests a file and a folder go through, and that the contained text is read last.
#include <gtest/gtest.h>

#include "engine/FileTypesGroups.h"
#include "engine/FilterFile.h"
#include "engine/SearchParams.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"

#include <functional>

using namespace engine;
using engine::SearchParams::TSearchDateBase;
using engine::SearchParams::TSearchParams;

namespace {

class MatcherTest : public testing::Test {
protected:
    MatcherTest() {
        testsupport::WriteBytes(folder / L"report.txt", "the needle is here");
        entry.FileName = L"report.txt";
        entry.Folder = folder.Path();
        entry.FileAttributes = {saArchive};
        entry.CreationTime = 44990.0;  // the clock says 45000.5
        entry.LastAccessTime = 45000.0;
        entry.LastWriteTime = 44999.0;
        entry.FileSize = 18;
        matcher.Text.OnFilterText = [this](TFilterText&, const std::wstring& path) { readPaths.push_back(path); };
    }

    testsupport::FakeInteraction clock;
    testsupport::TempFolder folder;
    const TFileTypesGroups groups;
    TFilterFile matcher{groups};
    TFoundEntry entry;
    std::vector<std::wstring> readPaths;
};

// The dates on, and the one of `type` counting `days` back from now.
void DaysBack(TSearchParams& p, TDateTypeType type, TDateRangeType range, int days) {
    SearchParams::TSearchDate& dates = p.Files.Date;
    TSearchDateBase& date = type == dtCreation     ? static_cast<TSearchDateBase&>(dates.DateCreation)
                            : type == dtLastAccess ? static_cast<TSearchDateBase&>(dates.DateLastAccess)
                                                   : static_cast<TSearchDateBase&>(dates.DateModified);
    dates.Enabled = true;
    date.Enabled = true;
    date.RangeType = range;
    date.DelayType = ddDays;
    date.ValuePeriodDelayPos = days;
}

void SizeInBytes(TSearchParams& p, TSizeRangeType range, int bytes) {
    p.Files.Size.Enabled = true;
    p.Files.Size.RangeType = range;
    p.Files.Size.SetUnitTypeFrom(suBytes);
    p.Files.Size.SetValueFrom(bytes);
}

void Attributes(TSearchParams& p, TMatchAttributes match, TScanAttributes values) {
    p.Files.Attributes.Enabled = true;
    p.Files.Attributes.MatchAttributes = match;
    p.Files.Attributes.SetValues(values);
}

} // namespace

// One matcher primed afresh for every case, so a criterion left over from the case before would show.
// The same entry goes in as a file and as a folder; `read` says whether the file's content was searched.
TEST_F(MatcherTest, DecidesFilesAndFoldersFromTheCriteria) {
    struct Case {
        const char* name;
        std::function<void(TSearchParams&)> set;
        bool file, folder, read;
    };
    const Case cases[] = {
        {"nothing set", [](TSearchParams&) {}, true, true, false},
        {"file names hidden", [](TSearchParams& p) { p.ShowFileNames = false; }, false, true, false},
        {"folder names hidden", [](TSearchParams& p) { p.ShowFoldernames = false; }, true, false, false},

        {"wildcards that fit", [](TSearchParams& p) { p.Files.FileMask.SetManualWildcards(L"*.TXT"); }, true, true,
         false},
        {"wildcards that do not", [](TSearchParams& p) { p.Files.FileMask.SetManualWildcards(L"*.doc"); }, false,
         false, false},
        {"words in the name", [](TSearchParams& p) { p.Files.FileMask.SetSimpleText(L"port"); }, true, true, false},
        {"a regular expression", [](TSearchParams& p) { p.Files.FileMask.SetRegularExpression(L".*"); }, false,
         false, false},

        {"modified within three days", [](TSearchParams& p) { DaysBack(p, dtModified, drNewerThen, 3); }, true, true,
         false},
        {"modified within one day", [](TSearchParams& p) { DaysBack(p, dtModified, drNewerThen, 1); }, false, false,
         false},
        {"created over five days ago", [](TSearchParams& p) { DaysBack(p, dtCreation, drOlderThen, 5); }, true, true,
         false},
        {"accessed over five days ago", [](TSearchParams& p) { DaysBack(p, dtLastAccess, drOlderThen, 5); }, false,
         false, false},
        {"dates switched off above their criterion",
         [](TSearchParams& p) {
             DaysBack(p, dtModified, drNewerThen, 1);
             p.Files.Date.Enabled = false;
         },
         true, true, false},

        {"larger than 10 bytes", [](TSearchParams& p) { SizeInBytes(p, srLargerThen, 10); }, true, false, false},
        {"smaller than 10 bytes", [](TSearchParams& p) { SizeInBytes(p, srSmallerThen, 10); }, false, false, false},

        {"archive among all asked", [](TSearchParams& p) { Attributes(p, maMatchAll, {saArchive}); }, true, true,
         false},
        {"hidden asked", [](TSearchParams& p) { Attributes(p, maMatchAny, {saHidden}); }, false, false, false},
        {"the default set, any", [](TSearchParams& p) { Attributes(p, maMatchAny, TFilterAttributes::DefaultValues); },
         true, true, false},

        {"text found", [](TSearchParams& p) { p.Text.TextMask.SetWordsText(L"needle"); }, true, false, true},
        {"text missing", [](TSearchParams& p) { p.Text.TextMask.SetWordsText(L"haystack"); }, false, false, true},
        {"text missing, without it",
         [](TSearchParams& p) {
             p.Text.TextMask.SetWordsText(L"haystack");
             p.Text.Without = true;
         },
         true, false, true},
        {"text after a failing name",
         [](TSearchParams& p) {
             p.Files.FileMask.SetManualWildcards(L"*.doc");
             p.Text.TextMask.SetWordsText(L"needle");
         },
         false, false, false},
        {"text after a failing date",
         [](TSearchParams& p) {
             DaysBack(p, dtModified, drNewerThen, 1);
             p.Text.TextMask.SetWordsText(L"needle");
         },
         false, false, false},
        {"text after a failing size",
         [](TSearchParams& p) {
             SizeInBytes(p, srSmallerThen, 10);
             p.Text.TextMask.SetWordsText(L"needle");
         },
         false, false, false},
        {"text after failing attributes",
         [](TSearchParams& p) {
             Attributes(p, maMatchAny, {saHidden});
             p.Text.TextMask.SetWordsText(L"needle");
         },
         false, false, false},
        {"text on hidden file names",
         [](TSearchParams& p) {
             p.ShowFileNames = false;
             p.Text.TextMask.SetWordsText(L"needle");
         },
         false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSearchParams params;
        c.set(params);
        matcher.Prime(params);
        readPaths.clear();
        EXPECT_EQ(matcher.FolderMatches(entry), c.folder);
        EXPECT_TRUE(readPaths.empty()) << "a folder's content is never searched";
        EXPECT_EQ(matcher.FileMatches(entry), c.file);
        EXPECT_EQ(readPaths, c.read ? std::vector<std::wstring>{folder / L"report.txt"} : std::vector<std::wstring>{});
    }
}

// The Search action primes what the criteria hold at that moment: a one-sided date bound counts back from the
// time of priming; the parts of the matcher the criteria do not reach keep their values.
TEST_F(MatcherTest, PrimingMeasuresBoundsFromNowAndLeavesTheRest) {
    matcher.Files.FileMaskExclude.SetValue(L"kept");
    matcher.Folders.FilterInHiddenSubfolders = true;
    matcher.Files.NameLenght.ValueMax = 12;
    TSearchParams params;
    DaysBack(params, dtCreation, drOlderThen, 3);
    params.Files.Size.SetUnitTypeTo(suKB);
    params.Files.Size.SetValueTo(2);
    params.Text.TextSource = tsTextFilter;
    params.Text.SkipAudioFiles = false;
    params.Files.Attributes.SetValues({saHidden, saSystem});

    clock.now = 45100.25;
    matcher.Prime(params);
    EXPECT_EQ(matcher.Files.Date.DateCreation.DateBound, 45097.25);
    EXPECT_EQ(matcher.Files.Date.DateCreation.DateType, dtCreation);
    EXPECT_TRUE(matcher.Files.Date.Enabled);
    EXPECT_TRUE(matcher.Files.Date.DateCreation.Enabled);
    EXPECT_FALSE(matcher.Files.Date.DateModified.Enabled);
    EXPECT_EQ(matcher.Files.Size.SizeMax, 2048.0L);
    EXPECT_EQ(matcher.Text.TextSource, tsTextFilter);
    EXPECT_FALSE(matcher.Text.SkipAudioFiles);
    EXPECT_EQ(matcher.Files.Attributes.Win32Mask(), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});

    EXPECT_FALSE(matcher.Files.FileMaskExclude.Matches(L"other"));
    EXPECT_TRUE(matcher.Folders.FilterInHiddenSubfolders);
    EXPECT_EQ(matcher.Files.NameLenght.ValueMax, 12);

    clock.now = 45200.25;
    matcher.Prime(params);
    EXPECT_EQ(matcher.Files.Date.DateCreation.DateBound, 45197.25) << "measured again at every search";
}
