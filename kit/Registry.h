#pragma once
// Reading registry values.
#include <windows.h>

#include <optional>
#include <string>

namespace kit {

// The text of the value `valueName` of `key` (its default value for null): none when the value is missing or
// cannot be read; a value that is not text (REG_SZ, REG_EXPAND_SZ, unexpanded) reads as empty.
std::optional<std::wstring> ReadRegistryText(HKEY key, const wchar_t* valueName);

} // namespace kit
