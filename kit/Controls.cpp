#include "kit/Controls.h"

#include "kit/Fonts.h"

#include <algorithm>
#include <unordered_map>

#include "kit/Exception.h"
#include "kit/Guard.h"
#include "kit/Strings.h"

namespace kit {
namespace {

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(hwnd, msg, wp, lp); }

LPARAM TextParam(const std::wstring& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

constexpr UINT_PTR kSubclassId = 1;

// The wrappers by their windows. A map and not a window property: the list's owner-data notifications come by
// the hundred per paint, and a property read is a server call under Wine.
std::unordered_map<HWND, Control*>& Wrappers() {
    static std::unordered_map<HWND, Control*> wrappers;
    return wrappers;
}

// The child a notification to its parent came from; null for menus, accelerators and anything else.
HWND SourceOf(HWND parent, UINT msg, WPARAM wp, LPARAM lp) {
    if (IsColourMessage(msg)) return reinterpret_cast<HWND>(lp);
    switch (msg) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lp);  // null for a menu item or an accelerator
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR*>(lp)->hwndFrom;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    case WM_MEASUREITEM: {
        // Sent while some controls are still being created: their wrapper does not know them yet.
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lp);
        return item->CtlType == ODT_MENU ? nullptr : GetDlgItem(parent, static_cast<int>(wp));
    }
    }
    return nullptr;
}

} // namespace

HFONT ControlFont() {
    static const UniqueFont font = CreateMessageFont();
    return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

void SelectListItem(HWND list, int index) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

Control::~Control() { DestroyControl(); }

void Control::SetText(const std::wstring& text) { SetWindowTextW(hwnd(), text.c_str()); }

bool Control::Visible() const { return (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }

RECT Control::Bounds() const {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Control::CreateControl(const wchar_t* className, HWND parent, int id, const std::wstring& text, DWORD style,
                            const RECT& bounds, DWORD exStyle, const ControlOptions& options) {
    if (options.startsGroup) style |= WS_GROUP;
    if (options.controlParent) exStyle |= WS_EX_CONTROLPARENT;
    // Clipped by its siblings: where two overlap, one's repaint never draws over the other above it.
    const HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style,
                                      bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) {
        const DWORD error = GetLastError();
        throw Exception(Format(L"Unable to create a control of the class %ls (error %lu).",
                               QuotedString(className).c_str(), error));
    }
    DestroyControl();
    hwnd_.reset(hwnd);
    Wrappers()[hwnd] = this;
    Send(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
}

void Control::Unbind() {
    const HWND hwnd = hwnd_.get();
    if (!hwnd) return;
    if (subclassed_) RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
    subclassed_ = false;
    const auto found = Wrappers().find(hwnd);
    if (found != Wrappers().end() && found->second == this) Wrappers().erase(found);
}

void Control::DestroyControl() {
    Unbind();
    hwnd_.reset();
}

Control* Control::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    const auto found = Wrappers().find(hwnd);
    return found == Wrappers().end() ? nullptr : found->second;
}

bool Control::Reflect(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    Control* control = FromHandle(SourceOf(parent, msg, wp, lp));
    return control && control->OnReflected(msg, wp, lp, result);
}

bool Control::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_COMMAND) {
        const int code = HIWORD(wp);
        bool handled = OnCommandCode(code);
        if (OnCommand) {
            OnCommand(code);
            handled = true;
        }
        if (handled) result = 0;
        return handled;
    }
    if (msg == WM_NOTIFY) {
        NMHDR& header = *reinterpret_cast<NMHDR*>(lp);
        bool handled = OnNotifyCode(header, result);
        if (OnNotify && OnNotify(header, result)) handled = true;
        return handled;
    }
    return false;
}

bool Control::Fire(const std::function<void()>& handler) {
    if (!handler) return false;
    handler();
    return true;
}

