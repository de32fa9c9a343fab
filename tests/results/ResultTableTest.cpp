#include <gtest/gtest.h>

#include "engine/DateTimes.h"
#include "results/DateTimeText.h"
#include "results/ResultTable.h"
#include "results/RowSort.h"
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
        EXPECT_EQ(row.ExtText(), c.ext);
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
    EXPECT_EQ(file.TypeName(), L"X");
    const std::wstring fileType = Cell(table, 0, tcType);
    EXPECT_FALSE(fileType.empty());
    EXPECT_NE(fileType, L"X");
    EXPECT_NE(Cell(table, 1, tcType), fileType);  // a folder is not a text file, even without a real path
    // Once fetched, the stored name is what the cell shows: the shell is not asked again.
    file.SetTypeName(L"Kept");
    EXPECT_EQ(Cell(table, 0, tcType), L"Kept");
    EXPECT_EQ(Cell(table, 1, tcNumber), L"2");
    EXPECT_EQ(Cell(table, 1, tcName), L"Sub");
    EXPECT_EQ(Cell(table, 1, tcFolder), L"C:\\Data\\");
    EXPECT_EQ(folder.Folder() + std::wstring(folder.Name()), L"C:\\Data\\Sub");
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
    table.AddRow(1, -1, {saReadOnly}, 30, 200, 3, 500, L"", L"C:\\b\\", -1, L"beta.TXT", -1).SetTypeName(L"Text");
    table.AddRow(2, -1, {saArchive}, 10, 300, 1, 10, L"", L"C:\\C\\", -1, L"Alpha.doc", -1).SetTypeName(L"");
    table.AddRow(3, -1, {saHidden}, 20, 100, 2, 2000, L"", L"c:\\a\\", -1, L"gamma.bmp", -1).SetTypeName(L"Bitmap");
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
    for (std::int64_t i = 1; i < table.Count(); ++i) EXPECT_LE(table.RowAt(i - 1)->Size(), table.RowAt(i)->Size());
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
        table.AddRow(i + 1, -1, attributes, 0, 0, 0, 0, L"", folder, -1, name + L"." + names[i % 7], -1).SetTypeName(
            types[i % std::size(types)]);
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

// Sort keys stand in for CompareStringW: for every pair of hard names they must give the comparison's answer.
TEST(ResultTable, SortKeysOrderEveryPairAsTheLocaleComparison) {
    const std::vector<std::wstring> names = {
        L"", L"a", L"A", L"b", L"File", L"file", L"FILE1", L"file1",                        // case
        L"e", L"\u00e9", L"\u00c9", L"\u00e8", L"r\u00e9sum\u00e9", L"resume", L"R\u00c9SUM\u00c9",   // accents
        L"\u00c5ngstr\u00f6m", L"angstrom", L"na\u00efve", L"naive", L"\u00fc", L"u",
        L"1", L"01", L"2", L"10", L"file2", L"file10", L"file01", L"\u00b2", L"\u0661",            // digits
        L"co-op", L"coop", L"Co-Op", L"it's", L"its", L"a b", L"ab", L"a-b", L"a_b", L"_x", L".x",  // punctuation
        L"x.", L"!", L"~", L"a.b.c", L"a\u2013b", L"(1)", L"[1]",
        L"\u00e6", L"ae", L"\u00c6", L"AE", L"\u0153", L"oe", L"stra\u00dfe", L"strasse",           // ligatures
        L"\ufb01", L"fi", L"\u0132", L"ij", L"\u01c6", L"d\u017e",
        std::wstring(600, L'a'), std::wstring(600, L'a') + L"b", std::wstring(599, L'a') + L"\u00e9",  // long keys
    };
    for (const std::wstring& a : names) {
        for (const std::wstring& b : names) {
            const int expected = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                                                static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size())) -
                                 CSTR_EQUAL;
            const std::string ka = SortKey(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a);
            const std::string kb = SortKey(LOCALE_USER_DEFAULT, NORM_IGNORECASE, b);
            const int compared = ka.compare(kb);
            EXPECT_EQ((compared > 0) - (compared < 0), expected) << testing::PrintToString(a) << " vs "
                                                                 << testing::PrintToString(b);
        }
    }
}

