#include "dragdrop/DragDropText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace dragdrop {

std::string WideToCodePage(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

size_t TCustomAnsiTextClipboardFormat::DataSize() const {
    const std::string& text = Data();
    if (text.empty()) return 0;
    return text.back() == '\0' ? text.size() : text.size() + 1;
}

bool TCustomUnicodeTextClipboardFormat::ReadData(const BYTE* buffer, size_t size) {
    text_.assign(size / sizeof(wchar_t), L'\0');
    std::memcpy(text_.data(), buffer, text_.size() * sizeof(wchar_t));  // the block need not be aligned
    text_.resize(std::wcslen(text_.c_str()));  // a name ends at its first null, whatever follows
    return true;
}

bool TCustomUnicodeTextClipboardFormat::WriteData(BYTE* buffer, size_t size) const {
    if (size > (text_.size() + 1) * sizeof(wchar_t)) return false;
    std::memcpy(buffer, text_.c_str(), size);
    return true;
}

size_t TCustomUnicodeTextClipboardFormat::DataSize() const {
    if (text_.empty()) return 0;
    return (text_.back() == L'\0' ? text_.size() : text_.size() + 1) * sizeof(wchar_t);
}

bool IsRTF(std::wstring_view text) {
    static constexpr std::wstring_view mark = L"{\\rtf";
    if (text.size() < mark.size()) return false;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.data(), static_cast<int>(mark.size()),
                          mark.data(), static_cast<int>(mark.size())) == CSTR_EQUAL;
}

std::string MakeRTF(std::wstring_view text) {
    text = text.substr(0, std::min(text.size(), text.find(L'\0')));
    if (IsRTF(text)) return WideToCodePage(text);
    std::string rtf = "{\\rtf1\\ansi {\\*\\generator Quillomere}";
    for (const wchar_t c : text) {
        if (c > 127) {
            // A reader without Unicode shows the replacement byte; a blank, a digit (it would extend the
            // number) or an RTF control character would change the text, so those become "?".
            const unsigned char low = static_cast<unsigned char>(c & 0xFF);
            const bool usable = low > ' ' && !(low >= '0' && low <= '9') && low != '\\' && low != '{' && low != '}';
            rtf += "\\u" + std::to_string(static_cast<short>(c));
            rtf += usable ? static_cast<char>(low) : '?';
        } else if (c == L'\t') {
            rtf += "\\tab ";
        } else if (c == L'\r') {
            rtf += "\\par ";
        } else if (c == L'\\' || c == L'{' || c == L'}') {
            rtf += '\\';
            rtf += static_cast<char>(c);
        } else if (c >= 32 && c <= 126) {
            rtf += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\'%.2x", static_cast<unsigned>(c));
            rtf += escape;
        }
    }
    return rtf + "}";
}

} // namespace dragdrop