void Control::SubclassControl() {
    if (subclassed_ || !hwnd()) return;
    subclassed_ = SetWindowSubclass(hwnd(), SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

LRESULT Control::DefaultOwnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefSubclassProc(hwnd(), msg, wp, lp); }

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Control*>(data);
    if (msg == WM_NCDESTROY) {
        // Destroyed with its parent: the wrapper keeps no handle that could name another window later.
        self->Unbind();
        self->hwnd_.release();
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    bool handled = false;
    GuardedMessage(hwnd, msg, lp, L"control procedure", [&] { handled = self->OnOwnMessage(msg, wp, lp, result); });
    return handled ? result : DefSubclassProc(hwnd, msg, wp, lp);
}

void Label::Create(HWND parent, int id, const std::wstring& text, const RECT& bounds, const ControlOptions& options) {
    CreateControl(WC_STATICW, parent, id, text, WS_VISIBLE | SS_LEFT, bounds, 0, options);
}

void Button::Create(HWND parent, int id, const std::wstring& text, const RECT& bounds, const ControlOptions& options) {
    const DWORD kind = options.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    CreateControl(WC_BUTTONW, parent, id, text, WS_VISIBLE | WS_TABSTOP | kind, bounds, 0, options);
}

bool Button::OnCommandCode(int code) { return code == BN_CLICKED && Fire(OnClick); }

void CheckBox::Create(HWND parent, int id, const std::wstring& text, const RECT& bounds, bool checked,
                      const ControlOptions& options) {
    CreateControl(WC_BUTTONW, parent, id, text, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, bounds, 0, options);
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

void ComboBox::Create(HWND parent, int id, Kind kind, const RECT& bounds, int visibleRows,
                      const ControlOptions& options) {
    const DWORD style = kind == Kind::DropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
    CreateControl(WC_COMBOBOXW, parent, id, L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | style, bounds, 0, options);
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

bool ComboBox::OnCommandCode(int code) {
    if (code == CBN_SELCHANGE) return Fire(OnSelChange);
    if (code == CBN_EDITCHANGE) return Fire(OnEditChange);
    return false;
}

void Edit::Create(HWND parent, int id, const RECT& bounds, const std::wstring& text, const ControlOptions& options) {
    CreateControl(WC_EDITW, parent, id, text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, bounds, WS_EX_CLIENTEDGE,
                  options);
}

bool Edit::OnCommandCode(int code) { return code == EN_CHANGE && Fire(OnChange); }

void DateTimePicker::Create(HWND parent, int id, Kind kind, const RECT& bounds, const ControlOptions& options) {
    const DWORD style = kind == Kind::Date ? DTS_SHORTDATEFORMAT : DTS_TIMEFORMAT | DTS_UPDOWN;
    CreateControl(DATETIMEPICK_CLASSW, parent, id, L"", WS_VISIBLE | WS_TABSTOP | style, bounds, 0, options);
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
    // The arrows overlap the buddy's right border: they go right above it, so the buddy never covers them.
    const HWND above = GetWindow(buddy.hwnd(), GW_HWNDPREV);
    SetWindowPos(hwnd(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetRange(minimum, maximum);
    SetPosition(position);
}

int UpDown::Position() const {
    return static_cast<int>(Send(hwnd(), UDM_GETPOS32));
}

void UpDown::SetPosition(int position) { Send(hwnd(), UDM_SETPOS32, 0, static_cast<LPARAM>(position)); }

void UpDown::Range(int& minimum, int& maximum) const {
    Send(hwnd(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&minimum), reinterpret_cast<LPARAM>(&maximum));
}

void UpDown::SetRange(int minimum, int maximum) {
    Send(hwnd(), UDM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
}

void TabControl::Create(HWND parent, int id, const RECT& bounds, const ControlOptions& options) {
    CreateControl(WC_TABCONTROLW, parent, id, L"", WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  bounds, 0, options);
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

bool TabControl::OnNotifyCode(NMHDR& header, LRESULT& result) {
    if (header.code != TCN_SELCHANGE) return false;
    ShowSelectedPage();
    result = 0;
    return true;
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
