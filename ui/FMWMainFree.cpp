#include "ui/FMWMainFree.h"

#include "res/ResourceIds.h"

namespace ui {

void TfrmMerrowinMain::Create(HINSTANCE instance, int showCommand) {
    kit::Window::Create({.className = kClassName, .title = L"Kolvaran", .bounds = RECT{100, 100, 900, 700}});
    const auto icon = reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAINICON)));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, icon);
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, icon);
    notice_ = CreateWindowExW(0, L"STATIC", L"Kolvaran: the search window is not built yet.",
                              WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 0, 0, hwnd(), nullptr, instance, nullptr);
    SendMessageW(notice_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    RECT client;
    GetClientRect(hwnd(), &client);
    MoveWindow(notice_, 0, client.bottom / 2 - 10, client.right, 20, FALSE);
    ShowWindow(hwnd(), showCommand);
    UpdateWindow(hwnd());
}

bool TfrmMerrowinMain::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_SIZE:
        if (notice_) MoveWindow(notice_, 0, HIWORD(lp) / 2 - 10, LOWORD(lp), 20, TRUE);
        result = 0;
        return true;
    case WM_DESTROY:
        PostQuitMessage(0);
        result = 0;
        return true;
    }
    return false;
}

} // namespace ui
