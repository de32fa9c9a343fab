#include "kit/Strings.h"

#include <cstdarg>
#include <vector>

namespace kit {

std::wstring Utf8ToWide(std::string_view utf8) { return CodePageToWide(utf8, CP_UTF8); }

std::wstring CodePageToWide(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) { ++i; continue; }
        int extra;
        unsigned long codePoint;
        if ((lead & 0xE0) == 0xC0) { extra = 1; codePoint = lead & 0x1F; }
        else if ((lead & 0xF0) == 0xE0) { extra = 2; codePoint = lead & 0x0F; }
        else if ((lead & 0xF8) == 0xF0) { extra = 3; codePoint = lead & 0x07; }
        else return false;
        if (i + static_cast<size_t>(extra) >= bytes.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static const unsigned long smallest[] = {0, 0x80, 0x800, 0x10000};
        if (codePoint < smallest[extra] || codePoint > 0x10FFFF) return false;
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

std::wstring Trim(std::wstring_view text) {
    size_t first = 0, last = text.size();
    while (first < last && text[first] <= L' ') ++first;
    while (last > first && text[last - 1] <= L' ') --last;
    return std::wstring(text.substr(first, last - first));
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    if (a.empty()) return true;
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool StartsWithText(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::wstring UpperCase(std::wstring_view text) {
    std::wstring upper(text);
    if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

std::wstring LowerCase(std::wstring_view text) {
    std::wstring lower(text);
    if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}

std::wstring Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = _vscwprintf(format, copy);
    va_end(copy);
    std::wstring text;
    if (length > 0) {
        std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
        _vsnwprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    return text;
}

std::wstring GroupDigits(unsigned long long value, std::wstring_view separator) {
    const std::wstring digits = std::to_wstring(value);
    std::wstring text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += separator;
        text += digits[i];
    }
    return text;
}

std::wstring QuotedString(std::wstring_view text) {
    std::wstring quoted = L"'";
    for (wchar_t c : text) {
        quoted += c;
        if (c == L'\'') quoted += c;
    }
    quoted += L'\'';
    return quoted;
}

std::wstring ExpandEnvironmentText(const std::wstring& text) {
    std::wstring expanded(text.size() + 64, L'\0');
    for (;;) {
        const DWORD needed =
            ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (needed == 0) return text;
        if (needed <= expanded.size()) {
            expanded.resize(expanded.find(L'\0'));
            return expanded;
        }
        expanded.resize(needed);
    }
}

std::wstring IncludeTrailingPathDelimiter(std::wstring_view path) {
    std::wstring result(path);
    if (result.empty() || result.back() != L'\\') result += L'\\';
    return result;
}

std::wstring ExtractFileName(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/:");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring ExtractFilePath(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

std::wstring ExtractFileExt(std::wstring_view path) {
    const size_t dot = path.find_last_of(L".\\/:");
    return dot != std::wstring_view::npos && path[dot] == L'.' ? std::wstring(path.substr(dot)) : std::wstring();
}

} // namespace kit

namespace kit {

std::wstring SystemErrorMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : Format(L"System error %lu", error);
    if (buffer) LocalFree(buffer);
    return Trim(text);
}

} // namespace kit
