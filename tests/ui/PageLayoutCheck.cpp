#include "tests/ui/PageLayoutCheck.h"

#include "tests/support/DialogDriver.h"

namespace uitest {
namespace {

// The width the caption needs, with the box of a check box or radio button and a push button's edges.
int NeededWidth(HWND control) {
    const std::wstring caption = testsupport::TextOf(control);
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT text{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (testsupport::ClassOf(control) != L"Button") return text.right;
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) return text.right + 8;
    return text.right + GetSystemMetrics(SM_CXMENUCHECK) + 4;
}

bool HasCaption(HWND control) {
    const std::wstring kind = testsupport::ClassOf(control);
    return kind == L"Button" || kind == L"Static";
}

} // namespace

std::vector<std::wstring> LayoutFaults(HWND page) {
    std::vector<std::wstring> faults;
    RECT area{};
    GetClientRect(page, &area);
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT bounds{};
        GetWindowRect(child, &bounds);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&bounds), 2);
        const std::wstring name = L"\"" + testsupport::TextOf(child) + L"\" (" + testsupport::ClassOf(child) + L")";
        if (bounds.left < 0 || bounds.top < 0 || bounds.right > area.right || bounds.bottom > area.bottom)
            faults.push_back(name + L" leaves the page");
        if (HasCaption(child) && NeededWidth(child) > bounds.right - bounds.left)
            faults.push_back(name + L" clips its caption");
    }
    return faults;
}

} // namespace uitest
