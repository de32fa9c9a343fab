#include "kit/MessageDialog.h"

#include "kit/Fonts.h"
#include "kit/DeviceContexts.h"

#include "kit/Handles.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <span>
#include <vector>

namespace kit {
namespace {

struct Button {
    int id;
    const wchar_t* caption;
    MessageAnswer answer;
};

constexpr Button kOk{IDOK, L"OK", MessageAnswer::Ok};
constexpr Button kAbort{IDABORT, L"&Abort", MessageAnswer::Abort};
constexpr Button kRetry{IDRETRY, L"&Retry", MessageAnswer::Retry};
constexpr Button kIgnore{IDIGNORE, L"&Ignore", MessageAnswer::Ignore};
constexpr Button kYes{IDYES, L"&Yes", MessageAnswer::Yes};
constexpr Button kNo{IDNO, L"&No", MessageAnswer::No};

struct ButtonSet {
    std::array<Button, 3> slots;
    size_t count;
    Button cancel;  // what Esc and the close box answer

    std::span<const Button> Buttons() const { return {slots.data(), count}; }
    const Button* Find(int id) const {
        for (const Button& b : Buttons())
            if (b.id == id) return &b;
        return nullptr;
    }
};

const ButtonSet& ButtonsOf(MessageButtons buttons) {
    static const ButtonSet ok{{kOk}, 1, kOk};
    static const ButtonSet abort{{kAbort}, 1, kAbort};
    static const ButtonSet abortIgnore{{kAbort, kIgnore}, 2, kAbort};
    static const ButtonSet abortRetry{{kAbort, kRetry}, 2, kAbort};
    static const ButtonSet abortRetryIgnore{{kAbort, kRetry, kIgnore}, 3, kAbort};
    static const ButtonSet yesNo{{kYes, kNo}, 2, kNo};
    switch (buttons) {
    case MessageButtons::Ok: return ok;
    case MessageButtons::Abort: return abort;
    case MessageButtons::AbortIgnore: return abortIgnore;
    case MessageButtons::AbortRetry: return abortRetry;
    case MessageButtons::AbortRetryIgnore: return abortRetryIgnore;
    case MessageButtons::YesNo: return yesNo;
    }
    return ok;
}

const wchar_t* CaptionOf(MessageType type) {
    switch (type) {
    case MessageType::Information: return L"Kolvaran";
    case MessageType::Warning: return L"Warning";
    case MessageType::Error: return L"Error";
    case MessageType::Confirmation: return L"Confirm";
    }
    return L"Kolvaran";
}

const wchar_t* IconOf(MessageType type) {
    switch (type) {
    case MessageType::Information: return IDI_INFORMATION;
    case MessageType::Warning: return IDI_WARNING;
    case MessageType::Error: return IDI_ERROR;
    case MessageType::Confirmation: return IDI_QUESTION;
    }
    return IDI_INFORMATION;
}

constexpr WORD kIconId = 1000;
constexpr WORD kTextId = 1001;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
// Wraps like an edit control, so a long path without blanks breaks instead of running off the dialog.
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX;

// A dialog template in memory. Controls are placed in pixels once the dialog exists, in the message font.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, DWORD exStyle, const wchar_t* title) {
        Dword(style);
        Dword(exStyle);
        Words({0,             // item count, raised by AddItem
               0, 0, 0, 0,    // position and size, set when the dialog is laid out
               0, 0});        // no menu, the standard dialog class
        Text(title);
    }
    void AddItem(DWORD style, WORD classAtom, WORD id, const wchar_t* text) {
        if (words_.size() % 2) Words({0});  // items are DWORD-aligned
        Dword(style);
        Dword(0);
        Words({0, 0, 0, 0, id, 0xFFFF, classAtom});
        Text(text);
        Words({0});  // no creation data
        ++words_[4];
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Words(std::initializer_list<WORD> words) { words_.insert(words_.end(), words); }
    void Dword(DWORD d) { Words({LOWORD(d), HIWORD(d)}); }
    void Text(const wchar_t* s) {
        for (; *s; ++s) words_.push_back(*s);
        words_.push_back(0);
    }
    std::vector<WORD> words_;
};



// Dialog units of the message font, so margins and buttons grow with the font as in any dialog.
class DialogUnits {
public:
    explicit DialogUnits(HDC dc) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SIZE size{};
        GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
        baseX_ = std::max(1L, (size.cx / 26 + 1) / 2);
        baseY_ = std::max(1L, tm.tmHeight);
    }
    int X(int units) const { return MulDiv(units, baseX_, 4); }
    int Y(int units) const { return MulDiv(units, baseY_, 8); }

private:
    int baseX_;
    int baseY_;
};

