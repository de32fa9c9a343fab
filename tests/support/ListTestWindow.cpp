#include "tests/support/ListTestWindow.h"

namespace testsupport {

ListTestWindow::ListTestWindow(int width, int height) {
    kit::WindowParams params;
    params.className = L"KvrResultListHost";
    params.title = L"Kolvaran";
    params.bounds = RECT{0, 0, width, height};
    Create(params);
    RECT client{};
    GetClientRect(hwnd(), &client);
    list_ = std::make_unique<results::TResultListView>(hwnd(), ListId, client);
}

bool ListTestWindow::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg == WM_SIZE && list_) {
        MoveWindow(list_->hwnd(), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        result = 0;
        return true;
    }
    return false;
}

} // namespace testsupport
