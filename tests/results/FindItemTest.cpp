// The find item over a small table of rows: which rows match a text by column, position, whole word and case, and
// that every change of the rows marks its match list out of date.
#include "tests/results/ListViewFixture.h"

#include "kit/Strings.h"
#include "results/listview/ResultFindItem.h"

#include <commctrl.h>

using namespace results;
using resultstest::ListViewTest;

namespace {

class FindItemTest : public ListViewTest {
protected:
    // Twelve rows, N° 1 to 12: four names that hold "report" in different ways, then "file6.dat" to "file12.dat".
    void FillRows() {
        std::vector<resultstest::ListRow> rows = {{L"Report.txt", {engine::saArchive}},
                                                  {L"report_old.TXT", {engine::saArchive}},
                                                  {L"my report.doc", {engine::saArchive}},
                                                  {L"notes.md", {engine::saArchive}},
                                                  {L"REPORT", {engine::saArchive}}};
        for (const std::wstring& name : names_) rows.push_back({name.c_str(), {engine::saArchive}});
        Fill(rows);
    }
    TResultFindItem& Find() const { return List().FindItem(); }
    const std::vector<std::wstring> names_ = {L"file6.dat",  L"file7.dat",  L"file8.dat", L"file9.dat",
                                              L"file10.dat", L"file11.dat", L"file12.dat"};
    std::vector<int> MatchedRows() const {
        std::vector<int> rows;
        for (const TFindMatchLine& line : Find().MatchList()) rows.push_back(line.Row.RowIndex);
        return rows;
    }
    // The rows the row test (which the list paints by) accepts.
    std::vector<int> TestedRows() {
        std::vector<int> rows;
        for (std::int64_t i = 0; i < table_.Count(); ++i)
            if (Find().Matches(*table_.RowAt(i))) rows.push_back(static_cast<int>(i));
        return rows;
    }
};

} // namespace

TEST(FindRule, ComparesByPositionWholeCellAndCase) {
    struct Case { const wchar_t* cell; const wchar_t* value; bool first, whole, caseSensitive, match; };
    // The value comes upper-cased unless the rule is case-sensitive, as the find item passes it.
    const Case cases[] = {
        {L"Report.txt", L"REP", true, false, false, true},      {L"my report", L"REP", true, false, false, false},
        {L"my report", L"REP", false, false, false, true},      {L"Report.txt", L"rep", true, false, true, false},
        {L"report.txt", L"rep", true, false, true, true},       {L"Report", L"REPORT", true, true, false, true},
        {L"Report.txt", L"REPORT", true, true, false, false},   {L"Report", L"REPORT", false, true, false, true},
        {L"Report", L"Report", false, true, true, true},        {L"report", L"Report", false, true, true, false},
        {L"\u00E9t\u00E9", L"\u00C9T\u00C9", true, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << kit::WideToUtf8(c.cell) << " ~ " << kit::WideToUtf8(c.value) << " first "
                                        << c.first << " whole " << c.whole << " case " << c.caseSensitive);
        EXPECT_EQ(FindRuleMatches(c.cell, c.value, {c.first, c.whole, c.caseSensitive}), c.match);
    }
}

