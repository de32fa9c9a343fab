// Creation of the result list, its message hooks and the table it shows.
#include "results/listview/ResultListView.h"

#include "kit/Clock.h"
#include "kit/Exception.h"

#include <shellapi.h>

namespace results {
namespace {

constexpr UINT_PTR SubclassId = 0x4B52;  // one id for both hooks: each window has one of them
constexpr int ThumbnailWidth = 165;
constexpr int ThumbnailHeight = 130;

HIMAGELIST SystemImageList(UINT sizeFlag) {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | sizeFlag));
}

HBITMAP LoadArrow(const wchar_t* name) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0,
                                           LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT));
}

} // namespace

TResultListView::TResultListView(HWND parent, int id, const RECT& bounds) : parent_(parent), id_(id) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);
    // Owner data: the control keeps only a count. The image lists are the shell's and ours, never the control's.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA |
                        LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, bounds.left, bounds.top,
                            bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!list_) throw kit::Exception(L"Unable to create the result list.");
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_SUBITEMIMAGES | LVS_EX_DOUBLEBUFFER);
    // The hidden rows' ghosting and the shortcut overlay come from the fetch, not from stored item states.
    SendMessageW(list_, LVM_SETCALLBACKMASK, LVIS_CUT | LVIS_OVERLAYMASK, 0);

    systemSmall_ = SystemImageList(SHGFI_SMALLICON);
    systemLarge_ = SystemImageList(SHGFI_LARGEICON);
    thumbnails_ = ImageList_Create(ThumbnailWidth, ThumbnailHeight, ILC_COLOR24, 0, 64);
    fileThumb_.SetWidth(ThumbnailWidth);
    fileThumb_.SetHeight(ThumbnailHeight);
    SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(systemSmall_));
    SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(systemLarge_));

    arrowUp_.reset(LoadArrow(L"Bmp_Up28"));
    arrowDown_.reset(LoadArrow(L"Bmp_Down28"));
    ApplyFont();
    BuildColumns();

    SetWindowSubclass(list_, ListProc, SubclassId, reinterpret_cast<DWORD_PTR>(this));
    // Keyed on this object: a second list on the same parent gets a subclass of its own.
    SetWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

TResultListView::~TResultListView() {
    Detach();
    if (list_) DestroyWindow(list_);
    if (thumbnails_) ImageList_Destroy(thumbnails_);
}

void TResultListView::Detach() {
    if (parent_) RemoveWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this));
    if (list_) RemoveWindowSubclass(list_, ListProc, SubclassId);
    parent_ = nullptr;
}

HWND TResultListView::Header() const {
    return reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
}

void TResultListView::SetResults(TResultTable* table) {
    results_ = table;
    if (thumbnails_) ImageList_RemoveAll(thumbnails_);
    UpdateItemCount();
}

void TResultListView::GrowItemCount() {
    const std::int64_t rows = results_ ? results_->Count() : 0;
    if (rows == static_cast<std::int64_t>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0))) return;
    const double start = kit::Seconds();
    if (!growth_.Due(start)) return;
    UpdateItemCount();
    growth_.Ran(start, kit::Seconds());
}

void TResultListView::UpdateItemCount() {
    const std::int64_t rows = results_ ? results_->Count() : 0;
    // The thumbnails belong to the rows: an emptied table lets go of them, or every search would add its own.
    if (rows == 0 && thumbnails_) ImageList_RemoveAll(thumbnails_);
    // Rows only added (a search running): repaint just the new rows in view, not the whole page at every
    // refresh; under Wine a page repaint costs tens of milliseconds and would starve the walk.
    const auto shown = static_cast<std::int64_t>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
    const LPARAM flags = rows > shown && shown > 0 ? LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL : 0;
    SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), flags);
}

LRESULT CALLBACK TResultListView::ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TResultListView*>(data);
    LRESULT result = 0;
    try {
        if (self->OnListMessage(msg, wp, lp, result)) return result;
    } catch (...) {
        // Nothing may unwind through the control's procedure; the message then gets the default handling.
    }
    if (msg == WM_NCDESTROY) {
        self->Detach();
        self->list_ = nullptr;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK TResultListView::ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TResultListView*>(data);
    if (msg == WM_NOTIFY) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lp);
        LRESULT result = 0;
        try {
            if (header.hwndFrom == self->list_ && self->OnNotify(header, result)) return result;
        } catch (...) {
            // As in ListProc: the default handling answers.
        }
    }
    if (msg == WM_NCDESTROY) self->Detach();
    return DefSubclassProc(hwnd, msg, wp, lp);
}

bool TResultListView::OnNotify(const NMHDR& header, LRESULT& result) {
    // The file actions, the double click, the drag start and the pop-ups hook in here when they exist.
    switch (header.code) {
    case LVN_GETDISPINFOW:
        OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
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
        result = OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
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

bool TResultListView::OnListMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_KEYDOWN:
        if (wp >= VK_PRIOR && wp <= VK_DOWN) SetDoubleBuffered(false);
        return false;
    case WM_KEYUP:
        if (wp >= VK_PRIOR && wp <= VK_DOWN) SetDoubleBuffered(true);
        return false;
    case WM_VSCROLL:
        result = 0;
        return OnVerticalScroll(LOWORD(wp));
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lp);
        // A column resize ends: the header redraws its items and the sort mark must be put back.
        if (header.hwndFrom == Header() && header.code == HDN_ENDTRACKW) {
            result = DefSubclassProc(list_, msg, wp, lp);
            UpdateHeaderMarks();
            return true;
        }
        return false;
    }
    }
    return false;
}

} // namespace results
