#include "results/ExportEscaping.h"

#include "kit/Strings.h"

namespace results {
namespace {

template <typename NeedsReference>
std::wstring ReplaceByReferences(std::wstring_view text, NeedsReference needsReference) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (needsReference(c))
            out += L"&#" + std::to_wstring(static_cast<unsigned>(c)) + L";";
        else
            out += c;
    }
    return out;
}

bool StaysLiteralInUrl(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    switch (c) {
    case '-': case '.': case '_': case '~': case '/': case ':': case '!': case '$': case '&': case '\'':
    case '(': case ')': case '*': case '+': case ',': case ';': case '=': case '@':
        return true;
    default:
        return false;
    }
}

} // namespace

std::wstring HtmlEscape(std::wstring_view text) {
    // One pass gives what replacing each character in turn, ampersand first, gives.
    return ReplaceByReferences(text, [](wchar_t c) {
        return c == L'&' || c == L'"' || c == L'<' || c == L'>' || c == 0x00C0;
    });
}

std::wstring XmlEscape(std::wstring_view text) {
    return ReplaceByReferences(text, [](wchar_t c) {
        return c == L'&' || c == L'"' || c == L'\'' || c == L'<' || c == L'>' || (c >= 0x00A0 && c <= 0x00FF);
    });
}

std::wstring FileUrl(std::wstring_view path) {
    std::string bytes = kit::WideToUtf8(path);
    for (char& c : bytes)
        if (c == '\\') c = '/';
    std::wstring url = bytes.rfind("//", 0) == 0 ? L"file:" : L"file:///";
    static constexpr char hex[] = "0123456789ABCDEF";
    for (char c : bytes) {
        if (StaysLiteralInUrl(c)) {
            url += static_cast<wchar_t>(c);
        } else {
            const auto b = static_cast<unsigned char>(c);
            url += L'%';
            url += static_cast<wchar_t>(hex[b >> 4]);
            url += static_cast<wchar_t>(hex[b & 15]);
        }
    }
    return url;
}

} // namespace results
