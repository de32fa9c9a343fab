#pragma once
// The table's sort, done on a compact array: one entry a row holding what the sort column compares (the number
// itself, or a sort key made once), sorted by the same Hoare quicksort the rows always had, then the rows' slots
// put in that order. Comparing entries side by side in memory instead of following each row's pointer (and asking
// the locale at every step) is what makes a sort of a million rows take a fraction of a second. The entries give
// every pair the answer the row comparison gives, so the order, ties included, is the comparison-driven sort's.
#include "results/ResultTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace results {

// The flags of the text columns' order, with the user's locale; the type names follow lstrcmpW (the thread's
// locale, no flags) instead.
constexpr DWORD SortTextFlags = NORM_IGNORECASE;

// Sorts the rows whose slots are order[low..high] (both within the vector, low < high) by `column`, direction 1
// ascending, 2 descending: only the slots move.
void SortRows(const TRowBlocks& rows, std::vector<std::uint32_t>& order, TColumnsEnum column,
              std::uint8_t direction, std::int64_t low, std::int64_t high);

// Bytes that, compared as unsigned bytes, order texts as CompareStringW does with the same locale and flags.
std::string SortKey(LCID locale, DWORD flags, const std::wstring& text);

} // namespace results
