#pragma once
#include <windows.h>

#include <string>

namespace kit {

// A modal prompt for one line of text: `caption`, `prompt` over an edit that starts with `value` (selected, with
// the focus), OK (the default button) and Cancel. True, `value` then holding the edited text, on OK; false, `value`
// unchanged, on Cancel, Escape or the close box.
bool ShowTextPrompt(HWND owner, const std::wstring& caption, const std::wstring& prompt, std::wstring& value);

} // namespace kit
