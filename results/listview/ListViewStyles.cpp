// The six view styles, grid lines, text zoom, automatic column sizes and the report style's scrolling.
#include "results/listview/ResultListView.h"

#include "kit/DeviceContexts.h"
#include "kit/Scope.h"

namespace results {
namespace {

DWORD ListViewOf(TZentaViewStyle style) {
    switch (style) {
    case zvsThumbnail:
    case zvsIcon: return LV_VIEW_ICON;
    case zvsSmallIcon: return LV_VIEW_SMALLICON;
    case zvsList: return LV_VIEW_LIST;
    case zvsTile: return LV_VIEW_TILE;
    case zvsReport: break;
    }
    return LV_VIEW_DETAILS;
}

// The style the control is really in: it may refuse a view (tiles, on systems without them).
TZentaViewStyle StyleOf(DWORD view, TZentaViewStyle asked) {
    switch (view) {
    case LV_VIEW_DETAILS: return zvsReport;
    case LV_VIEW_SMALLICON: return zvsSmallIcon;
    case LV_VIEW_LIST: return zvsList;
    case LV_VIEW_TILE: return zvsTile;
    }
    return asked == zvsThumbnail ? zvsThumbnail : zvsIcon;
}

} // namespace

int ZoomPointSize(TTextZoom zoom) {
    switch (zoom) {
    case tzSmall: return 7;
    case tzNormal: return 8;
    case tzMedium: return 9;
    case tzLarge: return 10;
    case tzVeryLarge: return 11;
    }
    return 8;
}

void TResultListView::SetZentaViewStyle(TZentaViewStyle style) {
    if (style == viewStyle_) return;
    if (viewStyle_ == zvsReport) SaveReportWidths();
    const bool thumbnails = style == zvsThumbnail;
    const HIMAGELIST small = thumbnails ? thumbnails_.get() : systemSmall_;
    const HIMAGELIST large = thumbnails ? thumbnails_.get() : systemLarge_;
    SendMessageW(hwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageW(hwnd(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
    SendMessageW(hwnd(), LVM_SETVIEW, ListViewOf(style), 0);
    viewStyle_ = StyleOf(static_cast<DWORD>(SendMessageW(hwnd(), LVM_GETVIEW, 0, 0)), style);
    ArrangeIcons();
}

// Wine places the icons by the item size of the view it leaves (a report row's height with the columns' whole
// width, which piles them up in one column), and a resize arranges them by that size again; rows added later it
// places at the origin, over the first; icons once arranged stay where they are when the list's size changes.
// Arranged after each switch, each change of the row count and each resize (ResultListView.cpp), they stand in
// rows within the list's width. The details and list views are never arranged, so a long list there pays nothing.
void TResultListView::ArrangeIcons() const {
    if (viewStyle_ == zvsIcon || viewStyle_ == zvsSmallIcon || viewStyle_ == zvsThumbnail)
        SendMessageW(hwnd(), LVM_ARRANGE, LVA_DEFAULT, 0);
}

void TResultListView::SetShowGridLines(bool show) {
    if (show == gridLines_) return;
    const auto style = static_cast<DWORD>(SendMessageW(hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    const DWORD wanted = show ? style | LVS_EX_GRIDLINES : style & ~static_cast<DWORD>(LVS_EX_GRIDLINES);
    SendMessageW(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, wanted);
    gridLines_ = (SendMessageW(hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES) != 0;
}

void TResultListView::ReapplyGridLines(bool show) {
    if (!show) return;
    gridLines_ = false;
    SetShowGridLines(true);
}

void TResultListView::ApplyFont() {
    const int dpi = GetDeviceCaps(kit::WindowDc(nullptr).get(), LOGPIXELSY);
    kit::UniqueFont font{CreateFontW(-MulDiv(ZoomPointSize(zoom_), dpi, 72), 0, 0, 0, bold_ ? FW_BOLD : FW_NORMAL,
                                     FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma")};
    if (!font) return;
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    font_ = std::move(font);  // the old font is freed only after the control let go of it
}

void TResultListView::AfterZoomChange() {
    ApplyFont();
    if (zoomAutoResizes_) AutoResizeColumns();
}

void TResultListView::SetTextZoom(TTextZoom zoom) {
    if (zoom == zoom_) return;
    zoom_ = zoom;
    AfterZoomChange();
}

void TResultListView::SetTextBold(bool bold) {
    if (bold == bold_) return;
    bold_ = bold;
    AfterZoomChange();
}

void TResultListView::ZoomIncrease() {
    if (zoom_ >= tzVeryLarge) return;
    zoom_ = static_cast<TTextZoom>(zoom_ + 1);
    AfterZoomChange();
}

void TResultListView::ZoomDecrease() {
    if (zoom_ <= tzSmall) return;
    zoom_ = static_cast<TTextZoom>(zoom_ - 1);
    AfterZoomChange();
}

void TResultListView::SetZoomAutoResizes(bool autoResizes) {
    if (autoResizes == zoomAutoResizes_) return;
    zoomAutoResizes_ = autoResizes;
    if (autoResizes) AutoResizeColumns();
}

void TResultListView::AutoResizeColumns() {
    if (viewStyle_ != zvsReport) return;
    const kit::RedrawOff redrawOff(hwnd());
    for (int i = 0; i < results::ColumnCount; ++i)
        if (columns_[static_cast<size_t>(i)].visible) SetColumnWidth(i, LVSCW_AUTOSIZE_USEHEADER);
}

int TResultListView::RowHeight() const {
    RECT row{};
    row.left = LVIR_BOUNDS;
    const auto top = static_cast<WPARAM>(SendMessageW(hwnd(), LVM_GETTOPINDEX, 0, 0));
    if (SendMessageW(hwnd(), LVM_GETITEMRECT, top, reinterpret_cast<LPARAM>(&row)) && row.bottom > row.top)
        return row.bottom - row.top;
    // No row to measure: the font's line with the control's own spacing.
    TEXTMETRICW metrics{};
    const kit::WindowDc dc(hwnd());
    const kit::ScopedSelect font(dc.get(), font_.get());
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight + 2;
}

void TResultListView::SetDoubleBuffered(bool on) {
    SendMessageW(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_DOUBLEBUFFER, on ? LVS_EX_DOUBLEBUFFER : 0);
}

bool TResultListView::OnVerticalScroll(WORD code) {
    SetDoubleBuffered(code == SB_ENDSCROLL);
    if (viewStyle_ != zvsReport || code > SB_PAGEDOWN) return false;
    // By the real row height: the control scrolls whole rows, and a fixed guess below the row height after a
    // zoom would scroll by nothing. A page is the rows fully in view, so none is skipped unseen.
    const int height = RowHeight();
    const auto perPage = static_cast<int>(SendMessageW(hwnd(), LVM_GETCOUNTPERPAGE, 0, 0));
    int dy = 0;
    switch (code) {
    case SB_LINEUP: dy = -height; break;
    case SB_LINEDOWN: dy = height; break;
    case SB_PAGEUP: dy = -perPage * height; break;
    case SB_PAGEDOWN: dy = perPage * height; break;
    }
    SendMessageW(hwnd(), LVM_SCROLL, 0, dy);
    return true;
}

} // namespace results
