#include <gtest/gtest.h>

#include "engine/UKvrTYPEFile.h"

#include <string>
#include <vector>

using namespace engine;

namespace {

template <std::size_t N>
std::vector<std::wstring> Texts(const std::array<const wchar_t*, N>& table, std::size_t count = N) {
    return std::vector<std::wstring>(table.begin(), table.begin() + count);
}

template <typename E>
void ExpectNamesRoundTrip() {
    const auto names = IdentifierNames<E>();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const E value = static_cast<E>(i);
        SCOPED_TRACE(testing::Message() << names[i]);
        EXPECT_EQ(IdentifierValue<E>(IdentifierName(value)), value);
    }
}

} // namespace

TEST(CriteriaTypes, ChoiceListsFromCaptionTables) {
    using List = std::vector<std::wstring>;
    EXPECT_EQ(Texts(NameMaskTypeCaptions, NameMaskTypeChoiceCount), (List{L"Simple", L"Wildcards"}));
    EXPECT_EQ(Texts(TextMaskTypeCaptions, TextMaskTypeChoiceCount), (List{L"Words", L"Phrases"}));
    EXPECT_EQ(Texts(DateTypeCaptions), (List{L"Modified", L"Creation", L"Last Access"}));
    EXPECT_EQ(Texts(DateRangeCaptions), (List{L"Between", L"Not Between", L"Newer than", L"Older than"}));
    EXPECT_EQ(Texts(DateDelayCaptions),
              (List{L"Date", L"Years", L"Months", L"Weeks", L"Days", L"Hours", L"Minutes", L"Seconds"}));
    EXPECT_EQ(Texts(SizeRangeCaptions), (List{L"Between", L"Not Between", L"Larger than", L"Smaller than"}));
    EXPECT_EQ(Texts(SizeUnitCaptions), (List{L"GB", L"MB", L"KB", L"Bytes"}));
    // The left-out modes are still indexable by their ordinals.
    EXPECT_STREQ(NameMaskTypeCaptions[nmRegularExpression], L"Reg Exp");
    EXPECT_STREQ(TextMaskTypeCaptions[tmBinaryCode], L"Binary");
}

TEST(CriteriaTypes, SectionSuffixesByOrdinal) {
    EXPECT_EQ(Texts(NameMaskTypeSections),
              (std::vector<std::wstring>{L"/SimpleText", L"/ManualWildcards", L"/RegularExpression"}));
    EXPECT_EQ(Texts(TextMaskTypeSections),
              (std::vector<std::wstring>{L"/WordsText", L"/PhrasesText", L"/HexadecimalCode", L"/BinaryCode",
                                         L"/RegularExpression"}));
}

TEST(CriteriaTypes, AllAttributesGiveTheFullWin32Mask) {
    EXPECT_EQ(ScanAttributeCount, 15);
    EXPECT_EQ(ScanAttributesToWin32(TScanAttributes::All()), 98295u);
    // Bits 8 and 32768 (and anything above 65536) have no member and are dropped.
    EXPECT_EQ(Win32ToScanAttributes(0xFFFFFFFF), TScanAttributes::All());
    EXPECT_TRUE(Win32ToScanAttributes(8 | 32768 | 0x20000).Empty());
    const TScanAttributes some{saReadOnly, saReparsePoint, saVirtual};
    EXPECT_EQ(ScanAttributesToWin32(some), 1u + 1024u + 65536u);
    EXPECT_EQ(Win32ToScanAttributes(ScanAttributesToWin32(some)), some);
    EXPECT_EQ(some.Bits(), (1u << 0) | (1u << 9) | (1u << 14));
}

TEST(CriteriaTypes, NamesRoundTripAndAreSpelledAsStored) {
    ExpectNamesRoundTrip<TNameMaskType>();
    ExpectNamesRoundTrip<TLenghtRangeType>();
    ExpectNamesRoundTrip<TDateTypeType>();
    ExpectNamesRoundTrip<TDateRangeType>();
    ExpectNamesRoundTrip<TDateDelayType>();
    ExpectNamesRoundTrip<TSizeRangeType>();
    ExpectNamesRoundTrip<TSizeUnitType>();
    ExpectNamesRoundTrip<TMatchAttributes>();
    ExpectNamesRoundTrip<TTextMaskType>();
    ExpectNamesRoundTrip<TTextSource>();
    ExpectNamesRoundTrip<TMatchText>();
    ExpectNamesRoundTrip<TMatchesType>();
    ExpectNamesRoundTrip<TOperativeMode>();
    ExpectNamesRoundTrip<TUserGraphicInterface>();
    ExpectNamesRoundTrip<TScanAttribute>();
    EXPECT_EQ(IdentifierName(drNewerThen), L"drNewerThen");
    EXPECT_EQ(IdentifierName(srLargerThen), L"srLargerThen");
    EXPECT_EQ(IdentifierName(lrBetween), L"lrBetween");
    EXPECT_EQ(IdentifierName(saOffLine), L"saOffLine");
}

TEST(CriteriaTypes, NamesAreReadWithoutCaseAndUnknownNamesAreRefused) {
    EXPECT_EQ(IdentifierValue<TSizeRangeType>(L"SRLARGERTHEN"), srLargerThen);
    EXPECT_EQ(IdentifierValue<TNameMaskType>(L"nmregularexpression"), nmRegularExpression);
    const wchar_t* const unknown[] = {L"", L"srLargerThan", L"nmSimpleText ", L"0", L"nmSimple", L"Simple"};
    for (const wchar_t* name : unknown) {
        SCOPED_TRACE(testing::Message() << '"' << name << '"');
        EXPECT_FALSE(IdentifierValue<TSizeRangeType>(name).has_value());
        EXPECT_FALSE(IdentifierValue<TNameMaskType>(name).has_value());
    }
    // A name of another enumeration is not a name of this one.
    EXPECT_FALSE(IdentifierValue<TSizeRangeType>(L"drBetween").has_value());
    EXPECT_EQ(IdentifierName(static_cast<TDateRangeType>(7)), L"");
}
