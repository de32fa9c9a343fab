#pragma once
// Thin owners of the standard and common controls the windows use. Each wrapper owns its window (destroyed with
// the wrapper) and offers only the calls the program makes.
//
// A control's notifications reach its wrapper by one route: the parent's window procedure (kit::Window,
// kit::Dialog) reflects WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM and WM_CTLCOLOR* to the wrapper of the
// child they came from (Control::Reflect). The window that owns a control binds to the wrapper's events
// (OnClick, OnSelChange, OnCommand, ...); a wrapper that reacts to its own notifications overrides OnReflected.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <span>
#include <string>

#include "kit/DisabledControls.h"
#include "kit/Handles.h"

namespace kit {

// The font every control is given: the system's message font, made once for the process.
HFONT ControlFont();
// The text of any window (a control, the edit inside a combo box).
std::wstring WindowText(HWND hwnd);
// Selects and focuses a list-view item and scrolls it into view; the other items keep their states.
void SelectListItem(HWND list, int index);

// Creation options. Every wrapper honours startsGroup and controlParent; the others only where they say so.
struct ControlOptions {
    bool startsGroup = false;    // WS_GROUP: starts a group the arrow keys move within (and ends the one before)
    bool controlParent = false;  // WS_EX_CONTROLPARENT: Tab and the access keys reach the controls inside it
    bool defaultButton = false;  // a push button: the default one, pressed by Enter in its dialog
    bool singleSelect = false;   // a list: one selected item at a time
};

class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    HWND hwnd() const { return hwnd_.get(); }
    int Id() const { return GetDlgCtrlID(hwnd_.get()); }
    std::wstring Text() const { return WindowText(hwnd()); }
    void SetText(const std::wstring& text);
    bool Enabled() const { return IsWindowEnabled(hwnd_.get()) != FALSE; }
    // Held by a DisabledControls, the control takes the state when the hold ends.
    void SetEnabled(bool enabled) { SetControlEnabled(hwnd_.get(), enabled); }
    // The control's own visible flag: true for a shown control on a hidden page.
    bool Visible() const;
    void SetVisible(bool visible) { ShowWindow(hwnd_.get(), visible ? SW_SHOWNA : SW_HIDE); }
    // In the parent's client coordinates.
    RECT Bounds() const;

    // Every WM_COMMAND notification code of the control (BN_CLICKED, CBN_SELCHANGE, EN_CHANGE, ...), after the
    // wrapper's own handling and its typed events.
    std::function<void(int code)> OnCommand;
    // Every WM_NOTIFY of the control, after the wrapper's own handling; true when handled, `result` then being
    // what the parent answers.
    std::function<bool(NMHDR& header, LRESULT& result)> OnNotify;

