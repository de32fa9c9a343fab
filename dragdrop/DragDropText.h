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

// True when the text starts with "{\rtf", in any letter case.
bool IsRTF(std::wstring_view text);
// The text as RTF in the ANSI code page, up to its first null; RTF is passed through (converted).
std::string MakeRTF(std::wstring_view text);

} // namespace dragdrop
