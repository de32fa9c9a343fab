#include <gtest/gtest.h>

#include "engine/DateTimes.h"
#include "results/DateTimeText.h"
#include "results/ResultTable.h"
#include "tests/results/ResultsFixture.h"

#include <cfenv>
#include <limits>
#include <string>
#include <vector>

using namespace results;
using engine::DecodeDateTime;
using engine::EncodeDateTime;
using engine::TDateTimeParts;
using engine::TScanAttributes;

namespace {

std::wstring Cell(TResultTable& table, std::int64_t row, TColumnsEnum kind) {
    return table.ColumnAt(row, kind).CellText();
}

TRow& AddFile(TResultTable& table, const std::wstring& name, long double size = 0, TScanAttributes attributes = {}) {
    return table.AddRow(table.Count() + 1, -1, attributes, 0, 0, 0, size, L"", L"C:\\Data\\", -1, name, -1);
}

std::vector<std::int64_t> Numbers(TResultTable& table) {
    std::vector<std::int64_t> numbers;
    for (std::int64_t i = 0; i < table.Count(); ++i) numbers.push_back(table.RowAt(i)->Number);
    return numbers;
}

} // namespace

TEST(ResultTable, SizeAndExtensionCells) {
    struct Case { long double size; bool folder; const wchar_t* sizeText; const wchar_t* ext; };
    const Case cases[] = {
        {0, false, L"0 Bytes", L".txt"},          {1, false, L"1 Bytes", L".txt"},
        {1023, false, L"1,023 Bytes", L".txt"},   {1024, false, L"1 KB", L".txt"},
        {1025, false, L"2 KB", L".txt"},          {1048576, false, L"1,024 KB", L".txt"},
        {1048577, false, L"1,025 KB", L".txt"},   {1152921504606846976.0L, false, L"1,125,899,906,842,624 KB", L".txt"},
        {4096, true, L"", L""},
    };
    TResultTable table;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<double>(c.size) << (c.folder ? " folder" : ""));
        AddFile(table, L"a.txt", c.size, c.folder ? TScanAttributes{engine::saDirectory} : TScanAttributes{});
        EXPECT_EQ(Cell(table, table.Count() - 1, tcSize), c.sizeText);
        EXPECT_EQ(Cell(table, table.Count() - 1, tcExt), c.ext);
    }
    // Working out the kilobytes leaves the process rounding as it was.
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
}

TEST(ResultTable, ExtensionIsFromTheLastDotAndCached) {
    struct Case { const wchar_t* name; const wchar_t* ext; };
    const Case cases[] = {{L"a.b.TXT", L".TXT"}, {L"noext", L""}, {L".profile", L".profile"}, {L"end.", L"."}};
    TResultTable table;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        TRow& row = AddFile(table, c.name);
        EXPECT_EQ(Cell(table, table.Count() - 1, tcExt), c.ext);
        EXPECT_EQ(row.Ext, c.ext);
    }
}

TEST(ResultTable, ShortcutsAreKnownByExtension) {
    struct Case { const wchar_t* name; bool folder; bool shortcut; };
    const Case cases[] = {{L"A.LNK", false, true}, {L"site.url", false, true}, {L"a.txt", false, false},
                          {L"x.lnk", true, false}, {L"lnk", false, false}};
    TResultTable table;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        EXPECT_EQ(AddFile(table, c.name, 0, c.folder ? TScanAttributes{engine::saDirectory} : TScanAttributes{})
                      .IsShortcut(),
                  c.shortcut);
    }
}

TEST(ResultTable, AttributeLetters) {
    using namespace engine;
    struct Case { TScanAttributes set; const wchar_t* text; };
    const Case cases[] = {
        {{saDirectory}, L"D"}, {{saArchive, saReadOnly}, L"RA"}, {{}, L""},
        {TScanAttributes::All(), L"RHSDAWNTFPCOIEV"}, {{saVirtual, saHidden, saEncrypted}, L"HEV"},
    };
    TResultTable table;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text);
        AddFile(table, L"a", 0, c.set);
        EXPECT_EQ(Cell(table, table.Count() - 1, tcAttribute), c.text);
        EXPECT_EQ(table.Column(tcAttribute).AttributeSet(), c.set);
    }
}