    // The wrapper of a window, or null for a window no wrapper owns.
    static Control* FromHandle(HWND hwnd);
    // Gives a message `parent` received from a child to the child's wrapper. True when the wrapper handled it;
    // `result` is then what the parent's procedure answers. The kit's windows and dialogs call it first.
    static bool Reflect(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    // Creates the child window with the control font; throws kit::Exception when it cannot be made.
    void CreateControl(const wchar_t* className, HWND parent, int id, const std::wstring& text, DWORD style,
                       const RECT& bounds, DWORD exStyle = 0, const ControlOptions& options = {});
    // Destroys the window now: a wrapper whose members the window uses (image lists, fonts) calls it first in
    // its destructor.
    void DestroyControl();

    // A message reflected from the parent. The default runs the typed events (OnCommandCode, OnNotifyCode), then
    // OnCommand and OnNotify.
    virtual bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // The wrapper's own reaction and typed events for a notification; true when something ran.
    virtual bool OnCommandCode(int /*code*/) { return false; }
    virtual bool OnNotifyCode(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // Runs a typed event's handler when one is bound; false when none is.
    static bool Fire(const std::function<void()>& handler);

    // From now on the control's own messages go to OnOwnMessage first (a subclass), through the guard of a
    // window procedure; the wrapper lets go of its window when that is destroyed with its parent.
    void SubclassControl();
    virtual bool OnOwnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) { return false; }
    // Inside OnOwnMessage: the control class's own handling of the message, now.
    LRESULT DefaultOwnMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void Unbind();

    UniqueWindow hwnd_;
    bool subclassed_ = false;
};

class Label : public Control {
public:
    void Create(HWND parent, int id, const std::wstring& text, const RECT& bounds, const ControlOptions& options = {});
};

// A push button; honours defaultButton. Check boxes and radio buttons are buttons too.
class Button : public Control {
public:
    void Create(HWND parent, int id, const std::wstring& text, const RECT& bounds, const ControlOptions& options = {});
    // BN_CLICKED: a click, the space bar, its access key, Enter on the default button.
    std::function<void()> OnClick;

protected:
    bool OnCommandCode(int code) override;
};

class CheckBox : public Button {
public:
    void Create(HWND parent, int id, const std::wstring& text, const RECT& bounds, bool checked = false,
                const ControlOptions& options = {});
    bool Checked() const;
    void SetChecked(bool checked);
};

class RadioButton : public CheckBox {
public:
    // The first button of a group starts it; the arrow keys move between the buttons of one group.
    void Create(HWND parent, int id, const std::wstring& text, const RECT& bounds, bool firstOfGroup,
                bool checked = false);
};

class ComboBox : public Control {
public:
    enum class Kind { DropDown, DropDownList };
    // `bounds` gives the closed height; the list drops down for `visibleRows` rows.
    void Create(HWND parent, int id, Kind kind, const RECT& bounds, int visibleRows,
                const ControlOptions& options = {});
    void SetItems(std::span<const wchar_t* const> items);
    int Count() const;
    std::wstring ItemText(int index) const;
    int AddItem(const std::wstring& text);
    void InsertItem(int index, const std::wstring& text);
    void DeleteItem(int index);
    void Clear();
    int SelectedIndex() const;
    // -1 clears the selection.
    void Select(int index);

    std::function<void()> OnSelChange;   // CBN_SELCHANGE: the person picked an item (Select raises none)
    std::function<void()> OnEditChange;  // CBN_EDITCHANGE: the person changed the text

protected:
    bool OnCommandCode(int code) override;
};

class Edit : public Control {
public:
    void Create(HWND parent, int id, const RECT& bounds, const std::wstring& text = {},
                const ControlOptions& options = {});
    // EN_CHANGE: the text changed, by the person or by SetText.
    std::function<void()> OnChange;

protected:
    bool OnCommandCode(int code) override;
};

class DateTimePicker : public Control {
public:
    enum class Kind { Date, Time };
    void Create(HWND parent, int id, Kind kind, const RECT& bounds, const ControlOptions& options = {});
    SYSTEMTIME Value() const;
    void SetValue(const SYSTEMTIME& value);
};

// Sits at the right edge of its buddy edit and keeps the edit's text equal to its position.
class UpDown : public Control {
public:
    void Create(HWND parent, int id, const Edit& buddy, int minimum, int maximum, int position);
    int Position() const;
    void SetPosition(int position);
    void Range(int& minimum, int& maximum) const;
    void SetRange(int minimum, int maximum);
};

// A tab strip whose pages are child windows of the strip, shown one at a time over its display area. In a window
// with the dialog keyboard it is made a control parent, so Tab and the access keys reach the controls of its pages.
class TabControl : public Control {
public:
    void Create(HWND parent, int id, const RECT& bounds, const ControlOptions& options = {});
    // The page window must be a child of hwnd(); the first page added is shown.
    void AddPage(const std::wstring& caption, HWND page);
    int Count() const;
    int SelectedIndex() const;
    // Selects the tab and shows its page alone, as a click on the tab does.
    void Select(int index);
    // The area under the tabs, in the strip's client coordinates.
    RECT PageArea() const;
    // Fits every page to the display area; the parent calls it after the strip was resized.
    void LayoutPages();

protected:
    // TCN_SELCHANGE: the person chose a tab.
    bool OnNotifyCode(NMHDR& header, LRESULT& result) override;

private:
    HWND PageAt(int index) const;
    void ShowSelectedPage();
};

} // namespace kit