TEST_F(FindItemTest, FindsTheRowsWhoseCellMatchesByColumnPositionWholeWordAndCase) {
    FillRows();
    struct Case {
        const wchar_t* value;
        std::uint8_t column;  // 0 N°, 1 Name, 2 Folder, 4 Ext
        bool first, whole, caseSensitive;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {L"report", 1, true, false, false, {0, 1, 4}},
        {L"report", 1, false, false, false, {0, 1, 2, 4}},
        {L"report", 1, true, false, true, {1}},
        {L"report", 1, true, true, false, {4}},
        {L"report", 1, false, true, false, {4}},  // whole word: the position makes no difference
        {L"REPORT.TXT", 1, true, true, false, {0}},
        {L"1", 0, true, false, false, {0, 9, 10, 11}},  // the N° text, not the row index
        {L"1", 0, true, true, false, {0}},
        {L"2", 0, false, false, false, {1, 11}},
        {L".txt", 4, true, true, false, {0, 1}},
        {L"c:\\fix", 2, true, false, false, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {L"", 1, true, false, false, {}},
        {L"zzz", 1, false, false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << kit::WideToUtf8(c.value) << " in column " << int(c.column) << " first "
                                        << c.first << " whole " << c.whole << " case " << c.caseSensitive);
        Find().SetColumn(c.column);
        Find().SetFirstPosition(c.first);
        Find().SetWholeWord(c.whole);
        Find().SetCaseSensitive(c.caseSensitive);
        Find().SetValue(c.value);
        Find().Refresh();
        EXPECT_EQ(MatchedRows(), c.rows);
        EXPECT_EQ(TestedRows(), c.rows);
    }
}

TEST_F(FindItemTest, EachMatchHoldsItsRowsNumberCellAndPath) {
    FillRows();
    Find().SetValue(L"file1");
    ASSERT_EQ(Find().MatchList().size(), 3u);  // file10.dat, file11.dat, file12.dat
    const TFindMatchLine& first = Find().MatchList().front();
    EXPECT_EQ(first.Number, L"10");
    EXPECT_EQ(first.Text, L"file10.dat");
    EXPECT_EQ(first.Row.RowIndex, 9);
    EXPECT_EQ(first.Row.FullPath, L"C:\\Fixture\\file10.dat");
}

TEST_F(FindItemTest, OnlyAnActiveItemWithAValuePaintsRows) {
    FillRows();
    EXPECT_FALSE(Find().Active());
    EXPECT_TRUE(TestedRows().empty());
    Find().SetValue(L"notes");  // searching activates it
    EXPECT_EQ(TestedRows(), std::vector<int>{3});
    Find().SetActive(false);
    EXPECT_TRUE(TestedRows().empty()) << "the window closed";
    Find().SetActive(true);
    Find().SetValue(L"");
    EXPECT_TRUE(TestedRows().empty());
    EXPECT_TRUE(Find().MatchList().empty());
}

// The rows changed after the find window closed (a search ended): its matches are found again, yet the list
// paints no row by them.
TEST_F(FindItemTest, MatchesFoundAgainForAClosedWindowPaintNoRow) {
    FillRows();
    Find().SetValue(L"notes");
    Find().SetActive(false);
    Find().MarkStale();
    Find().Refresh();
    EXPECT_FALSE(Find().Active());
    EXPECT_TRUE(TestedRows().empty());
    EXPECT_EQ(Find().MatchList().size(), 1u);
}

TEST_F(FindItemTest, EveryChangeOfTheRowsMarksTheMatchesStale) {
    struct Case {
        const char* what;
        std::function<void(TResultListView&, TResultTable&)> change;
    };
    const Case cases[] = {
        {"a sort", [](TResultListView& list, TResultTable&) { list.OnColumnClick(tcName); }},
        {"rows removed from the list",
         [](TResultListView& list, TResultTable&) {
             list.GoToRow(1);
             list.RemoveSelectedFromList();
         }},
        {"the table cleared (Reset, a new search)",
         [](TResultListView& list, TResultTable& table) {
             table.Clear();
             list.UpdateItemCount();
         }},
        {"rows added (a search appending)",
         [](TResultListView& list, TResultTable& table) {
             table.AddRow(table.Count() + 1, -1, {engine::saArchive}, 0, 0, 0, 0, L"", L"C:\\Fixture\\", -1,
                          L"report.new", -1);
             list.UpdateItemCount();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        table_.Clear();
        FillRows();
        int heard = 0;
        Find().OnStale = [&] { ++heard; };
        Find().SetValue(L"");
        Find().SetValue(L"report");
        ASSERT_FALSE(Find().Stale());
        c.change(List(), table_);
        EXPECT_TRUE(Find().Stale());
        EXPECT_GE(heard, 1);
        // Found again, every match names a row that is there and matches.
        Find().Refresh();
        EXPECT_FALSE(Find().Stale());
        for (const TFindMatchLine& line : Find().MatchList()) {
            ASSERT_LT(line.Row.RowIndex, table_.Count());
            const TRow& row = *table_.RowAt(line.Row.RowIndex);
            EXPECT_EQ(row.Folder() + std::wstring(row.Name()), line.Row.FullPath);
        }
        Find().OnStale = nullptr;
    }
}

TEST_F(FindItemTest, GoingToARowPastTheEndDoesNothing) {
    FillRows();
    List().GoToRow(3);
    List().GoToRow(12);
    List().GoToRow(-1);
    EXPECT_EQ(List().SelectedIndexes(), std::vector<int>{3});
    EXPECT_EQ(List().FocusedIndex(), 3);
}
