#include "kit/Window.h"

#include "kit/Controls.h"
#include "kit/Exception.h"
#include "kit/Guard.h"
#include "kit/Strings.h"

namespace kit {
namespace {

void RegisterOnce(HINSTANCE instance, const wchar_t* className, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, className, &wc)) {
        // A class of that name with another procedure would never bind its windows to their objects.
        if (wc.lpfnWndProc != proc)
            throw Exception(L"The window class " + QuotedString(className) + L" belongs to another procedure.");
        return;
    }
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) {
        const DWORD error = GetLastError();
        throw Exception(Format(L"Unable to register the window class %ls (error %lu).",
                               QuotedString(className).c_str(), error));
    }
}

} // namespace

Window::~Window() {
    if (!hwnd_) return;
    StopDispatch();
    DestroyWindow(hwnd_);
}

void Window::StopDispatch() {
    if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

void Window::Create(const WindowParams& params) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterOnce(instance, params.className, Proc);
    const RECT r = params.bounds.value_or(RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT});
    const int width = params.bounds ? r.right - r.left : CW_USEDEFAULT;
    const int height = params.bounds ? r.bottom - r.top : CW_USEDEFAULT;
    // A child window's menu argument is its control id.
    const HMENU menu = (params.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.childId))
                                                 : nullptr;
    // WM_NCCREATE binds the handle to this object, so hwnd() is set while the window is being created.
    const HWND hwnd = CreateWindowExW(params.exStyle, params.className, params.title.c_str(), params.style, r.left,
                                      r.top, width, height, params.parent, menu, instance, this);
    if (!hwnd) {
        hwnd_ = nullptr;  // a handler may have refused the creation after WM_NCCREATE bound it
        const DWORD error = GetLastError();
        throw Exception(Format(L"Unable to create a window of the class %ls (error %lu).",
                               QuotedString(params.className).c_str(), error));
    }
}

bool Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) noexcept {
    bool handled = false;
    GuardedMessage(hwnd_, msg, lp, L"window procedure", [&] {
        handled = Control::Reflect(hwnd_, msg, wp, lp, result) || OnMessage(msg, wp, lp, result);
    });
    return handled;
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        // A window of this class made by anyone but Create carries no object.
        self = static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams);
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after the object let go find no object.
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    self->menuWait_.Follow(hwnd, msg);
    LRESULT result = 0;
    ++self->depth_;
    const bool handled = self->Dispatch(msg, wp, lp, result);
    --self->depth_;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    if (self->depth_ == 0 && self->hwnd_) self->OnOutermostMessageDone();
    if (handled) return result;
    if (msg == WM_ACTIVATE && self->hwnd_ && self->RefocusOnActivate(wp)) return 0;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool Window::RefocusOnActivate(WPARAM wp) {
    if (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD) return false;
    if (LOWORD(wp) == WA_INACTIVE) {
        // A modal window disables its owner before it takes the activation, and that takes the focus away: what
        // had it before is kept then, as a dialog keeps it.
        if (const HWND focus = GetFocus(); IsChild(hwnd_, focus)) focusedChild_ = focus;
        return false;
    }
    // Also while minimised, as a dialog does: a restore that follows brings no second activation.
    if (!focusedChild_ || !IsChild(hwnd_, focusedChild_) || !IsWindowVisible(focusedChild_) ||
        !IsWindowEnabled(focusedChild_))
        return false;
    SetFocus(focusedChild_);
    return true;
}

} // namespace kit
