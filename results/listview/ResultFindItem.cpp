// The find item: the match rule, the match list and the row test.
#include "results/listview/ResultFindItem.h"

#include "kit/Strings.h"

namespace results {

bool FindRuleMatches(std::wstring_view cell, std::wstring_view value, const TFindRule& rule) {
    const std::wstring upper = rule.CaseSensitive ? std::wstring() : kit::UpperCase(cell);
    const std::wstring_view compared = rule.CaseSensitive ? cell : std::wstring_view(upper);
    if (rule.WholeWord) return compared == value;
    if (rule.FirstPosition) return compared.starts_with(value);
    return compared.find(value) != std::wstring_view::npos;
}

TColumnsEnum FindColumnKind(std::uint8_t column) {
    return column < DisplayOrder.size() ? DisplayOrder[column] : tcName;
}

std::wstring TResultFindItem::CellOf(TRow& row) const {
    return owner_.Results()->Column(FindColumnKind(column_)).RowText(row);
}

bool TResultFindItem::Matches(TRow& row) {
    if (!active_ || value_.empty() || !owner_.Results()) return false;
    return FindRuleMatches(CellOf(row), comparedValue_, rule_);
}

void TResultFindItem::MarkStale() {
    stale_ = true;
    if (OnStale) OnStale();
}

void TResultFindItem::SetValue(const std::wstring& value) {
    if (value == value_) return;
    value_ = value;
    Search();
}

void TResultFindItem::SetColumn(std::uint8_t column) {
    if (column >= ColumnCount || column == column_) return;
    column_ = column;
    Search();
}

void TResultFindItem::SetRule(bool TFindRule::*field, bool on) {
    if (rule_.*field == on) return;
    rule_.*field = on;
    Search();
}

void TResultFindItem::SetFirstPosition(bool on) { SetRule(&TFindRule::FirstPosition, on); }
void TResultFindItem::SetWholeWord(bool on) { SetRule(&TFindRule::WholeWord, on); }
void TResultFindItem::SetCaseSensitive(bool on) { SetRule(&TFindRule::CaseSensitive, on); }

void TResultFindItem::Search() {
    active_ = true;
    Execute();
}

void TResultFindItem::Execute() {
    matches_.clear();
    comparedValue_ = rule_.CaseSensitive ? value_ : kit::UpperCase(value_);
    TResultTable* table = owner_.Results();
    // With no value there is nothing to match; the rows may still have changed, so the stale mark stays.
    if (value_.empty() || !table) return;
    TColumn& number = table->Column(tcNumber);
    for (std::int64_t i = 0; i < table->Count(); ++i) {
        TRow& row = *table->RowAt(i);
        std::wstring cell = CellOf(row);
        if (!FindRuleMatches(cell, comparedValue_, rule_)) continue;
        matches_.push_back({number.RowText(row), std::move(cell),
                            {static_cast<int>(i), row.FullPath(), row.SystemIconIndex}});
    }
    stale_ = false;
}

} // namespace results
