#include <gtest/gtest.h>

#include "engine/FilterFile.h"
#include "kit/Exception.h"

using namespace engine;

namespace {

FilterFile::TNameMask Mask(TNameMaskType type, const std::wstring& value) {
    FilterFile::TNameMask mask;
    mask.MaskType = type;
    mask.SetValue(value);
    return mask;
}

} // namespace

TEST(FilterNameMask, MatchesByMode) {
    struct Case { TNameMaskType type; const wchar_t* value; const wchar_t* name; bool match; };
    const Case cases[] = {
        {nmSimpleText, L"", L"any", true},           {nmManualWildcards, L"", L"any", true},
        {nmSimpleText, L"*", L"any", true},          {nmManualWildcards, L"*", L"any", true},
        {nmManualWildcards, L"**", L"any", true},    {nmManualWildcards, L"*.txt", L"a.TXT", true},
        {nmManualWildcards, L"*.txt", L"a.txt.bak", false},
        {nmManualWildcards, L"a b", L"xa by", false},  // taken as written, not widened
        {nmManualWildcards, L"C:\\x\\*.doc", L"r.doc", true},
        {nmSimpleText, L"report 2010", L"Annual_Report_2010.xls", true},
        {nmSimpleText, L"report 2010", L"report.txt", false},
        {nmRegularExpression, L".*", L"any", false}, {nmRegularExpression, L"*", L"any", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.type) << ' ' << c.value << L" ~ " << c.name);
        EXPECT_EQ(Mask(c.type, c.value).Matches(c.name), c.match);
    }
}

TEST(FilterNameMask, ATypeSwitchedAfterTheValueNeverUsesAMissingOrStaleForm) {
    FilterFile::TNameMask mask = Mask(nmSimpleText, L"report");
    mask.MaskType = nmManualWildcards;  // no wildcard form was ever built
    EXPECT_TRUE(mask.Matches(L"REPORT"));
    EXPECT_FALSE(mask.Matches(L"my report"));

    mask.SetValue(L"*.doc");             // builds the wildcard form only
    mask.MaskType = nmSimpleText;        // the word form is from "report"
    EXPECT_TRUE(mask.Matches(L"x.doc"));
    EXPECT_FALSE(mask.Matches(L"report.txt"));
}

TEST(FilterNameMask, AnInvalidWildcardTextIsReportedAndMatchesNothing) {
    std::wstring runs;
    for (int i = 0; i < 31; ++i) runs += L"*a";
    FilterFile::TNameMask mask;
    mask.MaskType = nmManualWildcards;
    EXPECT_THROW(mask.SetValue(runs), kit::Exception);
    EXPECT_FALSE(mask.Matches(L"aaa"));
    mask.MaskType = nmSimpleText;
    mask.MaskType = nmManualWildcards;
    EXPECT_FALSE(mask.Matches(std::wstring(100, L'a')));
}

TEST(FilterCriteria, DateBoundsAreInclusive) {
    TFilterDateModified date;
    date.Enabled = true;
    date.DateFrom = 10;
    date.DateTo = 20;
    date.DateBound = 15;
    struct Case { TDateRangeType range; double time; bool match; };
    const Case cases[] = {
        {drBetween, 10, true},     {drBetween, 20, true},     {drBetween, 9.99, false}, {drBetween, 20.01, false},
        {drNotBetween, 10, false}, {drNotBetween, 9.99, true}, {drNotBetween, 20.01, true},
        {drNewerThen, 15, true},   {drNewerThen, 14.9, false}, {drOlderThen, 15, true}, {drOlderThen, 15.1, false},
        {static_cast<TDateRangeType>(7), 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.range) << " at " << c.time);
        date.RangeType = c.range;
        EXPECT_EQ(date.Matches(c.time), c.match);
    }
    date.Enabled = false;
    date.RangeType = drBetween;
    EXPECT_TRUE(date.Matches(0));
}

TEST(FilterCriteria, EachEnabledDateGetsItsOwnTime) {
    TFilterDate date;
    EXPECT_TRUE(date.Matches(0, 0, 0));  // none enabled
    date.DateCreation.Enabled = true;
    date.DateCreation.RangeType = drNewerThen;
    date.DateCreation.DateBound = 100;
    EXPECT_TRUE(date.Matches(0, 100, 0));
    EXPECT_FALSE(date.Matches(100, 0, 100));
    date.DateLastAccess.Enabled = true;
    date.DateLastAccess.RangeType = drOlderThen;
    date.DateLastAccess.DateBound = 50;
    EXPECT_FALSE(date.Matches(0, 100, 60));
    EXPECT_TRUE(date.Matches(0, 100, 50));
    EXPECT_EQ(date.DateModified.DateType, dtModified);
    EXPECT_EQ(date.DateLastAccess.DateType, dtLastAccess);
}

