// Sorting by column click and the header's sort marks.
#include "results/listview/ResultListView.h"

#include "results/XPTheme.h"
#include "results/listview/HourglassCursor.h"

namespace results {

void TResultListView::OnColumnClick(TColumnsEnum kind) {
    if (results_ && results_->Count() > 0) {
        HourglassCursor wait;
        // Keyed on the kind, not the display position, so a column the user drags keeps its sort and its mark.
        const int direction = sortedKind_ != kind ? 2 : sortDirection_ == 2 ? 1 : sortDirection_ == 1 ? 0 : 2;
        // A table held by an export refuses to sort: then the state and the marks stay as the rows are.
        if (results_->Sort(kind, direction, results_->Count() - 1, 0)) {
            sortedKind_ = kind;
            sortDirection_ = direction;
            SendMessageW(hwnd(), LVM_SETITEMCOUNT, 0, 0);
            UpdateItemCount();
            UpdateHeaderMarks();
        }
    }
    if (findMatch_) findMatch_->MarkStale();
}

void TResultListView::UpdateHeaderMarks() {
    if (!sortedKind_) return;
    const HWND header = Header();
    const int sorted = ColumnOf(*sortedKind_);  // header items follow the creation order, as the columns do
    const bool themed = IsVisualStyleActive();
    for (int i = 0; i < results::ColumnCount; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        // The alignment stays: only the marks are the list's to change.
        int format = (item.fmt & HDF_JUSTIFYMASK) | HDF_STRING;
        item.hbm = nullptr;
        if (i == sorted && themed) {
            if (sortDirection_ == 2) format |= HDF_SORTDOWN;
            if (sortDirection_ == 1) format |= HDF_SORTUP;
        } else if (i == sorted && sortDirection_ != 0) {
            item.hbm = sortDirection_ == 1 ? arrowUp_.get() : arrowDown_.get();
            if (item.hbm) format |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
        }
        item.fmt = format;
        SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    if (themed) {
        SendMessageW(hwnd(), LVM_SETSELECTEDCOLUMN, static_cast<WPARAM>(sorted), 0);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
}

} // namespace results
