#include "ui/VirtualList.h"

namespace ui {

void TVirtualList::Create(HWND parent, int id, const RECT& bounds, const kit::ControlOptions& options) {
    CreateControl(WC_LISTVIEWW, parent, id, L"",
                  WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                      LVS_NOSORTHEADER | LVS_SHAREIMAGELISTS | (options.singleSelect ? LVS_SINGLESEL : 0),
                  bounds, 0, options);
    const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
    SendMessageW(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
}

void TVirtualList::SetColumn(const std::wstring& caption, int width, int column) {
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH;
    lvc.pszText = const_cast<wchar_t*>(caption.c_str());
    lvc.cx = width;
    if (SendMessageW(hwnd(), LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc))) return;
    SendMessageW(hwnd(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
}

void TVirtualList::SetColumnWidth(int width, int column) {
    SendMessageW(hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

void TVirtualList::SetItemCount(int count) { SendMessageW(hwnd(), LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0); }

int TVirtualList::ItemCount() const { return static_cast<int>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0)); }

int TVirtualList::FocusedItem() const {
    return static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void TVirtualList::SelectItem(int index) { kit::SelectListItem(hwnd(), index); }

bool TVirtualList::OnNotifyCode(NMHDR& header, LRESULT& result) {
    result = 0;
    switch (header.code) {
    case LVN_GETDISPINFOW:
        if (!OnData) return false;
        OnData(reinterpret_cast<NMLVDISPINFOW&>(header));
        return true;
    case LVN_ODCACHEHINT:
        if (!OnDataHint) return false;
        OnDataHint(reinterpret_cast<const NMLVCACHEHINT&>(header));
        return true;
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const bool selected = (change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
                              !(change.uOldState & LVIS_SELECTED);
        return selected && Fire(OnRowChosen);
    }
    case NM_CLICK:
        // A click on the row already selected changes nothing, yet chooses it again.
        return reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0 && Fire(OnRowChosen);
    case NM_DBLCLK:
        return Fire(OnDblClick);
    }
    return false;
}

} // namespace ui
