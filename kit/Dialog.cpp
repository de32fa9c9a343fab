#include "kit/Dialog.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "kit/Controls.h"
#include "kit/Exception.h"
#include "kit/Guard.h"
#include "kit/MessageLoop.h"
#include "kit/ModalWait.h"
#include "kit/Strings.h"

namespace kit {
namespace {

// A dialog template without items: the controls are made by OnCreate, the size is set once the window exists.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, DWORD exStyle, const std::wstring& title) {
        Dword(style);
        Dword(exStyle);
        Words({0,           // no items
               0, 0, 0, 0,  // position and size, set when the dialog is laid out
               0, 0});      // no menu, the standard dialog class
        words_.insert(words_.end(), title.begin(), title.end());
        words_.push_back(0);
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Words(std::initializer_list<WORD> words) { words_.insert(words_.end(), words); }
    void Dword(DWORD d) { Words({LOWORD(d), HIWORD(d)}); }
    std::vector<WORD> words_;
};

DWORD StyleOf(const DialogParams& params) {
    return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | (params.resizable ? WS_THICKFRAME : 0);
}

// Centres a window of the given size over the owner (or the screen), kept inside the work area.
POINT CentredOrigin(HWND owner, SIZE size) {
    const RECT work = WorkAreaNear(owner);
    RECT over = work;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &over);
    const LONG x = over.left + (over.right - over.left - size.cx) / 2;
    const LONG y = over.top + (over.bottom - over.top - size.cy) / 2;
    return {std::clamp(x, work.left, std::max(work.left, work.right - size.cx)),
            std::clamp(y, work.top, std::max(work.top, work.bottom - size.cy))};
}

// What a dialog procedure returns for a handled message: most answers go through DWLP_MSGRESULT, these few are
// returned as they are.
INT_PTR DialogAnswer(HWND dialog, UINT msg, LRESULT result) {
    if (IsColourMessage(msg)) return static_cast<INT_PTR>(result);
    switch (msg) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return static_cast<INT_PTR>(result);
    }
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

} // namespace

Dialog::~Dialog() { DestroyDialog(); }

void Dialog::DestroyDialog() {
    if (!hwnd_) return;
    const HWND hwnd = hwnd_;
    Forget();
    DestroyWindow(hwnd);
}

void Dialog::Forget() {
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    RemoveDialogWindow(hwnd_);
    hwnd_ = nullptr;
}

INT_PTR Dialog::ShowModal(HWND owner) {
    modal_ = true;
    const ModalWait wait(owner);
    // Without an owner the dialog stands alone: it needs its own taskbar button to be found again.
    const DialogTemplate dialog(StyleOf(params_) | WS_VISIBLE | DS_SETFOREGROUND, owner ? 0 : WS_EX_APPWINDOW,
                                params_.title);
    const INT_PTR code = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, Proc,
                                                 reinterpret_cast<LPARAM>(this));
    return code == -1 ? IDCANCEL : code;
}

void Dialog::CreateModeless(HWND owner) {
    modal_ = false;
    const DialogTemplate dialog(StyleOf(params_), 0, params_.title);
    if (!CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, Proc,
                                    reinterpret_cast<LPARAM>(this)) ||
        !hwnd_)
        throw Exception(L"Unable to create the dialog " + QuotedString(params_.title) + L".");
    AddDialogWindow(hwnd_);
}

void Dialog::Show() {
    if (!hwnd_) return;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    if (shownOnce_) return;  // the dialog manager puts the focus back where it was
    shownOnce_ = true;
    FocusInitialControl();
}

void Dialog::End(INT_PTR code) {
    if (!hwnd_) return;
    if (modal_) EndDialog(hwnd_, code);
    else ShowWindow(hwnd_, SW_HIDE);
}

void Dialog::Anchor(const Control& control, unsigned anchors) { layout_.Add(control.hwnd(), anchors); }

void Dialog::SetClientSize(int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Dialog::SetInitialFocus(const Control& control) { initialFocus_ = control.hwnd(); }

void Dialog::FocusInitialControl() {
    // WM_NEXTDLGCTL, not SetFocus: the dialog manager then also moves the default button's frame and selects an
    // edit's text.
    const HWND target = initialFocus_ ? initialFocus_ : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (target) SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

bool Dialog::Initialise() {
    if (params_.clientSize.cx > 0 && params_.clientSize.cy > 0)
        SetClientSize(params_.clientSize.cx, params_.clientSize.cy);
    OnCreate();
    // The dialog manager learns the default button from a template's items only; ours came after the template.
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
            SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(child)), 0);
            break;
        }
    RECT window{};
    GetWindowRect(hwnd_, &window);
    const POINT origin = CentredOrigin(GetWindow(hwnd_, GW_OWNER), {window.right - window.left,
                                                                     window.bottom - window.top});
    SetWindowPos(hwnd_, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A hidden modeless dialog takes no focus until it is shown: it would take it from the window in use.
    if (!modal_ || !initialFocus_) return modal_;
    FocusInitialControl();
    return false;
}

bool Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_INITDIALOG) {
        result = Initialise() ? TRUE : FALSE;
        return true;
    }
    if (Control::Reflect(hwnd_, msg, wp, lp, result)) return true;
    if (msg == WM_SIZE) layout_.Resize(LOWORD(lp), HIWORD(lp));
    if (OnMessage(msg, wp, lp, result)) return true;
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) != BN_CLICKED) return false;
        if (LOWORD(wp) == IDOK) OnOk();
        else if (LOWORD(wp) == IDCANCEL) OnCancel();
        else return false;
        result = 0;
        return true;
    case WM_GETMINMAXINFO: {
        auto& info = *reinterpret_cast<MINMAXINFO*>(lp);
        if (params_.minTrackSize.cx > 0) info.ptMinTrackSize.x = params_.minTrackSize.cx;
        if (params_.minTrackSize.cy > 0) info.ptMinTrackSize.y = params_.minTrackSize.cy;
        if (params_.maxTrackSize.cx > 0) info.ptMaxTrackSize.x = params_.maxTrackSize.cx;
        if (params_.maxTrackSize.cy > 0) info.ptMaxTrackSize.y = params_.maxTrackSize.cy;
        result = 0;
        return true;
    }
    }
    return false;
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    } else {
        // Messages before WM_INITDIALOG (WM_GETMINMAXINFO, WM_SETFONT) and after the object let go find none.
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    self->menuWait_.Follow(hwnd, msg);
    LRESULT result = 0;
    bool handled = false;
    const bool ran = GuardedMessage(hwnd, msg, lp, L"dialog procedure",
                                    [&] { handled = self->Dispatch(msg, wp, lp, result); });
    if (!ran && msg == WM_INITDIALOG) {
        // Half made: a modal dialog answers as cancelled, a modeless one is not made at all.
        if (self->modal_) EndDialog(hwnd, IDCANCEL);
        else DestroyWindow(hwnd);
        return FALSE;
    }
    if (msg == WM_NCDESTROY) self->Forget();
    return handled ? DialogAnswer(hwnd, msg, result) : FALSE;
}

DialogUnits::DialogUnits(HDC dc) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE size{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
    baseX_ = std::max(1L, (size.cx / 26 + 1) / 2);
    baseY_ = std::max(1L, tm.tmHeight);
}

RECT WorkAreaNear(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, window ? MONITOR_DEFAULTTONEAREST : MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

} // namespace kit