TEST(ResultTable, DateCellsShowMarkersAndLocaleTexts) {
    ASSERT_TRUE(resultstest::UsEnglishLocale()) << resultstest::LocaleNote;
    struct Case { TDateTimeParts when; const wchar_t* text; };
    const Case cases[] = {
        {{1899, 12, 30, 2, 2, 2, 2}, L"INVALID DATE (FT)"},
        {{1899, 12, 30, 4, 4, 4, 4}, L"INVALID DATE (FTTLFT)"},
        {{1899, 12, 30, 6, 6, 6, 6}, L"INVALID DATE (FTTST)"},
        {{1899, 12, 30, 8, 8, 8, 8}, L"INVALID DATE (STTDT)"},
        {{1899, 12, 30, 0, 0, 0, 0}, L"12/30/1899"},
        {{1899, 12, 30, 3, 3, 3, 3}, L"12/30/1899 3:03:03 AM"},
        {{1899, 12, 30, 2, 2, 2, 3}, L"12/30/1899 2:02:02 AM"},
        {{1899, 12, 31, 2, 2, 2, 2}, L"12/31/1899 2:02:02 AM"},
        {{2011, 3, 2, 14, 5, 9, 123}, L"3/2/2011 2:05:09 PM"},
        {{2024, 2, 29, 0, 0, 0, 0}, L"2/29/2024"},
        {{1601, 1, 1, 0, 0, 0, 1}, L"1/1/1601 12:00:00 AM"},
    };
    TResultTable table;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text);
        const double value = EncodeDateTime(c.when);
        table.AddRow(1, -1, {}, value, value + 1, value + 2, 0, L"", L"C:\\", -1, L"a", -1);
        const std::int64_t row = table.Count() - 1;
        EXPECT_EQ(Cell(table, row, tcDateModified), c.text);
        EXPECT_EQ(table.ColumnAt(row, tcDateModified).DateValue(), value);
        EXPECT_EQ(table.ColumnAt(row, tcDateAccessed).DateValue(), value + 1);
        EXPECT_EQ(table.ColumnAt(row, tcDateCreated).DateValue(), value + 2);
    }
}

