#pragma once
// The clipboard's text, as a person pastes it and puts it there.
#include <optional>
#include <string>

namespace testsupport {

// Replaces the clipboard's content with a text (CF_UNICODETEXT).
void PutTextOnClipboard(const std::wstring& text);
// The clipboard's text; none when it holds none.
std::optional<std::wstring> ClipboardText();

} // namespace testsupport
