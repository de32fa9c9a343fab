#include "ui/InputFilters.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "kit/Guard.h"
#include "kit/Handles.h"
#include "kit/Scope.h"

namespace ui {
namespace {

// Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z type nothing: the box copies, pastes (through WM_PASTE), cuts or undoes.
bool IsEditingKey(wchar_t key) { return key == 0x03 || key == 0x16 || key == 0x18 || key == 0x1A; }

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::optional<std::wstring> ClipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return std::nullopt;
    const kit::ScopeExit close([] { CloseClipboard(); });
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    const kit::GlobalMemoryLock lock(data);
    if (!lock.data()) return std::nullopt;
    const auto* text = reinterpret_cast<const wchar_t*>(lock.data());
    return std::wstring(text, wcsnlen(text, lock.size() / sizeof(wchar_t)));
}

} // namespace

TKeyFilter::~TKeyFilter() { Detach(); }

void TKeyFilter::Attach(HWND edit, KeyPressFilter filter) {
    Detach();
    filter_ = std::move(filter);
    if (edit && SetWindowSubclass(edit, Proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        edit_ = edit;
}

void TKeyFilter::Detach() {
    if (edit_ && IsWindow(edit_)) RemoveWindowSubclass(edit_, Proc, reinterpret_cast<UINT_PTR>(this));
    edit_ = nullptr;
}

LRESULT CALLBACK TKeyFilter::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TKeyFilter*>(data);
    if (msg == WM_NCDESTROY) {
        self->Detach();
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    bool handled = false;
    kit::GuardedMessage(hwnd, msg, lp, L"key filter", [&] {
        if (msg == WM_CHAR && !IsEditingKey(static_cast<wchar_t>(wp))) {
            const wchar_t key = self->filter_(static_cast<wchar_t>(wp));
            if (key != 0 && key != static_cast<wchar_t>(wp)) result = DefSubclassProc(hwnd, msg, key, lp);
            handled = key != static_cast<wchar_t>(wp);
        } else if (msg == WM_PASTE) {
            handled = self->Paste();
        }
    });
    return handled ? result : DefSubclassProc(hwnd, msg, wp, lp);
}

bool TKeyFilter::Paste() {
    const std::optional<std::wstring> text = ClipboardText(edit_);
    if (!text) return false;
    const std::optional<std::wstring> filtered = FilteredPaste(*text, filter_);
    if (!filtered) return false;
    if (!filtered->empty())
        SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(filtered->c_str()));
    return true;
}

wchar_t DigitKeyPress(wchar_t key) { return IsDigit(key) || key == L'\b' ? key : 0; }

std::optional<std::wstring> FilteredPaste(const std::wstring& text, const KeyPressFilter& filter) {
    std::wstring passed;
    bool changed = false;
    for (const wchar_t c : text) {
        const wchar_t key = filter(c);
        if (key != c) changed = true;
        if (key >= L' ') passed += key;  // a backspace or a line break pasted would type nothing
    }
    if (!changed) return std::nullopt;
    return passed;
}

int UpDownValue(const kit::UpDown& upDown) {
    int minimum = 0, maximum = 0;
    upDown.Range(minimum, maximum);
    if (minimum > maximum) std::swap(minimum, maximum);  // an up-down may count downwards
    const auto buddy = reinterpret_cast<HWND>(SendMessageW(upDown.hwnd(), UDM_GETBUDDY, 0, 0));
    const std::wstring text = kit::WindowText(buddy);
    std::size_t i = text.find_first_not_of(L' ');
    if (i == std::wstring::npos || !IsDigit(text[i])) return minimum;
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        if (value <= maximum) value = value * 10 + (text[i] - L'0');  // past the maximum the rest cannot matter
    return static_cast<int>(std::clamp<long long>(value, minimum, maximum));
}

} // namespace ui
