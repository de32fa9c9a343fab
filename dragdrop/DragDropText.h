#pragma once
// The text codecs the single-name formats stand on (one ANSI text, one UTF-16 text, each with its terminating
// null), the conversions between UTF-16 and a code page, and the plain-text-to-RTF encoder.
#include <windows.h>

#include <string>
#include <string_view>

#include "dragdrop/DragDropFormats.h"

namespace dragdrop {

// UTF-16 in a code page (the way back is kit::CodePageToWide); characters the code page lacks become its
// default character.
std::string WideToCodePage(std::wstring_view text, UINT codePage = CP_ACP);

// One ANSI text, read up to its first null and written with a terminating null.
class TCustomAnsiTextClipboardFormat : public TCustomAnsiStringClipboardFormat {
public:
    // The text's length and its null, or only its length when its last byte already is a null.
    size_t DataSize() const override;

protected:
    explicit TCustomAnsiTextClipboardFormat(const TClipboardFormatClass& type)
        : TCustomAnsiStringClipboardFormat(type) {
        SetCutAtNull(true);
    }
};

// One UTF-16 text, read up to its first null and written with a terminating null.
class TCustomUnicodeTextClipboardFormat : public TCustomSimpleClipboardFormat {
public:
    const std::wstring& Text() const { return text_; }
    void SetText(std::wstring text) { text_ = std::move(text); }

    bool ReadData(const BYTE* buffer, size_t size) override;
    bool WriteData(BYTE* buffer, size_t size) const override;
    size_t DataSize() const override;
    void Clear() override { text_.clear(); }
    bool HasData() const override { return !text_.empty(); }

protected:
    explicit TCustomUnicodeTextClipboardFormat(const TClipboardFormatClass& type)
        : TCustomSimpleClipboardFormat(type) {}

private:
    std::wstring text_;
};

// CF_TEXT: one text in the ANSI code page.
class TAnsiTextClipboardFormat : public TCustomAnsiTextClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TAnsiTextClipboardFormat() : TCustomAnsiTextClipboardFormat(Class) {}
};

// CF_UNICODETEXT.
class TUnicodeTextClipboardFormat : public TCustomUnicodeTextClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TUnicodeTextClipboardFormat() : TCustomUnicodeTextClipboardFormat(Class) {}
};

// CF_OEMTEXT: one text in the OEM code page.
class TOEMTextClipboardFormat : public TCustomAnsiTextClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TOEMTextClipboardFormat() : TCustomAnsiTextClipboardFormat(Class) {}
};

// "Rich Text Format": RTF in the ANSI code page.
class TRichTextClipboardFormat : public TCustomAnsiTextClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TRichTextClipboardFormat() : TCustomAnsiTextClipboardFormat(Class) {}
};

// "CSV": lines of comma-separated values.
class TCSVClipboardFormat : public TCustomStringListClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TCSVClipboardFormat() : TCustomStringListClipboardFormat(Class) {}
};

// CF_LOCALE: the locale identifier of the text's ANSI form; 0 is no data.
class TLocaleClipboardFormat : public TCustomDWORDClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TLocaleClipboardFormat() : TCustomDWORDClipboardFormat(Class) {}
    bool HasData() const override { return Value() != 0; }
};

// One text in its Unicode and ANSI forms. Either form may be set or read; the other is made from it on
// demand in the ANSI code page of the locale (its own, else the thread's).
class TTextDataFormat : public TCustomDataFormat {
public:
    static const TDataFormatClass Class;
    explicit TTextDataFormat(TDragDropComponent* owner) : TCustomDataFormat(Class, owner) {}

    const std::wstring& Text();
    void SetText(std::wstring text);
    const std::string& AnsiText();
    void SetAnsiText(std::string text);
    LCID Locale() const { return locale_; }
    void SetLocale(LCID locale);

    bool TakeFromClipboardFormat(TClipboardFormat& format) override;
    bool GiveToClipboardFormat(TClipboardFormat& format) override;
    void Clear() override;
    bool HasData() const override;
    bool NeedsData() const override;

private:
    LCID EffectiveLocale() const { return locale_ ? locale_ : GetThreadLocale(); }
    UINT CodePage() const;

    std::wstring unicode_;
    std::string ansi_;
    bool ansiStale_ = true;     // the ANSI form is to be made from the Unicode form
    bool unicodeStale_ = true;  // the Unicode form is to be made from the ANSI form
    LCID locale_ = 0;
};

// The ANSI code page of a locale; 0 (the system's) when the locale names none.
UINT LocaleCodePage(LCID locale);

// Puts this unit's data-format classes and their clipboard formats into the map.
void RegisterDragDropTextClasses();

// True when the text starts with "{\rtf", in any letter case.
bool IsRTF(std::wstring_view text);
// The text as RTF in the ANSI code page, up to its first null; RTF is passed through (converted).
std::string MakeRTF(std::wstring_view text);

} // namespace dragdrop
