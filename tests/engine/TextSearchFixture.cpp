#include "tests/engine/TextSearchFixture.h"

#include <windows.h>

namespace textfixture {

const char* EncName(Enc e) {
    switch (e) {
    case Enc::Utf16LE: return "UTF-16LE";
    case Enc::Utf16BE: return "UTF-16BE";
    case Enc::Utf8: return "UTF-8";
    case Enc::Ansi: return "ANSI";
    case Enc::Utf16LENoMark: return "UTF-16LE without mark";
    }
    return "?";
}

std::string Encode(Enc e, std::wstring_view text) {
    std::string bytes;
    switch (e) {
    case Enc::Utf16LE:
    case Enc::Utf16LENoMark:
    case Enc::Utf16BE:
        for (wchar_t c : text) {
            const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
            bytes += e == Enc::Utf16BE ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    case Enc::Utf8:
    case Enc::Ansi: {
        const UINT cp = e == Enc::Utf8 ? CP_UTF8 : CP_ACP;
        const int size = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                             nullptr);
        bytes.resize(size);
        WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
        return bytes;
    }
    }
    return bytes;
}

namespace {
std::string Mark(Enc e) {
    switch (e) {
    case Enc::Utf16LE: return "\xFF\xFE";
    case Enc::Utf16BE: return "\xFE\xFF";
    case Enc::Utf8: return "\xEF\xBB\xBF";
    default: return "";
    }
}
} // namespace

std::string FileBytes(Enc e, std::wstring_view text) { return Mark(e) + Encode(e, text); }

std::string Straddling(Enc e, std::wstring_view text, std::size_t split) {
    const std::string mark = Mark(e);
    const std::size_t blankSize = Encode(e, L" ").size();
    const std::size_t fill = 32768 - mark.size() - split;
    std::string bytes = mark + Encode(e, std::wstring(fill / blankSize, L' ')) + Encode(e, text);
    if (fill % blankSize != 0) bytes.clear();  // not placeable: the test then fails visibly
    return bytes;
}

bool TextSearch::Run(const std::string& bytes, const std::wstring& value) {
    testsupport::WriteBytes(folder / L"f.txt", bytes);
    filter.TextMask.Value = value;
    return filter.Matches(folder.Path(), L"f.txt", {engine::saArchive});
}

} // namespace textfixture