TEST(FilterCriteria, SizeComparisons) {
    TFilterSize size;
    size.Enabled = true;
    EXPECT_TRUE(size.Matches(0));  // between 0 and 0: only empty files
    EXPECT_FALSE(size.Matches(1));
    size.SizeMin = 100;
    size.SizeMax = 4294967297.0L;
    struct Case { TSizeRangeType range; long double size; bool match; };
    const Case cases[] = {
        {srBetween, 100, true},        {srBetween, 4294967297.0L, true}, {srBetween, 4294967298.0L, false},
        {srNotBetween, 100, false},    {srNotBetween, 99, true},
        {srLargerThen, 100, false},    {srLargerThen, 101, true},
        {srSmallerThen, 100, false},   {srSmallerThen, 99, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.range) << " size " << static_cast<double>(c.size));
        size.RangeType = c.range;
        EXPECT_EQ(size.Matches(c.size), c.match);
    }
}

TEST(FilterCriteria, AttributeSetComparisons) {
    const TFileTypesGroups groups;
    TFilterFile filter(groups);
    TFilterAttributes& attributes = filter.Files.Attributes;
    EXPECT_EQ(attributes.Values().Bits(), 9311);
    EXPECT_EQ(attributes.Win32Mask(), 1u + 2 + 4 + 16 + 32 + 128 + 2048 + 16384);
    attributes.Enabled = true;
    const TScanAttributes none;
    struct Case { TMatchAttributes mode; TScanAttributes values; TScanAttributes entry; bool match; };
    const Case cases[] = {
        {maMatchAny, TFilterAttributes::DefaultValues, {saNotIndexed}, false},
        {maMatchAny, TFilterAttributes::DefaultValues, {saTemporary}, false},
        {maMatchAny, TFilterAttributes::DefaultValues, none, false},
        {maMatchAny, TFilterAttributes::DefaultValues, {saArchive, saTemporary}, true},
        {maMatchAll, none, {saHidden}, true},
        {maMatchAll, {saHidden, saSystem}, {saHidden}, false},
        {maMatchAll, {saHidden, saSystem}, {saHidden, saSystem, saArchive}, true},
        {maMatchOnly, none, none, true},
        {maMatchOnly, none, {saArchive}, false},
        {maMatchOnly, {saArchive}, {saArchive}, true},
        {static_cast<TMatchAttributes>(5), {saArchive}, none, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.mode) << " set " << c.values.Bits() << " entry " << c.entry.Bits());
        attributes.MatchAttributes = c.mode;
        attributes.SetValues(c.values);
        EXPECT_EQ(attributes.Win32Mask(), ScanAttributesToWin32(c.values));
        EXPECT_EQ(attributes.Matches(c.entry), c.match);
    }
}

TEST(FilterFile, ResetGivesTheStartingCriteria) {
    const TFileTypesGroups groups;
    TFilterFile filter(groups);
    filter.Files.FileMask.MaskType = nmManualWildcards;
    filter.Files.FileMask.SetValue(L"*.txt");
    filter.Files.Size.Enabled = true;
    filter.Files.Date.DateModified.RangeType = drOlderThen;
    filter.Files.Attributes.Enabled = true;
    filter.Folders.FilterInHiddenSubfolders = true;
    filter.ShowFileNames = false;
    filter.Text.Without = true;
    filter.Text.TextMask.Value = L"kept";
    filter.Reset();
    EXPECT_FALSE(filter.Text.Without);
    EXPECT_EQ(filter.Text.TextMask.Value, L"kept");
    EXPECT_EQ(filter.Files.FileMask.MaskType, nmSimpleText);
    EXPECT_TRUE(filter.Files.FileMask.Matches(L"anything.doc"));  // the empty default text
    EXPECT_FALSE(filter.Files.Size.Enabled);
    EXPECT_EQ(filter.Files.Date.DateModified.RangeType, drBetween);
    EXPECT_FALSE(filter.Files.Attributes.Enabled);
    EXPECT_FALSE(filter.Folders.FilterInHiddenSubfolders);
    EXPECT_TRUE(filter.ShowFileNames);
    EXPECT_EQ(filter.Files.NameLenght.ValueMax, 256);
    EXPECT_EQ(&filter.Folders.Owner, &filter);
}

TEST(FilterFile, FolderListTexts) {
    const TFileTypesGroups groups;
    TFilterFile filter(groups);
    filter.Folders.SetPathBaseText(L"\"C:\\a\"|\"D:\\b c\"");
    EXPECT_EQ(filter.Folders.PathBaseList, (std::vector<std::wstring>{L"C:\\a", L"D:\\b c"}));
    EXPECT_EQ(filter.Folders.PathBaseText(), L"C:\\a\"D:\\b c\"");
    filter.Folders.SetPathBaseTextExclude(L"x|y");
    EXPECT_EQ(filter.Folders.PathBaseListExclude, (std::vector<std::wstring>{L"x", L"y"}));
}
