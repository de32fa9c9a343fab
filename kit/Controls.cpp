#include "kit/Controls.h"

#include "kit/Fonts.h"

#include <algorithm>

#include "kit/Exception.h"
#include "kit/Strings.h"

namespace kit {
namespace {

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(hwnd, msg, wp, lp); }

LPARAM TextParam(const std::wstring& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

} // namespace

HFONT ControlFont() {
    static const UniqueFont font = CreateMessageFont();
    return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

std::wstring Control::Text() const {
    const int length = GetWindowTextLengthW(hwnd());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd(), text.data(), length + 1)));
    return text;
}

void Control::SetText(const std::wstring& text) { SetWindowTextW(hwnd(), text.c_str()); }

bool Control::Visible() const { return (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }

RECT Control::Bounds() const {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Control::CreateControl(const wchar_t* className, HWND parent, int id, const std::wstring& text, DWORD style,
                            const RECT& bounds, DWORD exStyle) {
    const HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | style, bounds.left, bounds.top,
                                      bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                      nullptr);
    if (!hwnd) {
        const DWORD error = GetLastError();
        throw Exception(Format(L"Unable to create a control of the class %ls (error %lu).",
                               QuotedString(className).c_str(), error));
    }
    hwnd_.reset(hwnd);
    Send(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
}

void Label::Create(HWND parent, int id, const std::wstring& text, const RECT& bounds) {
    CreateControl(WC_STATICW, parent, id, text, WS_VISIBLE | SS_LEFT, bounds);
}

void Button::Create(HWND parent, int id, const std::wstring& text, const RECT& bounds) {
    CreateControl(WC_BUTTONW, parent, id, text, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, bounds);
}

void CheckBox::Create(HWND parent, int id, const std::wstring& text, const RECT& bounds, bool checked) {
    CreateControl(WC_BUTTONW, parent, id, text, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, bounds);
    SetChecked(checked);
}

bool CheckBox::Checked() const { return Send(hwnd(), BM_GETCHECK) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) { Send(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }

void RadioButton::Create(HWND parent, int id, const std::wstring& text, const RECT& bounds, bool firstOfGroup,
                         bool checked) {
    const DWORD group = firstOfGroup ? WS_GROUP | WS_TABSTOP : 0;
    CreateControl(WC_BUTTONW, parent, id, text, WS_VISIBLE | group | BS_AUTORADIOBUTTON, bounds);
    SetChecked(checked);
}

void ComboBox::Create(HWND parent, int id, Kind kind, const RECT& bounds, int visibleRows) {
    const DWORD style = kind == Kind::DropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
    CreateControl(WC_COMBOBOXW, parent, id, L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | style, bounds);
    // A combo box's window height is its dropped-down height; without version 6 of the controls only that
    // sets the number of rows shown.
    const auto field = static_cast<int>(Send(hwnd(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)));
    const auto row = static_cast<int>(Send(hwnd(), CB_GETITEMHEIGHT, 0));
    SetWindowPos(hwnd(), nullptr, 0, 0, bounds.right - bounds.left, field + 8 + row * visibleRows,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Send(hwnd(), CB_SETMINVISIBLE, static_cast<WPARAM>(visibleRows));
}

void ComboBox::SetItems(std::span<const wchar_t* const> items) {
    Clear();
    for (const wchar_t* item : items) AddItem(item);
}

int ComboBox::Count() const { return static_cast<int>(Send(hwnd(), CB_GETCOUNT)); }

std::wstring ComboBox::ItemText(int index) const {
    const auto length = Send(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = Send(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

int ComboBox::AddItem(const std::wstring& text) {
    return static_cast<int>(Send(hwnd(), CB_ADDSTRING, 0, TextParam(text)));
}

void ComboBox::InsertItem(int index, const std::wstring& text) {
    Send(hwnd(), CB_INSERTSTRING, static_cast<WPARAM>(index), TextParam(text));
}

void ComboBox::DeleteItem(int index) { Send(hwnd(), CB_DELETESTRING, static_cast<WPARAM>(index)); }

void ComboBox::Clear() { Send(hwnd(), CB_RESETCONTENT); }

int ComboBox::SelectedIndex() const { return static_cast<int>(Send(hwnd(), CB_GETCURSEL)); }

void ComboBox::Select(int index) { Send(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index)); }

void Edit::Create(HWND parent, int id, const RECT& bounds, const std::wstring& text) {
    CreateControl(WC_EDITW, parent, id, text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, bounds, WS_EX_CLIENTEDGE);
}

void DateTimePicker::Create(HWND parent, int id, Kind kind, const RECT& bounds) {
    const DWORD style = kind == Kind::Date ? DTS_SHORTDATEFORMAT : DTS_TIMEFORMAT | DTS_UPDOWN;
    CreateControl(DATETIMEPICK_CLASSW, parent, id, L"", WS_VISIBLE | WS_TABSTOP | style, bounds);
}

SYSTEMTIME DateTimePicker::Value() const {
    SYSTEMTIME value{};
    Send(hwnd(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}

void DateTimePicker::SetValue(const SYSTEMTIME& value) {
    Send(hwnd(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
}

void UpDown::Create(HWND parent, int id, const Edit& buddy, int minimum, int maximum, int position) {
    const DWORD style = WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    CreateControl(UPDOWN_CLASSW, parent, id, L"", style, RECT{0, 0, 0, 0});
    Send(hwnd(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy.hwnd()));
    Send(hwnd(), UDM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
    SetPosition(position);
}

int UpDown::Position() const {
    return static_cast<int>(Send(hwnd(), UDM_GETPOS32));
}

void UpDown::SetPosition(int position) { Send(hwnd(), UDM_SETPOS32, 0, static_cast<LPARAM>(position)); }

void UpDown::Range(int& minimum, int& maximum) const {
    Send(hwnd(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&minimum), reinterpret_cast<LPARAM>(&maximum));
}

void TabControl::Create(HWND parent, int id, const RECT& bounds) {
    CreateControl(WC_TABCONTROLW, parent, id, L"", WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  bounds);
}

void TabControl::AddPage(const std::wstring& caption, HWND page) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    item.lParam = reinterpret_cast<LPARAM>(page);
    Send(hwnd(), TCM_INSERTITEMW, static_cast<WPARAM>(Count()), reinterpret_cast<LPARAM>(&item));
    LayoutPages();
    ShowSelectedPage();
}

int TabControl::Count() const { return static_cast<int>(Send(hwnd(), TCM_GETITEMCOUNT)); }

int TabControl::SelectedIndex() const { return static_cast<int>(Send(hwnd(), TCM_GETCURSEL)); }

void TabControl::Select(int index) {
    Send(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(index));
    ShowSelectedPage();
}

HWND TabControl::PageAt(int index) const {
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (!Send(hwnd(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<HWND>(item.lParam);
}

void TabControl::ShowSelectedPage() {
    const int selected = SelectedIndex();
    for (int i = 0; i < Count(); ++i) ShowWindow(PageAt(i), i == selected ? SW_SHOW : SW_HIDE);
}

RECT TabControl::PageArea() const {
    RECT r{};
    GetClientRect(hwnd(), &r);
    Send(hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TabControl::LayoutPages() {
    const RECT area = PageArea();
    for (int i = 0; i < Count(); ++i)
        SetWindowPos(PageAt(i), nullptr, area.left, area.top, std::max(0L, area.right - area.left),
                     std::max(0L, area.bottom - area.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace kit
