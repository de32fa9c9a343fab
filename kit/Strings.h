#pragma once
// Text helpers: UTF-8/UTF-16 conversion, code pages, trimming and case-insensitive comparison.
#include <windows.h>
#include <string>
#include <string_view>

namespace kit {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
std::wstring CodePageToWide(std::string_view bytes, UINT codePage);
// True when the bytes are well-formed UTF-8 (overlong forms and surrogates rejected).
bool IsValidUtf8(std::string_view bytes);

// Strips blanks and control characters (everything up to U+0020) from both ends.
std::wstring Trim(std::wstring_view text);
// Ordinal comparison without regard to letter case, as Windows compares file and key names.
bool SameText(std::wstring_view a, std::wstring_view b);
// True when `text` begins with `prefix`, compared as SameText compares; copies nothing.
bool StartsWithText(std::wstring_view text, std::wstring_view prefix);
std::wstring UpperCase(std::wstring_view text);
std::wstring LowerCase(std::wstring_view text);

// printf-style formatting into a wide string.
std::wstring Format(const wchar_t* format, ...);

// Decimal digits with `separator` between groups of three ("1,234,567").
std::wstring GroupDigits(unsigned long long value, std::wstring_view separator);

// Quotes a text in single quotes, doubling embedded single quotes.
std::wstring QuotedString(std::wstring_view text);

// The text with its %NAME% references expanded; unchanged when the expansion fails.
std::wstring ExpandEnvironmentText(const std::wstring& text);

// Ensures a trailing backslash.
std::wstring IncludeTrailingPathDelimiter(std::wstring_view path);
std::wstring ExtractFileName(std::wstring_view path);
std::wstring ExtractFilePath(std::wstring_view path);
// The file name's extension from its last dot on (".txt"); empty when the name has no dot.
std::wstring ExtractFileExt(std::wstring_view path);

} // namespace kit

namespace kit {
// The system's text for a Win32 error code, without the trailing line break.
std::wstring SystemErrorMessage(DWORD error);
}
