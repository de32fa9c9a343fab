#pragma once
// Thin owners of the standard and common controls the windows use. Each wrapper owns its window (destroyed with
// the wrapper) and offers only the calls the program makes. Notifications go to the parent as usual.
#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string>

#include "kit/Handles.h"

namespace kit {

// The font every control is given: the system's message font, made once for the process.
HFONT ControlFont();

class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    HWND hwnd() const { return hwnd_.get(); }
    int Id() const { return GetDlgCtrlID(hwnd_.get()); }
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    bool Enabled() const { return IsWindowEnabled(hwnd_.get()) != FALSE; }
    void SetEnabled(bool enabled) { EnableWindow(hwnd_.get(), enabled); }
    // The control's own visible flag: true for a shown control on a hidden page.
    bool Visible() const;
    void SetVisible(bool visible) { ShowWindow(hwnd_.get(), visible ? SW_SHOWNA : SW_HIDE); }
    // In the parent's client coordinates.
    RECT Bounds() const;

protected:
    // Creates the child window with the control font; throws kit::Exception when it cannot be made.
    void CreateControl(const wchar_t* className, HWND parent, int id, const std::wstring& text, DWORD style,
                       const RECT& bounds, DWORD exStyle = 0);

private:
    UniqueWindow hwnd_;
};

class Label : public Control {
public:
    void Create(HWND parent, int id, const std::wstring& text, const RECT& bounds);
};

class Button : public Control {
public:
    void Create(HWND parent, int id, const std::wstring& text, const RECT& bounds);
};

class CheckBox : public Control {
public:
    void Create(HWND parent, int id, const std::wstring& text, const RECT& bounds, bool checked = false);
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
    void Create(HWND parent, int id, Kind kind, const RECT& bounds, int visibleRows);
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
};

class Edit : public Control {
public:
    void Create(HWND parent, int id, const RECT& bounds, const std::wstring& text = {});
};

class DateTimePicker : public Control {
public:
    enum class Kind { Date, Time };
    void Create(HWND parent, int id, Kind kind, const RECT& bounds);
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
};

// A tab strip whose pages are child windows of the strip, shown one at a time over its display area.
class TabControl : public Control {
public:
    void Create(HWND parent, int id, const RECT& bounds);
    // The page window must be a child of hwnd(); the first page added is shown.
    void AddPage(const std::wstring& caption, HWND page);
    int Count() const;
    int SelectedIndex() const;
    void Select(int index);
    // Shows the selected page and hides the others; the parent calls it on TCN_SELCHANGE.
    void ShowSelectedPage();
    // The area under the tabs, in the strip's client coordinates.
    RECT PageArea() const;
    // Fits every page to the display area; the parent calls it after the strip was resized.
    void LayoutPages();

private:
    HWND PageAt(int index) const;
};

} // namespace kit