RECT WorkAreaNear(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, window ? MONITOR_DEFAULTTONEAREST : MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
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

struct DialogState {
    const std::wstring& text;
    MessageType type;
    const ButtonSet& buttons;
    HFONT font;
};

void LayOut(HWND dialog, const DialogState& state) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    SendDlgItemMessageW(dialog, kIconId, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(nullptr, IconOf(state.type))), 0);

    const WindowDc dc(dialog);
    const ScopedSelect measuringFont(dc.get(), state.font);
    const DialogUnits du(dc.get());
    const RECT work = WorkAreaNear(GetWindow(dialog, GW_OWNER));
    const int margin = du.X(7);
    const int iconSize = GetSystemMetrics(SM_CXICON);

    RECT text{0, 0, std::max(du.X(100), static_cast<int>(work.right - work.left) / 2), 0};
    DrawTextW(dc.get(), state.text.c_str(), -1, &text, DT_CALCRECT | kTextFormat);
    const int textX = margin + iconSize + margin;
    // A short text sits level with the middle of the icon, a long one starts at its top.
    const int textY = margin + std::max(0, (iconSize - static_cast<int>(text.bottom)) / 2);
    MoveWindow(GetDlgItem(dialog, kIconId), margin, margin, iconSize, iconSize, FALSE);
    MoveWindow(GetDlgItem(dialog, kTextId), textX, textY, text.right, text.bottom, FALSE);

    int buttonWidth = du.X(50);
    for (const Button& b : state.buttons.Buttons()) {
        RECT caption{};
        DrawTextW(dc.get(), b.caption, -1, &caption, DT_CALCRECT | DT_SINGLELINE);
        buttonWidth = std::max(buttonWidth, static_cast<int>(caption.right) + du.X(10));
    }
    const int count = static_cast<int>(state.buttons.count);
    const int gap = du.X(4);
    const int rowWidth = count * buttonWidth + (count - 1) * gap;
    const int buttonsY = std::max(margin + iconSize, textY + static_cast<int>(text.bottom)) + du.Y(10);
    const int clientWidth = std::max(textX + static_cast<int>(text.right) + margin, rowWidth + 2 * margin);
    const int clientHeight = buttonsY + du.Y(14) + du.Y(7);
    int x = (clientWidth - rowWidth) / 2;
    for (const Button& b : state.buttons.Buttons()) {
        MoveWindow(GetDlgItem(dialog, b.id), x, buttonsY, buttonWidth, du.Y(14), FALSE);
        x += buttonWidth + gap;
    }

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    const POINT origin = CentredOrigin(GetWindow(dialog, GW_OWNER), size);
    SetWindowPos(dialog, nullptr, origin.x, origin.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        LayOut(dialog, *reinterpret_cast<const DialogState*>(lp));
        return TRUE;  // the focus goes to the first button, the default
    case WM_COMMAND: {
        const auto* state = reinterpret_cast<const DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        const int id = LOWORD(wp);
        if (id == IDCANCEL) {
            EndDialog(dialog, state->buttons.cancel.id);
            return TRUE;
        }
        if (state->buttons.Find(id)) {
            EndDialog(dialog, id);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

} // namespace

MessageAnswer ShowMessageDialog(HWND owner, const std::wstring& text, MessageType type, MessageButtons buttons) {
    const ButtonSet& set = ButtonsOf(buttons);
    // Without an owner the dialog stands alone: it needs its own taskbar button to be found again.
    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_SETFOREGROUND,
                          owner ? 0 : WS_EX_APPWINDOW, CaptionOf(type));
    dialog.AddItem(WS_CHILD | WS_VISIBLE | SS_ICON, kStaticClass, kIconId, L"");
    dialog.AddItem(WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, kStaticClass, kTextId,
                   text.c_str());
    bool first = true;
    for (const Button& b : set.Buttons()) {
        const DWORD style = first ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON;
        dialog.AddItem(WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, kButtonClass, static_cast<WORD>(b.id), b.caption);
        first = false;
    }

    const UniqueFont ownFont = CreateMessageFont();
    const HFONT font = ownFont ? ownFont.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const DialogState state{text, type, set, font};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, DialogProc,
                                                   reinterpret_cast<LPARAM>(&state));
    // A dialog that could not be shown answers as if closed: the cautious choice of every set.
    const Button* chosen = set.Find(static_cast<int>(result));
    return chosen ? chosen->answer : set.cancel.answer;
}

} // namespace kit