TEST(ResultTable, DatesDecodeToTheMillisecondAndBack) {
    struct Case { double value; TDateTimeParts parts; };
    const Case cases[] = {
        {0.0, {1899, 12, 30, 0, 0, 0, 0}},         {1.5, {1899, 12, 31, 12, 0, 0, 0}},
        {-1.25, {1899, 12, 28, 18, 0, 0, 0}},       {2.0 - 1e-10, {1900, 1, 1, 0, 0, 0, 0}},
        {40604.5, {2011, 3, 2, 12, 0, 0, 0}},      {2958465.0, {9999, 12, 31, 0, 0, 0, 0}},
        {-693593.0, {1, 1, 1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value);
        const auto parts = DecodeDateTime(c.value);
        ASSERT_TRUE(parts.has_value());
        EXPECT_EQ(parts->Year, c.parts.Year);
        EXPECT_EQ(parts->Month, c.parts.Month);
        EXPECT_EQ(parts->Day, c.parts.Day);
        EXPECT_EQ(parts->Hour, c.parts.Hour);
        EXPECT_EQ(parts->Millisecond, c.parts.Millisecond);
    }
    const TDateTimeParts when{2011, 3, 2, 14, 5, 9, 123};
    const auto back = DecodeDateTime(EncodeDateTime(when));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(XmlDateText(EncodeDateTime(when)), L"20110302T14:05:09123");
    EXPECT_EQ(XmlDateText(EncodeDateTime({2011, 3, 2, 0, 0, 0, 0})), L"20110302");
    // Values no calendar holds give no text rather than a wrong one.
    for (double bad : {2958466.0, -693594.5, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(DecodeDateTime(bad).has_value());
        EXPECT_EQ(FormatRowDate(bad), L"");
        EXPECT_EQ(XmlDateText(bad), L"");
    }
}

TEST(ResultTable, TypeNameIsAskedOnceAndNumberAndNamesAreStored) {
    TResultTable table;
    TRow& file = AddFile(table, L"notes.txt");
    TRow& folder = AddFile(table, L"Sub", 0, {engine::saDirectory});
    EXPECT_EQ(file.TypeName, L"X");
    const std::wstring fileType = Cell(table, 0, tcType);
    EXPECT_FALSE(fileType.empty());
    EXPECT_NE(fileType, L"X");
    EXPECT_NE(Cell(table, 1, tcType), fileType);  // a folder is not a text file, even without a real path
    // Once fetched, the stored name is what the cell shows: the shell is not asked again.
    file.TypeName = L"Kept";
    EXPECT_EQ(Cell(table, 0, tcType), L"Kept");
    EXPECT_EQ(Cell(table, 1, tcNumber), L"2");
    EXPECT_EQ(Cell(table, 1, tcName), L"Sub");
    EXPECT_EQ(Cell(table, 1, tcFolder), L"C:\\Data\\");
    EXPECT_EQ(folder.Folder + folder.Name, L"C:\\Data\\Sub");
    // A cursor off the table reads empty cells.
    EXPECT_EQ(Cell(table, 2, tcName), L"");
    EXPECT_EQ(Cell(table, -1, tcNumber), L"");
    EXPECT_EQ(table.RowAt(5), nullptr);
}

TEST(ResultTable, SortsByEveryColumnBothWays) {
    // Rows chosen so that each column orders them differently from their numbers.
    TResultTable table;
    using engine::saArchive;
    using engine::saHidden;
    using engine::saReadOnly;
    table.AddRow(1, -1, {saReadOnly}, 30, 200, 3, 500, L"", L"C:\\b\\", -1, L"beta.TXT", -1).TypeName = L"Text";
    table.AddRow(2, -1, {saArchive}, 10, 300, 1, 10, L"", L"C:\\C\\", -1, L"Alpha.doc", -1).TypeName = L"";
    table.AddRow(3, -1, {saHidden}, 20, 100, 2, 2000, L"", L"c:\\a\\", -1, L"gamma.bmp", -1).TypeName = L"Bitmap";
    struct Case { TColumnsEnum column; std::vector<std::int64_t> ascending; };
    const Case cases[] = {
        {tcName, {2, 1, 3}},       {tcNumber, {1, 2, 3}},       {tcFolder, {3, 1, 2}},
        {tcSize, {2, 1, 3}},       {tcExt, {3, 2, 1}},          {tcType, {2, 3, 1}},
        {tcAttribute, {2, 3, 1}},  {tcDateModified, {2, 3, 1}}, {tcDateCreated, {2, 3, 1}},
        {tcDateAccessed, {3, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "column " << static_cast<int>(c.column));
        ASSERT_TRUE(table.Sort(c.column, 1, table.Count() - 1, 0));
        EXPECT_EQ(Numbers(table), c.ascending);
        ASSERT_TRUE(table.Sort(c.column, 2, table.Count() - 1, 0));
        EXPECT_EQ(Numbers(table), std::vector<std::int64_t>(c.ascending.rbegin(), c.ascending.rend()));
        EXPECT_EQ(table.SortColumn(), c.column);
        EXPECT_EQ(table.SortDirection(), 2);
    }
    // Direction 0 restores the order the rows were found in.
    ASSERT_TRUE(table.Sort(tcName, 0, table.Count() - 1, 0));
    EXPECT_EQ(Numbers(table), (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_EQ(table.SortColumn(), tcNumber);
    EXPECT_EQ(table.SortDirection(), 1);
}

TEST(ResultTable, SortOfNoRowOrOneRowChangesNothing) {
    TResultTable table;
    EXPECT_TRUE(table.Sort(tcName, 2, table.Count() - 1, 0));
    EXPECT_EQ(table.Count(), 0);
    AddFile(table, L"only");
    for (std::uint8_t direction : {0, 1, 2}) EXPECT_TRUE(table.Sort(tcType, direction, table.Count() - 1, 0));
    EXPECT_EQ(Numbers(table), std::vector<std::int64_t>{1});
    // A range reaching past the table is kept to the rows there are.
    AddFile(table, L"another");
    EXPECT_TRUE(table.Sort(tcName, 1, 10, -3));
    EXPECT_EQ(Numbers(table), (std::vector<std::int64_t>{2, 1}));
}

TEST(ResultTable, ManyEqualAndMixedRowsSort) {
    TResultTable table;
    for (int i = 0; i < 500; ++i) AddFile(table, std::to_wstring((i * 7919) % 13) + L".txt", (i * 31) % 17);
    ASSERT_TRUE(table.Sort(tcSize, 1, table.Count() - 1, 0));
    for (std::int64_t i = 1; i < table.Count(); ++i) EXPECT_LE(table.RowAt(i - 1)->Size, table.RowAt(i)->Size);
    ASSERT_TRUE(table.Sort(tcNumber, 2, table.Count() - 1, 0));
    for (std::int64_t i = 0; i < table.Count(); ++i) EXPECT_EQ(table.RowAt(i)->Number, 500 - i);
}

// The text sorts compare sort keys made once per row; they must order every pair as the locale comparison does,
// and break ties (names equal but for case) as the comparison-driven sort always has.
TEST(ResultTable, TextSortsKeepTheLocaleOrderAndItsTies) {
    const wchar_t* names[] = {L"co-op", L"coop", L"Co-Op", L"it's", L"its", L"r\u00e9sum\u00e9", L"resume",
                              L"R\u00c9SUM\u00c9", L"file10", L"file2", L"File1", L"a b", L"ab", L"_x", L".x", L"",
                              L"stra\u00dfe", L"strasse", L"\u00c5ngstr\u00f6m", L"zebra"};
    const wchar_t* types[] = {L"", L"Text Document", L"text document", L"Bitmap", L"Co-op file", L"\u00e9t\u00e9"};
    TResultTable table;
    for (int i = 0; i < 60; ++i) {
        const std::wstring name = names[i % std::size(names)];
        const std::wstring folder = std::wstring(L"C:\\") + names[(i * 7) % std::size(names)] + L"\\";
        const TScanAttributes attributes = i % 3 == 0 ? TScanAttributes{engine::saHidden}
                                                      : TScanAttributes{engine::saArchive, engine::saReadOnly};
        table.AddRow(i + 1, -1, attributes, 0, 0, 0, 0, L"", folder, -1, name + L"." + names[i % 7], -1).TypeName =
            types[i % std::size(types)];
    }
    for (TColumnsEnum column : {tcName, tcFolder, tcExt, tcType, tcAttribute}) {
        for (std::uint8_t direction : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "column " << static_cast<int>(column) << " direction "
                                            << static_cast<int>(direction));
            ASSERT_TRUE(table.Sort(column, direction, table.Count() - 1, 0));
            for (std::int64_t i = 0; i < table.Count(); ++i)
                for (std::int64_t j = i + 1; j < table.Count(); ++j)
                    ASSERT_LE(table.CompareRows(*table.RowAt(i), *table.RowAt(j)), 0) << i << " " << j;
        }
    }

    TResultTable ties;
    for (const wchar_t* name : {L"b", L"A", L"a", L"B", L"a", L"A", L"c", L"C"}) AddFile(ties, name);
    ASSERT_TRUE(ties.Sort(tcName, 1, ties.Count() - 1, 0));
    EXPECT_EQ(Numbers(ties), (std::vector<std::int64_t>{3, 5, 6, 2, 1, 4, 8, 7}));
    ASSERT_TRUE(ties.Sort(tcName, 2, ties.Count() - 1, 0));
    EXPECT_EQ(Numbers(ties), (std::vector<std::int64_t>{8, 7, 1, 4, 5, 3, 2, 6}));
}

TEST(ResultTable, DeleteAndClear) {
    TResultTable table;
    for (const wchar_t* name : {L"a", L"b", L"c"}) AddFile(table, name);
    EXPECT_TRUE(table.DeleteRow(1));
    EXPECT_EQ(Numbers(table), (std::vector<std::int64_t>{1, 3}));
    EXPECT_FALSE(table.DeleteRow(2));
    EXPECT_FALSE(table.DeleteRow(-1));
    EXPECT_TRUE(table.Clear());
    EXPECT_EQ(table.Count(), 0);
}
