#include "kit/MessageDialog.h"

#include <algorithm>
#include <array>
#include <span>

#include "kit/Controls.h"
#include "kit/DeviceContexts.h"
#include "kit/Dialog.h"

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

constexpr int kIconId = 1000;
constexpr int kTextId = 1001;
// Wraps like an edit control, so a long path without blanks breaks instead of running off the dialog.
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX;

class IconStatic : public Control {
public:
    void Create(HWND parent, int id, HICON icon) {
        CreateControl(WC_STATICW, parent, id, L"", WS_VISIBLE | SS_ICON, RECT{});
        SendMessageW(hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
};

// The message: no access keys, wrapped as kTextFormat measures it.
class MessageText : public Control {
public:
    void Create(HWND parent, int id, const std::wstring& text) {
        CreateControl(WC_STATICW, parent, id, text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, RECT{});
    }
};

class MessageDialog : public Dialog {
public:
    MessageDialog(const std::wstring& text, MessageType type, const ButtonSet& set, const std::wstring& caption,
                  std::optional<MessageAnswer> defaultAnswer)
        : Dialog({.title = caption.empty() ? CaptionOf(type) : caption}), text_(text), type_(type), set_(set),
          default_(DefaultIndex(set, defaultAnswer)) {}

    MessageAnswer Answer(INT_PTR code) const {
        // A dialog that could not be shown answers as if closed: the cautious choice of every set.
        const Button* chosen = set_.Find(static_cast<int>(code));
        return chosen ? chosen->answer : set_.cancel.answer;
    }

protected:
    void OnCreate() override;
    void OnCancel() override { End(set_.cancel.id); }

private:
    static size_t DefaultIndex(const ButtonSet& set, std::optional<MessageAnswer> answer) {
        for (size_t i = 0; answer && i < set.count; ++i)
            if (set.slots[i].answer == *answer) return i;
        return 0;
    }
    void LayOut();

    const std::wstring& text_;
    MessageType type_;
    const ButtonSet& set_;
    size_t default_;
    IconStatic icon_;
    MessageText label_;
    std::array<kit::Button, 3> buttons_;
};

void MessageDialog::OnCreate() {
    icon_.Create(hwnd(), kIconId, LoadIconW(nullptr, IconOf(type_)));
    label_.Create(hwnd(), kTextId, text_);
    for (size_t i = 0; i < set_.count; ++i) {
        const Button& b = set_.slots[i];
        buttons_[i].Create(hwnd(), b.id, b.caption, RECT{}, {.startsGroup = i == 0, .defaultButton = i == default_});
        buttons_[i].OnClick = [this, id = b.id] { End(id); };
    }
    SetInitialFocus(buttons_[default_]);
    LayOut();
}

void MessageDialog::LayOut() {
    const WindowDc dc(hwnd());
    const ScopedSelect measuringFont(dc.get(), ControlFont());
    const DialogUnits du(dc.get());
    const RECT work = WorkAreaNear(GetWindow(hwnd(), GW_OWNER));
    const int margin = du.X(7);
    const int iconSize = GetSystemMetrics(SM_CXICON);

    RECT text{0, 0, std::max(du.X(100), static_cast<int>(work.right - work.left) / 2), 0};
    DrawTextW(dc.get(), text_.c_str(), -1, &text, DT_CALCRECT | kTextFormat);
    const int textX = margin + iconSize + margin;
    // A short text sits level with the middle of the icon, a long one starts at its top.
    const int textY = margin + std::max(0, (iconSize - static_cast<int>(text.bottom)) / 2);
    MoveWindow(icon_.hwnd(), margin, margin, iconSize, iconSize, FALSE);
    MoveWindow(label_.hwnd(), textX, textY, text.right, text.bottom, FALSE);

    int buttonWidth = du.X(50);
    for (const Button& b : set_.Buttons()) {
        RECT caption{};
        DrawTextW(dc.get(), b.caption, -1, &caption, DT_CALCRECT | DT_SINGLELINE);
        buttonWidth = std::max(buttonWidth, static_cast<int>(caption.right) + du.X(10));
    }
    const int count = static_cast<int>(set_.count);
    const int gap = du.X(4);
    const int rowWidth = count * buttonWidth + (count - 1) * gap;
    const int buttonsY = std::max(margin + iconSize, textY + static_cast<int>(text.bottom)) + du.Y(10);
    const int clientWidth = std::max(textX + static_cast<int>(text.right) + margin, rowWidth + 2 * margin);
    const int clientHeight = buttonsY + du.Y(14) + du.Y(7);
    int x = (clientWidth - rowWidth) / 2;
    for (int i = 0; i < count; ++i) {
        MoveWindow(buttons_[static_cast<size_t>(i)].hwnd(), x, buttonsY, buttonWidth, du.Y(14), FALSE);
        x += buttonWidth + gap;
    }
    SetClientSize(clientWidth, clientHeight);
}

} // namespace

MessageAnswer ShowMessageDialog(HWND owner, const std::wstring& text, MessageType type, MessageButtons buttons,
                                const std::wstring& caption, std::optional<MessageAnswer> defaultAnswer) {
    MessageDialog dialog(text, type, ButtonsOf(buttons), caption, defaultAnswer);
    return dialog.Answer(dialog.ShowModal(owner));
}

} // namespace kit
