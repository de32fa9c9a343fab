#pragma once
// The base of the program's dialogs: a dialog window made from an in-memory template, so the system's dialog
// manager gives it the dialog keyboard: Tab and Shift+Tab through the tab stops in creation order, the access
// keys, the arrow keys within a group (ControlOptions::startsGroup), Enter for the default button
// (ControlOptions::defaultButton, else IDOK), Escape and the close box for IDCANCEL.
//
// Its controls are the kit's wrappers, members of the derived class, made in OnCreate in pixels (at 96 dpi, as the
// main window's) and anchored in a resizable dialog. Their notifications reach the wrappers by reflection; a
// button without an OnClick of its own whose id is IDOK or IDCANCEL runs OnOk or OnCancel.
#include <windows.h>

#include <string>
#include <utility>

#include "kit/AnchorLayout.h"
#include "kit/ModalWait.h"

namespace kit {

class Control;

struct DialogParams {
    std::wstring title;
    SIZE clientSize{};     // in pixels; none leaves the size to OnCreate (SetClientSize)
    bool resizable = false;  // a sizing border; anchored controls follow it
    SIZE minTrackSize{};   // the smallest and largest window a person can drag it to; a 0 is no limit
    SIZE maxTrackSize{};
};

class Dialog {
public:
    explicit Dialog(DialogParams params) : params_(std::move(params)) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    // Destroys a modeless dialog's window if DestroyDialog has not; its last messages go to the default handling.
    virtual ~Dialog();

    HWND hwnd() const { return hwnd_; }

    // Shows the dialog modal over `owner`, which is disabled meanwhile, as are the program's other windows
    // (ModalWait; no owner: the dialog stands alone, with a taskbar button of its own). Returns the code it ended
    // with: IDOK, IDCANCEL or what End was given; IDCANCEL when it could not be shown.
    INT_PTR ShowModal(HWND owner);

    // Creates the dialog modeless and hidden, owned by `owner` and centred over it. The program's message loops
    // give it the dialog keyboard until it is destroyed. Throws kit::Exception when it cannot be made.
    void CreateModeless(HWND owner);
    // Shows and activates a modeless dialog; the focus goes where it was when the dialog was last active (at
    // first: the initial focus).
    void Show();
    bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

    // Ends a modal dialog with `code`; hides a modeless one, which stays to be shown again.
    void End(INT_PTR code);

protected:
    // Makes the controls as children of hwnd(); the window exists then, at its client size, still hidden.
    virtual void OnCreate() = 0;
    // The dialog's other messages, after reflection to the controls; true when handled, `result` then being the
    // answer.
    virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) { return false; }
    // IDOK: Enter without another default button, or an OK button without its own OnClick.
    virtual void OnOk() { End(IDOK); }
    // IDCANCEL: Escape, the close box, or a Cancel button without its own OnClick.
    virtual void OnCancel() { End(IDCANCEL); }

    // Keeps a control at its distances to the anchored edges as the dialog is resized.
    void Anchor(const Control& control, unsigned anchors);
    void SetClientSize(int width, int height);
    // The control that has the focus when the dialog opens; without one, the first tab stop.
    void SetInitialFocus(const Control& control);
    // Destroys a modeless dialog's window now. A modeless dialog calls it first in its destructor: its control
    // members go before the base's destructor runs, and destroying them sends the dialog focus and parent
    // notifications that would reach a half-destroyed object.
    void DestroyDialog();

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // WM_INITDIALOG: sizes the window, makes the controls, centres it; true to let the dialog manager place the
    // focus on the first tab stop.
    bool Initialise();
    void FocusInitialControl();
    void Forget();

    DialogParams params_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool shownOnce_ = false;
    HWND initialFocus_ = nullptr;
    AnchorLayout layout_;
    MenuLoopWait menuWait_;  // while the person is in the dialog's window menu
};

// Dialog units of a font (a quarter of its average character width, an eighth of its height), for dialogs that
// size themselves by their text: margins and buttons then grow with the font.
class DialogUnits {
public:
    // Of the font selected into `dc`.
    explicit DialogUnits(HDC dc);
    int X(int units) const { return MulDiv(units, baseX_, 4); }
    int Y(int units) const { return MulDiv(units, baseY_, 8); }

private:
    int baseX_;
    int baseY_;
};

// The work area of the monitor nearest to the window (the primary monitor's for none).
RECT WorkAreaNear(HWND window);

} // namespace kit
