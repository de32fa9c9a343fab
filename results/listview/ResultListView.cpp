// Creation of the result list, its message hooks and the table it shows.
#include "results/listview/ResultListView.h"

#include "kit/Clock.h"
#include "kit/SystemImages.h"
#include "results/listview/ListPopUps.h"
#include "results/listview/ResultFindItem.h"

namespace results {
namespace {

constexpr int ThumbnailWidth = 165;
constexpr int ThumbnailHeight = 130;

HBITMAP LoadArrow(const wchar_t* name) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0,
                                           LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT));
}

} // namespace

TResultListView::TResultListView(HWND parent, int id, const RECT& bounds, const kit::ControlOptions& options)
    : findItem_(std::make_unique<TResultFindItem>(*this)),
      columnsPopUp_(std::make_unique<TResultListViewColumnsPopUp>(*this)),
      itemsPopUp_(std::make_unique<TResultListViewItemsPopUp>(*this)) {
    findMatch_ = findItem_.get();
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);
    // Owner data: the control keeps only a count. The image lists are the shell's and ours, never the control's.
    const DWORD style = WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                        LVS_SHAREIMAGELISTS | (options.singleSelect ? LVS_SINGLESEL : 0);
    CreateControl(WC_LISTVIEWW, parent, id, L"", style, bounds, WS_EX_CLIENTEDGE, options);
    SendMessageW(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_SUBITEMIMAGES | LVS_EX_DOUBLEBUFFER);
    // The hidden rows' ghosting and the shortcut overlay come from the fetch, not from stored item states.
    SendMessageW(hwnd(), LVM_SETCALLBACKMASK, LVIS_CUT | LVIS_OVERLAYMASK, 0);

    systemSmall_ = kit::SystemImageList(kit::IconSize::Small);
    systemLarge_ = kit::SystemImageList(kit::IconSize::Large);
    thumbnails_.reset(ImageList_Create(ThumbnailWidth, ThumbnailHeight, ILC_COLOR24, 0, 64));
    fileThumb_.SetWidth(ThumbnailWidth);
    fileThumb_.SetHeight(ThumbnailHeight);
    SendMessageW(hwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(systemSmall_));
    SendMessageW(hwnd(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(systemLarge_));

    arrowUp_.reset(LoadArrow(L"Bmp_Up28"));
    arrowDown_.reset(LoadArrow(L"Bmp_Down28"));
    ApplyFont();
    BuildColumns();
    SubclassControl();
}

// The window goes before the image list, font and arrows it shows.
TResultListView::~TResultListView() { DestroyControl(); }

HWND TResultListView::Header() const {
    return reinterpret_cast<HWND>(SendMessageW(hwnd(), LVM_GETHEADER, 0, 0));
}

void TResultListView::SetResults(TResultTable* table) {
    results_ = table;
    if (thumbnails_) ImageList_RemoveAll(thumbnails_.get());
    UpdateItemCount();
}

void TResultListView::GrowItemCount() {
    const std::int64_t rows = results_ ? results_->Count() : 0;
    if (rows == static_cast<std::int64_t>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0))) return;
    const double start = kit::Seconds();
    if (!growth_.Due(start)) return;
    UpdateItemCount();
    growth_.Ran(start, kit::Seconds());
}

void TResultListView::UpdateItemCount() {
    const std::int64_t rows = results_ ? results_->Count() : 0;
    // The thumbnails belong to the rows: an emptied table lets go of them, or every search would add its own.
    if (rows == 0 && thumbnails_) ImageList_RemoveAll(thumbnails_.get());
    // Rows only added (a search running): repaint just the new rows in view, not the whole page at every
    // refresh; under Wine a page repaint costs tens of milliseconds and would starve the walk.
    const auto shown = static_cast<std::int64_t>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0));
    const LPARAM flags = rows > shown && shown > 0 ? LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL : 0;
    SendMessageW(hwnd(), LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), flags);
    if (rows == shown) return;
    ArrangeIcons();
    // Rows came or went (a search, a removal, a clear): the find's match list may name rows that moved or are gone.
    if (findMatch_) findMatch_->MarkStale();
}

bool TResultListView::OnNotifyCode(NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case NM_DBLCLK:
        // Only a row that was hit: a double click on blank space opens nothing, not even the focused row.
        OnDoubleClick(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
        return false;
    case LVN_BEGINDRAG:
        OnDragBegin();
        return true;
    case LVN_GETDISPINFOW:
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
        return true;
    case LVN_ODFINDITEMW:
        result = OnFindItem(*reinterpret_cast<const NMLVFINDITEMW*>(&header));
        return true;
    case LVN_ODCACHEHINT:
        OnCacheHint(*reinterpret_cast<const NMLVCACHEHINT*>(&header));
        return true;
    case LVN_ODSTATECHANGED:
        return true;
    case NM_CUSTOMDRAW:
        result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        return true;
    case LVN_COLUMNCLICK: {
        const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
        if (click.iSubItem >= 0 && click.iSubItem < results::ColumnCount)
            OnColumnClick(columns_[static_cast<size_t>(click.iSubItem)].kind);
        return true;
    }
    }
    return false;
}

bool TResultListView::OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_KEYDOWN:
        if (wp >= VK_PRIOR && wp <= VK_DOWN) SetDoubleBuffered(false);
        OnShortcutKey(static_cast<WORD>(wp));
        return false;
    case WM_TIMER:
        if (wp != CutRefreshTimer) return false;
        OnCutRefreshTimer();
        result = 0;
        return true;
    case WM_KEYUP:
        if (wp >= VK_PRIOR && wp <= VK_DOWN) SetDoubleBuffered(true);
        return false;
    case WM_VSCROLL:
        result = 0;
        return OnVerticalScroll(LOWORD(wp));
    case WM_SIZE:
        // Wine leaves the icons where the old width put them: after a restore from maximised they would lie past
        // the right edge, behind a horizontal scroll bar.
        result = DefaultOwnMessage(msg, wp, lp);
        ArrangeIcons();
        return true;
    case WM_CONTEXTMENU:
        // Handled here, so the request does not also travel on to the parent.
        OnContextMenu(reinterpret_cast<HWND>(wp), lp);
        result = 0;
        return true;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lp);
        // A column resize ends: the header redraws its items and the sort mark must be put back.
        if (header.hwndFrom == Header() && header.code == HDN_ENDTRACKW) {
            result = DefaultOwnMessage(msg, wp, lp);
            UpdateHeaderMarks();
            return true;
        }
        return false;
    }
    }
    return false;
}

} // namespace results
