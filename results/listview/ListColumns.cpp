// The ten columns of the result list: built in kind order, shown and hidden, moved and reset.
#include "results/listview/ResultListView.h"

#include "engine/DateTimes.h"
#include "kit/Fonts.h"
#include "kit/Scope.h"
#include "results/CellFormat.h"
#include "results/DateTimeText.h"

#include <algorithm>

namespace results {
namespace {

// The list draws a cell's text, and the header its caption, about 6 pixels in from each edge.
constexpr int kCellPadding = 12;

int ColumnFormat(TAlignment alignment) { return alignment == taRightJustify ? LVCFMT_RIGHT : LVCFMT_LEFT; }

// What a column shows whole at its default width: its caption and the widest of its usual cells, in the
// locale's formats. A search of 100,000 files numbers its rows up to 99999.
std::vector<std::wstring> SampleTexts(const TColumnDef& def) {
    std::vector<std::wstring> texts{def.Caption};
    switch (def.Kind) {
    case tcNumber: texts.push_back(std::to_wstring(99999)); break;
    case tcSize: texts.push_back(GroupedNumber(1234567) + L" Bytes"); break;
    case tcExt: texts.push_back(L".html"); break;
    case tcDateModified:
    case tcDateCreated:
    case tcDateAccessed:
        texts.push_back(FormatRowDate(engine::EncodeDateTime({2023, 12, 28, 22, 58, 58, 0})));
        break;
    default: break;
    }
    return texts;
}

} // namespace

int TResultListView::DefaultWidth(TColumnsEnum kind) const {
    const TColumnDef& def = DefaultColumns()[kind];
    if (!fitDefaultWidths_) return def.Width;
    int width = kit::ScaleToFont(hwnd(), def.Width);
    for (const std::wstring& text : SampleTexts(def))
        width = std::max(width, kit::TextWidth(hwnd(), text) + kCellPadding);
    return width;
}

void TResultListView::FitDefaultWidths() {
    fitDefaultWidths_ = true;
    for (const TColumnDef& def : DefaultColumns()) {
        const int column = ColumnOf(def.Kind);
        const int width = DefaultWidth(def.Kind);
        SetColumnWidth(column, width);
        columns_[static_cast<size_t>(column)].widthVisible = columns_[static_cast<size_t>(column)].reportWidth = width;
    }
}

void TResultListView::BuildColumns() {
    for (const TColumnDef& def : DefaultColumns()) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = ColumnFormat(def.Alignment);
        column.cx = DefaultWidth(def.Kind);
        column.pszText = const_cast<wchar_t*>(def.Caption);
        column.iSubItem = def.Kind;
        SendMessageW(hwnd(), LVM_INSERTCOLUMNW, def.Kind, reinterpret_cast<LPARAM>(&column));
        columns_[def.Kind] = {def.Kind, true, column.cx, column.cx};
    }
    MoveColumn(tcName, 1);
}

int TResultListView::ColumnOf(TColumnsEnum kind) const {
    for (int i = results::ColumnCount - 1; i >= 0; --i)
        if (columns_[static_cast<size_t>(i)].kind == kind) return i;
    return 0;
}

std::vector<int> TResultListView::ColumnOrder() const {
    std::vector<int> order(results::ColumnCount);
    SendMessageW(hwnd(), LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    return order;
}

TColumnsEnum TResultListView::KindAt(int displayIndex) const {
    const std::vector<int> order = ColumnOrder();
    return columns_[static_cast<size_t>(order.at(static_cast<size_t>(displayIndex)))].kind;
}

std::vector<TColumnsEnum> TResultListView::DisplayedKinds() const {
    std::vector<TColumnsEnum> kinds;
    for (int column : ColumnOrder()) kinds.push_back(columns_[static_cast<size_t>(column)].kind);
    return kinds;
}

int TResultListView::IndexOfKind(TColumnsEnum kind) const {
    const std::vector<TColumnsEnum> kinds = DisplayedKinds();
    for (int i = static_cast<int>(kinds.size()) - 1; i >= 0; --i)
        if (kinds[static_cast<size_t>(i)] == kind) return i;
    return -1;
}

void TResultListView::MoveColumn(TColumnsEnum kind, int displayIndex) {
    std::vector<int> order = ColumnOrder();
    const int column = ColumnOf(kind);
    order.erase(std::find(order.begin(), order.end(), column));
    const int position = std::clamp(displayIndex, 0, static_cast<int>(order.size()));
    order.insert(order.begin() + position, column);
    SendMessageW(hwnd(), LVM_SETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

int TResultListView::ColumnWidthAt(int column) const {
    return static_cast<int>(SendMessageW(hwnd(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

int TResultListView::ColumnWidth(TColumnsEnum kind) const { return ColumnWidthAt(ColumnOf(kind)); }

void TResultListView::SetColumnWidth(int column, int width) {
    SendMessageW(hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

void TResultListView::ShowColumn(int displayIndex, bool show) {
    if (displayIndex < 0 || displayIndex >= results::ColumnCount) return;
    const int column = ColumnOrder()[static_cast<size_t>(displayIndex)];
    TColumnExtraInfo& info = columns_[static_cast<size_t>(column)];
    if (show) {
        SetColumnWidth(column, info.widthVisible);
        info.visible = true;
    } else {
        info.widthVisible = ColumnWidthAt(column);
        SetColumnWidth(column, 0);
        info.visible = false;
    }
}

void TResultListView::SyncColumnFlags() {
    for (int i = 0; i < results::ColumnCount; ++i) columns_[static_cast<size_t>(i)].visible = ColumnWidthAt(i) >= 1;
}

void TResultListView::ToggleColumnFromPopUp(int displayIndex, bool show) {
    ShowColumn(displayIndex, show);
    SyncColumnFlags();
    const bool anyVisible =
        std::any_of(columns_.begin(), columns_.end(), [](const TColumnExtraInfo& info) { return info.visible; });
    if (!anyVisible) ResetColumnsToDefault();
}

void TResultListView::ResetColumnsToDefault() {
    const kit::RedrawOff redrawOff(hwnd());
    for (const TColumnDef& def : DefaultColumns()) {
        const int column = ColumnOf(def.Kind);
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_FMT;
        lvc.fmt = ColumnFormat(def.Alignment);
        lvc.pszText = const_cast<wchar_t*>(def.Caption);
        SendMessageW(hwnd(), LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
        const int width = DefaultWidth(def.Kind);
        SetColumnWidth(column, width);
        TColumnExtraInfo& info = columns_[static_cast<size_t>(column)];
        info.kind = def.Kind;
        info.visible = true;
        info.widthVisible = width;
        MoveColumn(def.Kind, def.Kind);
    }
    MoveColumn(KindAt(0), 1);
}

void TResultListView::SaveReportWidths() {
    for (int i = 0; i < results::ColumnCount; ++i) columns_[static_cast<size_t>(i)].reportWidth = ColumnWidthAt(i);
}

} // namespace results