namespace {

// The sort the keys replace: the Hoare quicksort over the rows themselves, asking the comparison at each step.
template <typename Compare>
void ReferenceQuickSort(std::vector<TRow*>& rows, std::int64_t low, std::int64_t high, const Compare& compare) {
    std::int64_t i = low;
    do {
        i = low;
        std::int64_t j = high;
        TRow* pivot = rows[static_cast<size_t>((low + high) / 2)];
        do {
            while (compare(*rows[static_cast<size_t>(i)], *pivot) < 0) ++i;
            while (compare(*rows[static_cast<size_t>(j)], *pivot) > 0) --j;
            if (i <= j) {
                if (i < j) std::swap(rows[static_cast<size_t>(i)], rows[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (low < j) ReferenceQuickSort(rows, low, j, compare);
        low = i;
    } while (i < high);
}

} // namespace

// Rows that compare equal (names equal but for case or accents the locale ignores, sizes alike) end where the
// comparison-driven sort puts them, in small tables and in ones large enough to be sorted on several threads.
TEST(ResultTable, SortsPutEqualRowsWhereTheComparisonSortDid) {
    const wchar_t* names[] = {L"a", L"A", L"co-op", L"Co-Op", L"coop", L"r\u00e9sum\u00e9", L"R\u00c9SUM\u00c9",
                              L"file10", L"FILE10", L"file2", L"stra\u00dfe", L"STRA\u00dfE", L"\u00e6", L"\u00c6", L""};
    // The small table's sizes are not whole byte counts, so both ways of comparing sizes are taken.
    for (const int count : {40, 30000}) {
        TResultTable table;
        const long double fraction = count < 100 ? 0.25L : 0;
        for (int i = 0; i < count; ++i)
            AddFile(table, names[(i * 7) % std::size(names)] + std::to_wstring((i * 13) % 5),
                    (i * 31) % 11 + (i % 2 ? fraction : 0));
        struct Case { TColumnsEnum column; std::uint8_t direction; };
        for (const Case c : {Case{tcName, 1}, Case{tcName, 2}, Case{tcSize, 1}, Case{tcSize, 2}}) {
            SCOPED_TRACE(testing::Message() << count << " rows, column " << c.column << " direction "
                                            << static_cast<int>(c.direction));
            std::vector<TRow*> expected;
            for (std::int64_t i = 0; i < table.Count(); ++i) expected.push_back(table.RowAt(i));
            const int sign = c.direction == 2 ? -1 : 1;
            ReferenceQuickSort(expected, 0, count - 1, [&](const TRow& a, const TRow& b) {
                if (c.column == tcSize) return sign * ((a.Size() > b.Size()) - (a.Size() < b.Size()));
                return sign * (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.Name().data(),
                                              static_cast<int>(a.Name().size()), b.Name().data(),
                                              static_cast<int>(b.Name().size())) - CSTR_EQUAL);
            });
            std::vector<std::int64_t> expectedNumbers;
            for (const TRow* row : expected) expectedNumbers.push_back(row->Number);
            ASSERT_TRUE(table.Sort(c.column, c.direction, table.Count() - 1, 0));
            EXPECT_EQ(Numbers(table), expectedNumbers);
        }
    }
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

// A clear keeps the rows' room for the next search: a row made there starts as any new row does. The folder's
// icon is its folder's, shared by the rows of that folder.
TEST(ResultTable, RowsAddedAfterAClearStartAfresh) {
    TResultTable table;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        for (int i = 0; i < 10000; ++i) {
            TRow& row = AddFile(table, L"file" + std::to_wstring(i) + L".txt", i);
            EXPECT_EQ(row.TypeName(), TRow::TypeNameUnknown);
            EXPECT_EQ(row.SystemIconIndex, -1);
            EXPECT_EQ(row.TypeIconIndex(), i == 0 ? -1 : 3);
            EXPECT_FALSE(row.DetailsFetched || row.SelectionSnapshot || row.Gone || row.Cut);
            row.SetTypeName(L"Text Document");
            row.SystemIconIndex = row.ThumbnailIndex = 7;
            row.SetTypeIconIndex(3);
            row.DetailsFetched = row.SelectionSnapshot = row.Gone = row.Cut = true;
        }
        EXPECT_EQ(Cell(table, 9999, tcName), L"file9999.txt");
        EXPECT_EQ(Cell(table, 9999, tcSize), L"10 KB");
        EXPECT_TRUE(table.Clear());
    }
}

// A tree of many extensions ("log.1" ... "log.3000") gives a type name for each; they go with the rows of a cleared
// table, of no use to the next search. Another table's rows keep theirs, and the cleared table names its new rows
// as before.
TEST(ResultTable, AClearedTablesTypeNamesGoWithItsRows) {
    TResultTable table, other;
    AddFile(other, L"kept.txt").SetTypeName(L"Text Document");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        for (int i = 1; i <= 3000; ++i)
            AddFile(table, L"log." + std::to_wstring(i)).SetTypeName(std::to_wstring(i) + L" File");
        AddFile(table, L"notes.txt").SetTypeName(L"Text Document");
        EXPECT_EQ(Cell(table, 2999, tcType), L"3000 File");
        EXPECT_EQ(table.TypeNameCount(), 3001u);
        EXPECT_TRUE(table.Clear());
        EXPECT_EQ(table.TypeNameCount(), 0u);
        EXPECT_EQ(Cell(other, 0, tcType), L"Text Document");
        EXPECT_EQ(other.TypeNameCount(), 1u);
    }
}
