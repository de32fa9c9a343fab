#include <gtest/gtest.h>

#include "engine/LongPaths.h"
#include "kit/Handles.h"
#include "tests/engine/PumpCounter.h"
#include "tests/engine/TextSearchFixture.h"
#include "tests/engine/WalkFixture.h"

#include <windows.h>

using namespace engine;
using namespace textfixture;

TEST(FilterText, SplitsWordsAndPhrases) {
    using Items = std::vector<std::wstring>;
    struct Case { TTextMaskType type; const wchar_t* text; Items items; };
    const Case cases[] = {
        {tmWordsText, L"red car", {L"red", L"car"}},
        {tmWordsText, L"  red   car ", {L"red", L"car"}},
        {tmWordsText, L"a\r\nb\rc\nd", {L"a", L"b", L"c", L"d"}},
        {tmWordsText, L"x|y", {L"x|y"}},
        {tmWordsText, L"   ", {}},
        {tmPhrasesText, L"red car| blue car", {L"red car", L"blue car"}},
        {tmPhrasesText, L"a| |b||", {L"a", L"b"}},  // blank and empty phrases are dropped like empty words
        {tmPhrasesText, L"\tone two \r\nthree", {L"one two", L"three"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.type) << " " << c.text);
        const auto items = SplitSearchItems(c.text, c.type);
        ASSERT_TRUE(items.has_value());
        EXPECT_EQ(*items, c.items);
    }
    for (TTextMaskType type : {tmHexadecimalCode, tmBinaryCode, tmRegularExpression})
        EXPECT_FALSE(SplitSearchItems(L"41 42", type).has_value());
    EXPECT_FALSE(SplitSearchItems(std::wstring(MaxSearchItemLength + 1, L'a'), tmWordsText).has_value());
    EXPECT_TRUE(SplitSearchItems(std::wstring(MaxSearchItemLength, L'a'), tmWordsText).has_value());
}

TEST(FilterText, AnyAllAndWithout) {
    struct Case { const char* content; const wchar_t* value; TTextMaskType type; TMatchText match; bool listed; };
    const Case cases[] = {
        {"red green", L"red blue", tmWordsText, mtMatchAny, true},
        {"red green", L"red blue", tmWordsText, mtMatchAll, false},
        {"red green", L"green red", tmWordsText, mtMatchAll, true},
        {"red green", L"blue", tmWordsText, mtMatchAny, false},
        {"a red car", L"red car|blue car", tmPhrasesText, mtMatchAny, true},
        {"a red car", L"red car|blue car", tmPhrasesText, mtMatchAll, false},
        {"a red car", L"car red", tmWordsText, mtMatchAll, true},
        {"a red car", L"car red", tmPhrasesText, mtMatchAny, false},
        {"a red car", L"red car| |blue car", tmPhrasesText, mtMatchAll, false},  // a blank phrase finds nothing
        {"", L"red", tmWordsText, mtMatchAny, false},                            // an empty file holds no item
        {"", L"red", tmWordsText, mtMatchAll, false},
    };
    for (const Case& c : cases) {
        for (bool without : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.value << " in \"" << c.content << "\" mode " << int(c.type)
                                            << " match " << int(c.match) << (without ? " without" : ""));
            TextSearch search;
            search.filter.TextMask.MaskType = c.type;
            search.filter.MatchText = c.match;
            search.filter.Without = without;
            EXPECT_EQ(search.Run(c.content, c.value), c.listed != without);
        }
    }
}

// The criterion is off, or decided without the file: nothing is opened (the file does not exist).
TEST(FilterText, DecidedWithoutOpeningTheFile) {
    struct Case {
        const wchar_t* value; const wchar_t* maskDefault; TTextMaskType type; TMatchText match; bool without;
        bool listed;
    };
    const Case cases[] = {
        {L"", L"", tmWordsText, mtMatchAny, false, true},
        {L"<none>", L"<none>", tmWordsText, mtMatchAll, true, true},
        {L"", L"<none>", tmWordsText, mtMatchAny, false, false},
        {L"", L"<none>", tmWordsText, mtMatchAll, false, true},
        {L"  ", L"", tmWordsText, mtMatchAny, true, true},
        {L" | ", L"", tmPhrasesText, mtMatchAll, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.value << "\" default \"" << c.maskDefault << "\"");
        TextSearch search;
        search.filter.TextMask.MaskType = c.type;
        search.filter.TextMask.Value = c.value;
        search.filter.MaskDefault = c.maskDefault;
        search.filter.MatchText = c.match;
        search.filter.Without = c.without;
        EXPECT_EQ(search.filter.Matches(search.folder.Path(), L"missing.txt", {}), c.listed);
    }
}

