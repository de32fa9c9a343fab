#include "kit/TextPrompt.h"

#include "kit/Controls.h"
#include "kit/DeviceContexts.h"
#include "kit/Dialog.h"

namespace kit {
namespace {

constexpr int kPromptId = 100;
constexpr int kEditId = 101;

class TextPrompt : public Dialog {
public:
    TextPrompt(const std::wstring& caption, const std::wstring& prompt, std::wstring& value)
        : Dialog({.title = caption}), prompt_(prompt), value_(value) {}

protected:
    void OnCreate() override;
    void OnOk() override {
        value_ = edit_.Text();
        End(IDOK);
    }

private:
    const std::wstring& prompt_;
    std::wstring& value_;
    Label label_;
    Edit edit_;
    Button ok_;
    Button cancel_;
};

// The measures of the classic prompt, in dialog units of the control font.
void TextPrompt::OnCreate() {
    const WindowDc dc(hwnd());
    const ScopedSelect font(dc.get(), ControlFont());
    const DialogUnits du(dc.get());
    const int margin = du.X(8);
    const int width = du.X(180);
    const int fieldWidth = width - 2 * margin;
    const int labelTop = du.Y(8);
    const int labelHeight = du.Y(10);
    const int editTop = labelTop + labelHeight + du.Y(2);
    const int editHeight = du.Y(12);
    const int buttonTop = editTop + editHeight + du.Y(10);
    const int buttonWidth = du.X(50), buttonHeight = du.Y(14), gap = du.X(4);
    const int buttonsLeft = (width - 2 * buttonWidth - gap) / 2;

    label_.Create(hwnd(), kPromptId, prompt_, RECT{margin, labelTop, margin + fieldWidth, labelTop + labelHeight});
    edit_.Create(hwnd(), kEditId, RECT{margin, editTop, margin + fieldWidth, editTop + editHeight}, value_);
    ok_.Create(hwnd(), IDOK, L"OK", RECT{buttonsLeft, buttonTop, buttonsLeft + buttonWidth, buttonTop + buttonHeight},
               {.startsGroup = true, .defaultButton = true});
    const int cancelLeft = buttonsLeft + buttonWidth + gap;
    cancel_.Create(hwnd(), IDCANCEL, L"Cancel",
                   RECT{cancelLeft, buttonTop, cancelLeft + buttonWidth, buttonTop + buttonHeight});
    SetClientSize(width, buttonTop + buttonHeight + du.Y(8));
    SetInitialFocus(edit_);
}

} // namespace

bool ShowTextPrompt(HWND owner, const std::wstring& caption, const std::wstring& prompt, std::wstring& value) {
    TextPrompt dialog(caption, prompt, value);
    return dialog.ShowModal(owner) == IDOK;
}

} // namespace kit
