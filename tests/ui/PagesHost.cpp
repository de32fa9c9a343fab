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
    // This window hears of every control of every page, as the main window hears of those it binds to.
    for (const kit::Window* page : {static_cast<const kit::Window*>(&files), static_cast<const kit::Window*>(&text),
                                    static_cast<const kit::Window*>(&dates),
                                    static_cast<const kit::Window*>(&attributes)})
        for (HWND child = GetWindow(page->hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (kit::Control* control = kit::Control::FromHandle(child))
                control->OnCommand = [this, id = GetDlgCtrlID(child)](int code) { commands.emplace_back(id, code); };
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

bool PagesHost::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_SIZE:
        if (!tabs.hwnd()) return false;
        MoveWindow(tabs.hwnd(), 4, 4, LOWORD(lp) - 8, HIWORD(lp) - 8, TRUE);
        tabs.LayoutPages();
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
