#pragma once
// The find item: the text searched in one column of the result list, the rows whose cell matches it, and the
// row test the list paints the matching rows green by. The find-in-results window is its view.
#include "results/listview/ResultListView.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace results {

// A match's row: its index in the table when the match list was made, its full path and its small system icon
// (-1 until looked up).
struct TFullPathString {
    int RowIndex = 0;
    std::wstring FullPath;
    int IconIndex = -1;
};

// One line of the match list: the row's N° text and the text of the cell searched.
struct TFindMatchLine {
    std::wstring Number;
    std::wstring Text;
    TFullPathString Row;
};

// How a cell is compared with the text searched.
struct TFindRule {
    bool FirstPosition = true;  // the cell begins with the text
    bool WholeWord = false;     // the cell is the text; FirstPosition then has no effect
    bool CaseSensitive = false;
};

// Whether a cell matches `value` by the rule; `value` is already upper-cased unless the rule is case-sensitive.
bool FindRuleMatches(std::wstring_view cell, std::wstring_view value, const TFindRule& rule);

// The searchable columns by their number in the find window's column list: the display order, N° first.
TColumnsEnum FindColumnKind(std::uint8_t column);

class TResultFindItem : public TResultFindMatch {
public:
    static constexpr std::uint8_t ColumnCount = 10;

    explicit TResultFindItem(TResultListView& owner) : owner_(owner) {}

    // Set while the find window is open: the list then paints the matching rows green.
    bool Active() const override { return active_; }
    void SetActive(bool active) { active_ = active; }
    // The row test: whether the row's cell matches, by the rule of Execute; never while inactive or with no value.
    bool Matches(TRow& row) override;
    // The rows changed under the match list (sorted, removed, cleared, added): its row indexes may name other rows
    // or none. OnStale hears of it.
    void MarkStale() override;
    bool Stale() const { return stale_; }
    std::function<void()> OnStale;

    const std::wstring& Value() const { return value_; }
    std::uint8_t Column() const { return column_; }
    bool FirstPosition() const { return rule_.FirstPosition; }
    bool WholeWord() const { return rule_.WholeWord; }
    bool CaseSensitive() const { return rule_.CaseSensitive; }
    // Each stores its value and, when it changed, finds the matches again. A column past the last is ignored.
    void SetValue(const std::wstring& value);
    void SetColumn(std::uint8_t column);
    void SetFirstPosition(bool on);
    void SetWholeWord(bool on);
    void SetCaseSensitive(bool on);
    // Finds the matches again after the rows changed; a closed find window's item stays inactive.
    void Refresh() { Execute(); }

    // The matching rows in table order. Empty while the value is empty.
    const std::vector<TFindMatchLine>& MatchList() const { return matches_; }

private:
    // A change the person made in the find window: the item is in use, and its matches are found again.
    void Search();
    void Execute();
    void SetRule(bool TFindRule::*field, bool on);
    std::wstring CellOf(TRow& row) const;

    TResultListView& owner_;
    bool active_ = false;
    bool stale_ = false;
    std::wstring value_;
    std::wstring comparedValue_;  // the value as cells are compared with it
    std::uint8_t column_ = 1;     // Name
    TFindRule rule_;
    std::vector<TFindMatchLine> matches_;
};

} // namespace results
