#include "ui/FMWMainFree.h"

#include "kit/Exception.h"
#include "res/ResourceIds.h"

namespace ui {
namespace {

const wchar_t kNotice[] = L"Kolvaran: the search window is not built yet.";

void RegisterMainClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (GetClassInfoExW(instance, TfrmMerrowinMain::kClassName, &wc)) return;
    wc = WNDCLASSEXW{sizeof(wc)};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAINICON));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = TfrmMerrowinMain::kClassName;
    RegisterClassExW(&wc);
}

} // namespace

TfrmMerrowinMain::~TfrmMerrowinMain() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void TfrmMerrowinMain::Create(HINSTANCE instance, int showCommand) {
    RegisterMainClass(instance, &TfrmMerrowinMain::Proc);
    hwnd_ = CreateWindowExW(0, kClassName, L"Kolvaran", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600,
                            nullptr, nullptr, instance, this);
    if (!hwnd_) throw kit::Exception(L"Unable to create the main window.");
    notice_ = CreateWindowExW(0, L"STATIC", kNotice, WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 0, 0, hwnd_, nullptr,
                              instance, nullptr);
    SendMessageW(notice_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

LRESULT CALLBACK TfrmMerrowinMain::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<TfrmMerrowinMain*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TfrmMerrowinMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_SIZE:
        if (self && self->notice_) MoveWindow(self->notice_, 0, HIWORD(lp) / 2 - 10, LOWORD(lp), 20, TRUE);
        return 0;
    case WM_DESTROY:
        if (self) self->hwnd_ = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace ui
