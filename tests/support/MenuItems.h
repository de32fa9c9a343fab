#pragma once
// A menu's items as a person sees them once it has opened: text, state and marks.
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

struct MenuItem {
    UINT id = 0;              // 0 for a separator or a submenu
    HMENU submenu = nullptr;
    std::wstring text;        // access-key ampersands included; a shortcut after a tab
    bool separator = false;
    bool grayed = false;
    bool checked = false;
    bool radio = false;       // a check shown as a radio mark

    // The text before the tab: the caption without the shortcut.
    std::wstring Caption() const { return text.substr(0, text.find(L'\t')); }
    // The shortcut shown after the tab, or empty.
    std::wstring Shortcut() const {
        const size_t tab = text.find(L'\t');
        return tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
    }
};

inline std::vector<MenuItem> MenuItemsOf(HMENU menu) {
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 256;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        MenuItem item;
        item.submenu = info.hSubMenu;
        item.id = info.hSubMenu ? 0 : info.wID;
        item.text = text;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.grayed = (info.fState & MFS_GRAYED) != 0;
        item.checked = (info.fState & MFS_CHECKED) != 0;
        item.radio = (info.fType & MFT_RADIOCHECK) != 0;
        items.push_back(item);
    }
    return items;
}

} // namespace testsupport
