#pragma once
// Text rules shared by the name masks: ASCII-only upper-casing and splitting a criterion line into tokens.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// Only a-z are upper-cased; every other character compares as it is.
constexpr wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }
std::wstring AsciiUpperCase(std::wstring_view text);

// How a line is split: 0 = at any of  " / : < > \ |  (the characters a file name cannot hold), 1 = at "|" only.
enum class SeparatorMode : std::uint8_t { FileNameSeparators = 0, BarOnly = 1 };

// The non-empty tokens between separators, untrimmed, in order.
std::vector<std::wstring> SplitTokens(std::wstring_view text, SeparatorMode mode);

// True when the text is not empty and holds only blanks.
bool IsBlankOnly(std::wstring_view text);

} // namespace engine
