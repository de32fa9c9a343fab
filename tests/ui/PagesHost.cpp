#include "tests/ui/PagesHost.h"

namespace uitest {

void PagesHost::Make(int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    Create({.className = L"KvrTestPagesHost", .title = L"Criteria pages",
            .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
            .bounds = RECT{20, 20, 20 + frame.right - frame.left, 20 + frame.bottom - frame.top}});
    tabs.Create(hwnd(), kTabsId, RECT{4, 4, width - 4, height - 4});
    files.Create(tabs.hwnd());
    text.Create(tabs.hwnd());
    dates.Create(tabs.hwnd());
    attributes.Create(tabs.hwnd());
    for (kit::Panel* page : {static_cast<kit::Panel*>(&files), static_cast<kit::Panel*>(&text),
                             static_cast<kit::Panel*>(&dates), static_cast<kit::Panel*>(&attributes)})
        page->SetCommandTarget(hwnd());
    tabs.AddPage(files.kCaption, files.hwnd());
    tabs.AddPage(text.kCaption, text.hwnd());
    tabs.AddPage(dates.kCaption, dates.hwnd());
    tabs.AddPage(attributes.kCaption, attributes.hwnd());
    ShowWindow(hwnd(), SW_SHOWNA);
    UpdateWindow(hwnd());
}

void PagesHost::ResizeClient(int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool PagesHost::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_SIZE:
        if (!tabs.hwnd()) return false;
        MoveWindow(tabs.hwnd(), 4, 4, LOWORD(lp) - 8, HIWORD(lp) - 8, TRUE);
        tabs.LayoutPages();
        result = 0;
        return true;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lp)->code == TCN_SELCHANGE) tabs.ShowSelectedPage();
        return false;
    case WM_COMMAND:
        commands.emplace_back(LOWORD(wp), HIWORD(wp));
        result = 0;
        return true;
    }
    return false;
}

void Notify(HWND control, int code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

} // namespace uitest
