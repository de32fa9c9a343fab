#include "dragdrop/DragDropText.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "kit/Strings.h"

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

// --- The text formats

const TClipboardFormatClass TAnsiTextClipboardFormat::Class{L"TAnsiTextClipboardFormat", nullptr, CF_TEXT,
                                                            &CreateClipboardFormat<TAnsiTextClipboardFormat>};
const TClipboardFormatClass TUnicodeTextClipboardFormat::Class{
    L"TUnicodeTextClipboardFormat", nullptr, CF_UNICODETEXT, &CreateClipboardFormat<TUnicodeTextClipboardFormat>};
const TClipboardFormatClass TOEMTextClipboardFormat::Class{L"TOEMTextClipboardFormat", nullptr, CF_OEMTEXT,
                                                           &CreateClipboardFormat<TOEMTextClipboardFormat>};
const TClipboardFormatClass TRichTextClipboardFormat::Class{
    L"TRichTextClipboardFormat", L"Rich Text Format", 0, &CreateClipboardFormat<TRichTextClipboardFormat>};
const TClipboardFormatClass TCSVClipboardFormat::Class{L"TCSVClipboardFormat", L"CSV", 0,
                                                       &CreateClipboardFormat<TCSVClipboardFormat>};
const TClipboardFormatClass TLocaleClipboardFormat::Class{L"TLocaleClipboardFormat", nullptr, CF_LOCALE,
                                                          &CreateClipboardFormat<TLocaleClipboardFormat>};

UINT LocaleCodePage(LCID locale) {
    wchar_t digits[7] = L"";
    if (!GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE, digits, 7)) return 0;
    wchar_t* end = nullptr;
    const unsigned long codePage = std::wcstoul(digits, &end, 10);
    return end != digits && *end == L'\0' ? static_cast<UINT>(codePage) : 0;
}

namespace {

void RegisterTextFormats() {
    const TDataFormatClass& text = TTextDataFormat::Class;
    // Tried as Unicode, rich text, OEM, locale, ANSI: equal priorities go newest first.
    RegisterClipboardFormatClass(text, TAnsiTextClipboardFormat::Class, 0, ddReadWrite);
    RegisterClipboardFormatClass(text, TLocaleClipboardFormat::Class, 0, ddReadWrite);
    RegisterClipboardFormatClass(text, TUnicodeTextClipboardFormat::Class, -1, ddReadWrite);
    RegisterClipboardFormatClass(text, TOEMTextClipboardFormat::Class, 0, ddReadWrite);
    RegisterClipboardFormatClass(text, TRichTextClipboardFormat::Class, 0, ddReadWrite);
}

} // namespace

const TDataFormatClass TTextDataFormat::Class{L"TTextDataFormat", nullptr, &RegisterTextFormats};

UINT TTextDataFormat::CodePage() const { return LocaleCodePage(EffectiveLocale()); }

const std::wstring& TTextDataFormat::Text() {
    if (unicodeStale_ && !ansiStale_) {
        unicode_ = kit::CodePageToWide(ansi_, CodePage());
        unicodeStale_ = false;
    }
    return unicode_;
}

void TTextDataFormat::SetText(std::wstring text) {
    Changing();
    unicode_ = std::move(text);
    unicodeStale_ = false;
    ansiStale_ = true;
}

const std::string& TTextDataFormat::AnsiText() {
    if (ansiStale_ && !unicodeStale_) {
        ansi_ = WideToCodePage(unicode_, CodePage());
        ansiStale_ = false;
    }
    return ansi_;
}

void TTextDataFormat::SetAnsiText(std::string text) {
    Changing();
    ansi_ = std::move(text);
    ansiStale_ = false;
    unicodeStale_ = true;
}

void TTextDataFormat::SetLocale(LCID locale) {
    Changing();
    locale_ = locale;
}

bool TTextDataFormat::TakeFromClipboardFormat(TClipboardFormat& format) {
    if (auto* unicode = dynamic_cast<TUnicodeTextClipboardFormat*>(&format)) {
        unicode_ = unicode->Text();
        unicodeStale_ = false;
        ansiStale_ = ansiStale_ || (!unicode_.empty() && ansi_.empty());
    } else if (dynamic_cast<TAnsiTextClipboardFormat*>(&format)) {
        ansi_ = static_cast<TAnsiTextClipboardFormat&>(format).Data();
        ansiStale_ = false;
        unicodeStale_ = unicodeStale_ || (!ansi_.empty() && unicode_.empty());
    } else if (auto* locale = dynamic_cast<TLocaleClipboardFormat*>(&format)) {
        locale_ = locale->Value();
    } else {
        return TCustomDataFormat::TakeFromClipboardFormat(format);
    }
    return true;
}

bool TTextDataFormat::GiveToClipboardFormat(TClipboardFormat& format) {
    if (auto* unicode = dynamic_cast<TUnicodeTextClipboardFormat*>(&format)) {
        unicode->SetText(Text());
    } else if (auto* rich = dynamic_cast<TRichTextClipboardFormat*>(&format)) {
        rich->SetDataBytes(MakeRTF(Text()));
    } else if (auto* oem = dynamic_cast<TOEMTextClipboardFormat*>(&format)) {
        // Through the OEM code page itself: a double-byte OEM page needs more bytes than characters.
        oem->SetDataBytes(HasData() ? WideToCodePage(Text(), CP_OEMCP) : std::string());
    } else if (auto* ansi = dynamic_cast<TAnsiTextClipboardFormat*>(&format)) {
        ansi->SetDataBytes(AnsiText());
    } else if (auto* locale = dynamic_cast<TLocaleClipboardFormat*>(&format)) {
        locale->SetValue(EffectiveLocale());
    } else {
        return TCustomDataFormat::GiveToClipboardFormat(format);
    }
    return true;
}

void TTextDataFormat::Clear() {
    Changing();
    unicode_.clear();
    ansi_.clear();
    ansiStale_ = true;
    unicodeStale_ = true;
}

bool TTextDataFormat::HasData() const {
    return (!ansiStale_ && !ansi_.empty()) || (!unicodeStale_ && !unicode_.empty());
}

bool TTextDataFormat::NeedsData() const {
    return (ansiStale_ && ansi_.empty()) || (unicodeStale_ && unicode_.empty());
}

void RegisterDragDropTextClasses() { RegisterDataFormatClass(TTextDataFormat::Class); }

// --- RTF

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
