#include "tests/support/AccessKeys.h"

#include <map>

#include "tests/support/DialogDriver.h"

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
    std::map<wchar_t, std::wstring> owners;
    std::vector<std::wstring> clashes;
    for (HWND control : controls) {
        const std::wstring caption = TextOf(control);
        const wchar_t key = AccessKey(caption);
        if (!key) continue;
        const auto [it, added] = owners.emplace(key, caption);
        if (!added)
            clashes.push_back(L"'" + std::wstring(1, key) + L"': \"" + it->second + L"\" and \"" + caption + L"\"");
    }
    return clashes;
}

} // namespace testsupport
