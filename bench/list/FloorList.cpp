#include "bench/list/FloorList.h"

#include <commctrl.h>

#include <cwchar>
#include <vector>

namespace bench {

FloorList::FloorList(int width, int height, HWND model, const std::array<std::wstring, ColumnCount>& texts,
                     const FloorIcons& icons)
    : texts_(texts), icons_(icons) {
    kit::WindowParams params;
    params.className = L"KvrBenchFloorList";
    params.title = L"Floor";
    params.bounds = RECT{0, 0, width, height};
    Create(params);
    RECT client{};
    GetClientRect(hwnd(), &client);
    // The styles of the result list less everything that is its own: no image lists, no custom draw.
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                                LVS_SHAREIMAGELISTS,
                            0, 0, client.right, client.bottom, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    if (icons_.index >= 0) {
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_SUBITEMIMAGES, LVS_EX_SUBITEMIMAGES);
        SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, SendMessageW(model, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    }
    SendMessageW(list_, WM_SETFONT, SendMessageW(model, WM_GETFONT, 0, 0), TRUE);
    CopyColumns(model);
}

void FloorList::CopyColumns(HWND model) {
    for (int i = 0; i < ColumnCount; ++i) {
        wchar_t caption[64] = L"";
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.pszText = caption;
        column.cchTextMax = 64;
        SendMessageW(model, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    std::vector<int> order(ColumnCount);
    SendMessageW(model, LVM_GETCOLUMNORDERARRAY, ColumnCount, reinterpret_cast<LPARAM>(order.data()));
    SendMessageW(list_, LVM_SETCOLUMNORDERARRAY, ColumnCount, reinterpret_cast<LPARAM>(order.data()));
}

void FloorList::SetItemCount(int count) { SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0); }

void FloorList::Answer(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if (item.iSubItem < 0 || item.iSubItem >= ColumnCount) return;
    if ((item.mask & LVIF_IMAGE) && icons_.index >= 0)
        item.iImage = icons_.columns[static_cast<size_t>(item.iSubItem)] ? icons_.index : I_IMAGECALLBACK;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const std::wstring& text = texts_[static_cast<size_t>(item.iSubItem)];
    const size_t length = text.size() < static_cast<size_t>(item.cchTextMax) ? text.size() : item.cchTextMax - 1;
    wmemcpy(item.pszText, text.data(), length);
    item.pszText[length] = L'\0';
}

bool FloorList::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    auto& header = *reinterpret_cast<NMHDR*>(lp);
    if (header.hwndFrom != list_ || header.code != LVN_GETDISPINFOW) return false;
    Answer(reinterpret_cast<NMLVDISPINFOW&>(header));
    result = 0;
    return true;
}

} // namespace bench
