// Sorting by column click and the header's sort marks.
#include "results/listview/ResultListView.h"

#include "results/XPTheme.h"
#include "results/listview/HourglassCursor.h"

namespace results {

void TResultListView::OnColumnClick(TColumnsEnum kind) {
    if (sortsRefused_) return;
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

// Refused rather than done later or kept up as rows come: a sort at the run's end would reorder the rows under a
// person reading them, and rows put in order as they come would move the rows in view (and which row an index
// names) at every refresh, and cost a million-row search far more than one sort once it has ended.
void TResultListView::RefuseSorts(bool refused) {
    sortsRefused_ = refused;
    // Without buttons a click on the header shows nothing pressed. The control's own style says so too, but Wine's
    // control does not pass it on to its header.
    const auto setStyle = [](HWND window, LONG_PTR bit, bool on) {
        const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
        SetWindowLongPtrW(window, GWL_STYLE, on ? style | bit : style & ~bit);
    };
    setStyle(hwnd(), LVS_NOSORTHEADER, refused);
    setStyle(Header(), HDS_BUTTONS, !refused);
    InvalidateRect(Header(), nullptr, TRUE);
}

void TResultListView::ShowFoundOrder() {
    // Direction 0 sorts by number, the order the rows were found in: no mark, and the next click sorts descending.
    sortDirection_ = 0;
    UpdateHeaderMarks();
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