TEST(FilterText, SkipRulesWinOverWithout) {
    struct Case { const wchar_t* name; TScanAttributes attributes; bool TFilterText::*rule; };
    const Case cases[] = {
        {L"h.txt", {saHidden}, &TFilterText::SkipHiddenFiles},
        {L"s.txt", {saSystem}, &TFilterText::SkipSystemFiles},
        {L"driver.Dll", {}, &TFilterText::SkipSystemFiles},
        {L"photo.Jpg", {}, &TFilterText::SkipImageFiles},
        {L"song.mp3", {}, &TFilterText::SkipAudioFiles},
        {L"clip.avi", {}, &TFilterText::SkipVideoFiles},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        TextSearch search;
        testsupport::WriteBytes(search.folder / c.name, "no such word here");
        search.filter.TextMask.Value = L"absent";
        int fired = 0;
        search.filter.OnFilterText = [&](TFilterText&, const std::wstring&) { ++fired; };
        search.filter.Without = true;
        EXPECT_FALSE(search.filter.Matches(search.folder.Path(), c.name, c.attributes));
        EXPECT_EQ(fired, 0);
        search.filter.*c.rule = false;
        EXPECT_TRUE(search.filter.Matches(search.folder.Path(), c.name, c.attributes));
        EXPECT_EQ(fired, 1);
    }
}

TEST(FilterText, OtherModesListNoFile) {
    for (TTextMaskType type : {tmHexadecimalCode, tmBinaryCode, tmRegularExpression}) {
        for (bool without : {false, true}) {
            SCOPED_TRACE(testing::Message() << int(type) << (without ? " without" : ""));
            TextSearch search;
            search.filter.TextMask.MaskType = type;
            search.filter.Without = without;
            EXPECT_FALSE(search.Run("41 42 AB", L"41"));
            EXPECT_FALSE(search.Run("41 42 AB", L"zz"));
        }
    }
    TextSearch search;  // an item too long to search is refused the same way
    search.filter.Without = true;
    EXPECT_FALSE(search.Run("short", std::wstring(MaxSearchItemLength + 1, L'a')));
}

// A file that cannot be read does not "lack" the text: a without-search leaves it out too.
TEST(FilterText, AFileThatCannotBeOpenedIsNeverListed) {
    TextSearch search;
    testsupport::WriteBytes(search.folder / L"locked.txt", "plain text");
    search.filter.TextMask.Value = L"absent";
    for (bool without : {false, true}) {
        search.filter.Without = without;
        kit::UniqueHandle lock{CreateFileW((search.folder / L"locked.txt").c_str(), GENERIC_READ, 0, nullptr,
                                           OPEN_EXISTING, 0, nullptr)};
        ASSERT_TRUE(lock);
        EXPECT_FALSE(search.filter.Matches(search.folder.Path(), L"locked.txt", {}));
        EXPECT_FALSE(search.filter.Matches(search.folder.Path(), L"missing.txt", {}));
        lock.reset();
        EXPECT_EQ(search.filter.Matches(search.folder.Path(), L"locked.txt", {}), without);
    }
}

