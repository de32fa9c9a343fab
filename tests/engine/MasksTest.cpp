#include <gtest/gtest.h>

#include "engine/MultiMasks.h"
#include "engine/MultiTexts.h"
#include "engine/WildcardMask.h"
#include "kit/Exception.h"

#include <string>

using namespace engine;

namespace {

bool WildcardMatches(const wchar_t* mask, const std::wstring& name) { return TWildcardMask(mask).Matches(name); }

std::wstring Stars(int runs) {
    std::wstring mask;
    for (int i = 0; i < runs; ++i) mask += L"*a";
    return mask;
}

} // namespace

TEST(WildcardMask, MatchesAsTheRulesSay) {
    struct Case { const wchar_t* mask; const wchar_t* name; bool match; };
    const Case cases[] = {
        {L"*.txt", L"a.txt", true},        {L"*.txt", L"A.TXT", true},       {L"*.txt", L"a.txt.bak", false},
        {L"*?.txt", L".txt", true},         {L"a?c", L"ac", false},           {L"a?c", L"abc", true},
        {L"[a].txt", L"[a].txt", true},     {L"[a].txt", L"[A].TXT", true},   {L"[a].txt", L"a.txt", false},
        {L"*", L"", true},                  {L"*", L"anything", true},        {L"?", L"", false},
        {L"abc", L"abcd", false},           {L"abc", L"xabc", false},         {L"a*", L"a", true},
        {L"a**b", L"ab", true},             {L"*ab*ab", L"xabyab", true},     {L"*ab", L"abab", true},
        {L"a*b*c", L"aXbYbZc", true},       {L"a*b*c", L"acb", false},        {L"*a?", L"aab", true},
        {L"\u00C9*", L"\u00E9t\u00E9", false}, {L"\u00E9*", L"\u00E9t\u00E9", true},
        {L"?", L"\U0001F600", true},        {L"\U0001F600*", L"\U0001F600x", true},
        {L"*\U0001F600", L"x\U0001F601", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mask << L" ~ " << c.name);
        EXPECT_EQ(WildcardMatches(c.mask, c.name), c.match);
    }
}

TEST(WildcardMask, ThirtyStarRunsCompileAndThirtyOneFail) {
    EXPECT_NO_THROW(TWildcardMask(Stars(30)));
    EXPECT_NO_THROW(TWildcardMask(L"a*b*c**********d"));  // a run of stars counts once
    try {
        TWildcardMask{Stars(31)};
        FAIL() << "31 runs compiled";
    } catch (const kit::Exception& e) {
        EXPECT_EQ(e.Message(), L"'" + Stars(31) + L"' is an invalid mask at (62)");
    }
    // A trailing "*" is carried by the end card and counts as a run.
    EXPECT_THROW(TWildcardMask(Stars(30) + L"*"), kit::Exception);
}

TEST(WildcardMask, ManyStarsAgainstALongNameFinishAtOnce) {
    const std::wstring name(32000, L'a');
    EXPECT_FALSE(WildcardMatches((Stars(29) + L"*b").c_str(), name));
    EXPECT_TRUE(WildcardMatches(Stars(30).c_str(), name));
}

TEST(MultiMasks, TokensAndModes) {
    for (SeparatorMode mode : {SeparatorMode::FileNameSeparators, SeparatorMode::BarOnly}) {
        const TMultiMasks masks(L"*.txt|*.doc", true, mode);
        EXPECT_EQ(masks.Count(), 2u);
        EXPECT_TRUE(masks.Matches(L"A.TXT"));
        EXPECT_TRUE(masks.Matches(L"b.doc"));
        EXPECT_FALSE(masks.Matches(L"a.txt.bak"));
    }
    const TMultiMasks split(L"C:\\data\\*.txt", true, SeparatorMode::FileNameSeparators);
    EXPECT_EQ(split.Count(), 3u);
    EXPECT_TRUE(split.Matches(L"data"));
    EXPECT_TRUE(split.Matches(L"c"));
    const TMultiMasks whole(L"C:\\data\\*.txt", true, SeparatorMode::BarOnly);
    EXPECT_EQ(whole.Count(), 1u);
    EXPECT_TRUE(whole.Matches(L"c:\\DATA\\notes.txt"));
    EXPECT_FALSE(whole.Matches(L"data"));
    EXPECT_EQ(TMultiMasks(L"||\"<>", true, SeparatorMode::FileNameSeparators).Count(), 0u);
    EXPECT_FALSE(TMultiMasks(L"", true, SeparatorMode::BarOnly).Matches(L""));
}

TEST(MultiMasks, WideningMakesBlanksIntoRuns) {
    const TMultiMasks widened(L"rep 10|   ", false, SeparatorMode::FileNameSeparators);
    EXPECT_TRUE(widened.Matches(L"my report 2010.doc"));  // "*rep*10*"
    EXPECT_FALSE(widened.Matches(L"report.doc"));
    EXPECT_TRUE(widened.Matches(L"a   b"));  // "*   *": a blank-only token keeps its blanks
    EXPECT_FALSE(widened.Matches(L"a  b"));
}

TEST(MultiMasks, AnInvalidTokenFailsTheWhole) {
    EXPECT_THROW(TMultiMasks(L"*.txt|" + Stars(31), true, SeparatorMode::BarOnly), kit::Exception);
}

TEST(MultiTexts, GroupsAndWords) {
    struct Case { const wchar_t* text; const wchar_t* name; bool match; };
    const Case cases[] = {
        {L"report 2010|*.doc", L"Annual_Report_2010.xls", true},
        {L"report 2010|*.doc", L"x.DOC.bak", true},
        {L"report 2010|*.doc", L"report.txt", false},
        {L"", L"anything", false},
        {L"|||", L"anything", false},
        {L"*", L"anything", true},
        {L"?", L"", true},
        {L" ", L"a b", true},
        {L" ", L"ab", false},
        {L"\u00C9t\u00E9", L"\u00E9t\u00E9", false},
        {L"a a", L"a", true},
        {L"a\r\nb", L"ba", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << L"\" ~ " << c.name);
        EXPECT_EQ(TMultiTexts(c.text).Matches(c.name), c.match);
    }
}

TEST(MultiTexts, WordsAreUpperCasedAndKeptInOrder) {
    const TMultiTexts texts(L"ab*c?d é|x");
    ASSERT_EQ(texts.Items().size(), 2u);
    EXPECT_EQ(texts.Items()[0].Words(), (std::vector<std::wstring>{L"AB", L"C", L"D", L"é"}));
    EXPECT_EQ(TMultiTexts(L"*").Items().size(), 1u);
    EXPECT_TRUE(TMultiTexts(L"*").Items()[0].Words().empty());
    EXPECT_EQ(TMultiTexts(L" ").Items()[0].Words(), (std::vector<std::wstring>{L" "}));
}
