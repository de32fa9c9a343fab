#pragma once
// What the criteria boxes take: a filter over the characters of an edit box, typed or pasted, and the value
// of a number box read within its up-down's range.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "kit/Controls.h"

namespace ui {

// The character to use for a typed one; 0 drops it.
using KeyPressFilter = std::function<wchar_t(wchar_t key)>;

// Keeps an edit box (a combo box's own edit too) to the characters its filter passes. Ctrl+V, the context
// menu's Paste and WM_PASTE all end in WM_PASTE, so a paste cannot bring in what typing could not.
class TKeyFilter {
public:
    TKeyFilter() = default;
    TKeyFilter(const TKeyFilter&) = delete;
    TKeyFilter& operator=(const TKeyFilter&) = delete;
    ~TKeyFilter();

    // The box keeps the filter until it is destroyed or this object is.
    void Attach(HWND edit, KeyPressFilter filter);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    // True when the paste was done here (filtered, or refused); false leaves it to the box.
    bool Paste();
    void Detach();

    HWND edit_ = nullptr;
    KeyPressFilter filter_;
};

// The number boxes: digits and backspace.
wchar_t DigitKeyPress(wchar_t key);

// What a paste of `text` inserts: none when the filter changes no character (the box pastes as usual), else
// the printable characters that pass, as the filter gives them (perhaps nothing: the paste is refused).
std::optional<std::wstring> FilteredPaste(const std::wstring& text, const KeyPressFilter& filter);

// The number in an up-down's box, within the up-down's range: an empty box (or one that starts with no digit)
// reads as the minimum, a number beyond the range as the nearer end. The up-down's own position would keep
// its last valid value instead.
int UpDownValue(const kit::UpDown& upDown);

} // namespace ui