TEST(FilterText, FiresOnFilterTextWithThePathAndFollowsChangedCriteria) {
    TextSearch search;
    std::vector<std::wstring> paths;
    search.filter.OnFilterText = [&](TFilterText& sender, const std::wstring& path) {
        EXPECT_EQ(&sender, &search.filter);
        paths.push_back(path);
    };
    EXPECT_TRUE(search.Run("Red and green", L"red"));
    EXPECT_EQ(paths, std::vector<std::wstring>{search.folder / L"f.txt"});
    // The compiled items follow every change of text, mode and case between searches.
    EXPECT_FALSE(search.Run("Red and green", L"blue"));
    search.filter.CaseSensitive = true;
    EXPECT_FALSE(search.Run("Red and green", L"red"));
    search.filter.TextMask.MaskType = tmPhrasesText;
    EXPECT_TRUE(search.Run("Red and green", L"and green"));
    search.filter.TextMask.MaskType = tmWordsText;
    EXPECT_FALSE(search.Run("Red and green", L"and|green"));
    search.filter.TextMask.MaskType = tmPhrasesText;
    EXPECT_TRUE(search.Run("Red and green", L"and|green"));
}

// A long file keeps the window alive: one throttled pump before each 32,768-byte read.
TEST(FilterText, PumpsOncePerChunk) {
    pumpfixture::PumpCounter pumps;
    TextSearch search;
    EXPECT_FALSE(search.Run(std::string(2 * 32768 + 100, 'x'), L"needle"));
    EXPECT_EQ(pumps.whenDue, 3);
    EXPECT_EQ(pumps.now, 0);
}

TEST(FilterText, ResetKeepsTheTextMask) {
    TextSearch search;
    TFilterText& f = search.filter;
    f.TextMask = {L"words", tmPhrasesText};
    f.MaskDefault = L"x";
    f.MatchText = mtMatchAll;
    f.WholeWords = false;
    f.Without = f.CaseSensitive = f.Active = true;
    f.SkipHiddenFiles = f.SkipSystemFiles = f.SkipImageFiles = f.SkipAudioFiles = f.SkipVideoFiles = false;
    f.TextSource = tsTextFilter;
    f.Reset();
    EXPECT_EQ(f.TextMask.Value, L"words");
    EXPECT_EQ(f.TextMask.MaskType, tmPhrasesText);
    EXPECT_EQ(f.MaskDefault, L"");
    EXPECT_EQ(f.MatchText, mtMatchAny);
    EXPECT_TRUE(f.WholeWords);
    EXPECT_FALSE(f.CaseSensitive || f.Without || f.Active);
    EXPECT_TRUE(f.SkipHiddenFiles && f.SkipSystemFiles && f.SkipImageFiles && f.SkipAudioFiles && f.SkipVideoFiles);
    EXPECT_EQ(f.TextSource, tsRawFile);
}

// The walker lists folders past MAX_PATH and names the plain path form would change; the file is opened in
// the same long form.
TEST(FilterText, OpensAListedFileInTheLongPathForm) {
    TextSearch search;
    std::wstring deep = search.folder / L"deep";
    walkfixture::MakeFolder(deep);
    while (deep.size() < 300) {
        deep += L"\\" + std::wstring(60, L'd');
        walkfixture::MakeFolder(deep);
    }
    deep += L"\\";
    const std::wstring trailingDot = L"dot.";
    walkfixture::MakeFile(deep + L"f.txt", "needle");
    walkfixture::MakeFile(search.folder / trailingDot, "needle");
    search.filter.TextMask.Value = L"needle";
    EXPECT_TRUE(search.filter.Matches(deep, L"f.txt", {}));
    EXPECT_TRUE(search.filter.Matches(search.folder.Path(), trailingDot, {}));
}

TEST(LongPaths, OpenPath) {
    struct Case { const wchar_t* path; const wchar_t* open; };
    const Case cases[] = {
        {L"C:\\a\\b.txt", L"\\\\?\\C:\\a\\b.txt"},
        {L"\\\\server\\share\\b.txt", L"\\\\?\\UNC\\server\\share\\b.txt"},
        {L"\\\\?\\C:\\a\\b.txt", L"\\\\?\\C:\\a\\b.txt"},
        {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
        {L"C:/a/b.txt", L"C:/a/b.txt"},
        {L"C:\\a\\..\\b.txt", L"C:\\a\\..\\b.txt"},
        {L"C:b.txt", L"C:b.txt"},
        {L"b.txt", L"b.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(OpenPath(c.path), c.open) << c.path;
}
