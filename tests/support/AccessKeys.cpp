#include "tests/support/AccessKeys.h"

#include <map>

#include "tests/support/DialogDriver.h"
#include "tests/support/MenuItems.h"

namespace testsupport {
namespace {

// Buttons (check boxes and radio buttons included) and labels carry access keys; a label marked
// SS_NOPREFIX shows its ampersands as they stand.
bool CarriesAccessKey(HWND hwnd) {
    const std::wstring kind = ClassOf(hwnd);
    if (_wcsicmp(kind.c_str(), L"Button") == 0) return true;
    if (_wcsicmp(kind.c_str(), L"Static") == 0) return (GetWindowLongW(hwnd, GWL_STYLE) & SS_NOPREFIX) == 0;
    return false;
}

// The texts of a menu's items before the tab that starts a shown shortcut; separators have none.
std::vector<std::wstring> MenuCaptions(HMENU menu) {
    std::vector<std::wstring> captions;
    for (const MenuItem& item : MenuItemsOf(menu))
        if (!item.separator && !item.text.empty()) captions.push_back(item.Caption());
    return captions;
}

std::vector<std::wstring> ClashesAmong(const std::vector<std::wstring>& captions) {
    std::map<wchar_t, std::wstring> owners;
    std::vector<std::wstring> clashes;
    for (const std::wstring& caption : captions) {
        const wchar_t key = AccessKey(caption);
        if (!key) continue;
        const auto [it, added] = owners.emplace(key, caption);
        if (!added)
            clashes.push_back(L"'" + std::wstring(1, key) + L"': \"" + it->second + L"\" and \"" + caption + L"\"");
    }
    return clashes;
}

} // namespace

wchar_t AccessKey(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        wchar_t key = caption[i + 1];
        CharUpperBuffW(&key, 1);
        return key;
    }
    return 0;
}

std::vector<std::wstring> AccessKeyClashes(HWND window) {
    std::vector<HWND> controls;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) CALLBACK -> BOOL {
            // IsWindowVisible also needs every parent shown: a control on a hidden page is not reachable.
            if (IsWindowVisible(child) && CarriesAccessKey(child))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    std::vector<std::wstring> captions;
    for (HWND control : controls) captions.push_back(TextOf(control));
    // Alt and a letter reaches a control or opens a menu of the bar: one of them, never both.
    if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0)
        for (const std::wstring& item : MenuCaptions(GetMenu(window))) captions.push_back(item);
    return ClashesAmong(captions);
}

std::vector<std::wstring> AccessKeyClashes(HMENU menu) { return ClashesAmong(MenuCaptions(menu)); }

} // namespace testsupport
