#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropText.h"
#include "kit/Strings.h"
#include "tests/dragdrop/DragDropFixture.h"

using namespace dragdrop;
using ddtest::Bytes;

TEST(DragDropText, UnicodeTextEndsAtItsFirstNull) {
    TUnicodeFilenameClipboardFormat text;
    const std::string block = Bytes("a\0b\0\0\0x\0\0");  // an odd byte at the end is no character
    ASSERT_TRUE(text.ReadData(reinterpret_cast<const BYTE*>(block.data()), block.size()));
    EXPECT_EQ(text.Text(), L"ab");
    EXPECT_EQ(text.DataSize(), 6u);
    std::string out(8, '\0');
    EXPECT_FALSE(text.WriteData(reinterpret_cast<BYTE*>(out.data()), 8)) << "more than the text and its null";
    ASSERT_TRUE(text.WriteData(reinterpret_cast<BYTE*>(out.data()), 6));
    EXPECT_EQ(out.substr(0, 6), Bytes("a\0b\0\0\0"));
    text.SetText(std::wstring(L"ab\0", 3));
    EXPECT_EQ(text.DataSize(), 6u) << "a text that ends in a null gets no second one";
    text.Clear();
    EXPECT_EQ(text.DataSize(), 0u);
}

TEST(DragDropText, AnsiTextEndsAtItsFirstNull) {
    TAnsiFilenameClipboardFormat text;
    const std::string block = Bytes("abcde\0junk");
    ASSERT_TRUE(text.ReadData(reinterpret_cast<const BYTE*>(block.data()), block.size()));
    EXPECT_EQ(text.Data(), "abcde");
    EXPECT_EQ(text.DataSize(), 6u);
    std::string out(6, 'x');
    ASSERT_TRUE(text.WriteData(reinterpret_cast<BYTE*>(out.data()), 6));
    EXPECT_EQ(out, Bytes("abcde\0"));
    text.SetDataBytes(Bytes("ab\0"));
    EXPECT_EQ(text.DataSize(), 3u);
}

TEST(DragDropText, RtfEncoding) {
    const std::string header = "{\\rtf1\\ansi {\\*\\generator Quillomere}";
    struct Case {
        std::wstring text;
        std::string rtf;
    };
    const Case cases[] = {
        {L"a{b}", header + "a\\{b\\}}"},
        {L"back\\slash", header + "back\\\\slash}"},
        {L"\r\n", header + "\\par \\'0a}"},
        {L"\tx\x7F", header + "\\tab x\\'7f}"},
        {L"\u00E9", header + "\\u233\xE9}"},
        {L"\uFF10", header + "\\u-240?}"},
        // The replacement byte is never a blank, a digit or an RTF control character.
        {L"\u0120", header + "\\u288?}"},
        {L"\u0131", header + "\\u305?}"},
        {L"\u015C", header + "\\u348?}"},
        {L"\u017B\u017D", header + "\\u379?\\u381?}"},
        {std::wstring(L"ab\0cd", 5), header + "ab}"},
        {L"", header + "}"},
        {L"{\\RTF1 x}", "{\\RTF1 x}"},
        // Only a text that starts as RTF passes: anywhere else the mark is escaped like any text.
        {L"x{\\rtf1\\par}", header + "x\\{\\\\rtf1\\\\par\\}}"},
        {L" {\\rtf1}", header + " \\{\\\\rtf1\\}}"},
        // A character outside the basic plane: two \u words, each with its replacement.
        {L"\U0001F600", header + "\\u-10179=\\u-8704?}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rtf);
        EXPECT_EQ(MakeRTF(c.text), c.rtf);
    }
}

namespace {

// What a target's text data format reads from an object that offers only these of the source's formats.
struct ReadText {
    std::wstring text;
    std::string ansi;
    LCID locale;
};
ReadText ReadThrough(TDropFileSource& source, std::initializer_list<CLIPFORMAT> formats) {
    auto offered = ddtest::TestDataObject::Create();
    for (CLIPFORMAT format : formats) {
        HRESULT hr = E_FAIL;
        const std::string bytes = ddtest::DataBytes(&source, format, &hr);
        EXPECT_EQ(hr, S_OK) << ClipboardFormatName(format);
        offered->Offer(format, bytes, TYMED_HGLOBAL);
    }
    TDropFileTarget target;
    TTextDataFormat text(&target);
    DWORD effect = DROPEFFECT_COPY;
    target.DragEnter(offered.get(), MK_LBUTTON, POINTL{}, &effect);
    ReadText read;
    target.OnDrop = [&](TCustomDropTarget&, TShiftState, POINT, DWORD&) {
        read = ReadText{text.Text(), text.AnsiText(), text.Locale()};
    };
    effect = DROPEFFECT_COPY;
    target.Drop(offered.get(), 0, POINTL{}, &effect);
    return read;
}

// The bytes of a format's medium as its own clipboard format reads them.
template <typename Format>
std::unique_ptr<Format> ReadFormat(IDataObject* source) {
    auto format = std::make_unique<Format>();
    EXPECT_TRUE(format->GetData(source));
    return format;
}

} // namespace

TEST(DragDropText, TextRoundTripsThroughEachFormat) {
    const std::wstring text = L"Gr\u00FC\u00DFe, \u00E9t\u00E9";  // in the ANSI and the OEM code pages alike
    const UINT ansiPage = LocaleCodePage(GetThreadLocale());
    TDropFileSource source;
    TTextDataFormat sourceText(&source);
    sourceText.SetText(text);
    const CLIPFORMAT rtf = ddtest::Registered(L"Rich Text Format");
    EXPECT_EQ(ddtest::EnumeratedFormats(&source),
              (std::vector<CLIPFORMAT>{CF_UNICODETEXT, rtf, CF_OEMTEXT, CF_LOCALE, CF_TEXT}));

    const ReadText unicode = ReadThrough(source, {CF_UNICODETEXT});
    EXPECT_EQ(unicode.text, text);
    EXPECT_EQ(unicode.ansi, WideToCodePage(text, ansiPage)) << "the ANSI form made on demand";

    const ReadText ansi = ReadThrough(source, {CF_TEXT});
    EXPECT_EQ(ansi.ansi, WideToCodePage(text, ansiPage));
    EXPECT_EQ(ansi.text, text) << "the Unicode form made on demand";

    const ReadText both = ReadThrough(source, {CF_UNICODETEXT, CF_TEXT});
    EXPECT_EQ(both.text, text);
    EXPECT_EQ(both.ansi, WideToCodePage(text, ansiPage));

    const std::string oem = ReadFormat<TOEMTextClipboardFormat>(&source)->Data();
    EXPECT_EQ(kit::CodePageToWide(oem, CP_OEMCP), text);
    EXPECT_EQ(ReadFormat<TRichTextClipboardFormat>(&source)->Data(), MakeRTF(text));
    EXPECT_EQ(ReadFormat<TLocaleClipboardFormat>(&source)->Value(), GetThreadLocale());
}

TEST(DragDropText, TheLocaleChoosesTheAnsiCodePage) {
    const std::wstring russian = L"\u041F\u0440\u0438\u0432\u0435\u0442";
    const LCID russia = MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT);
    ASSERT_EQ(LocaleCodePage(russia), 1251u);
    TDropFileSource source;
    TTextDataFormat sourceText(&source);
    sourceText.SetLocale(russia);
    sourceText.SetText(russian);
    EXPECT_EQ(ddtest::DataBytes(&source, CF_TEXT).substr(0, 7), "\xCF\xF0\xE8\xE2\xE5\xF2" + Bytes("\0"));

    const ReadText withLocale = ReadThrough(source, {CF_TEXT, CF_LOCALE});
    EXPECT_EQ(withLocale.locale, russia);
    EXPECT_EQ(withLocale.text, russian);
    if (LocaleCodePage(GetThreadLocale()) != 1251) {
        EXPECT_NE(ReadThrough(source, {CF_TEXT}).text, russian) << "without it, the thread's code page";
    }
}

TEST(DragDropText, TextDataFormatForms) {
    TTextDataFormat text(nullptr);
    text.UseSide(TFormatSide::Target);
    EXPECT_FALSE(text.HasData());
    EXPECT_TRUE(text.NeedsData());
    text.SetAnsiText("plain");
    EXPECT_TRUE(text.HasData());
    EXPECT_EQ(text.Text(), L"plain");
    text.SetText(L"other");
    EXPECT_EQ(text.AnsiText(), "other") << "a new Unicode text makes the ANSI form again";
    text.Clear();
    EXPECT_FALSE(text.HasData());
    EXPECT_EQ(text.Text(), L"");

    TOEMTextClipboardFormat oem;
    EXPECT_FALSE(text.GiveToClipboardFormat(oem) && oem.HasData()) << "no text, no OEM form";
}

TEST(DragDropText, CsvLinesRoundTripThroughAMedium) {
    TCSVClipboardFormat csv;
    csv.Lines() = {"name,size", "\"a, b\",12", ""};
    TStgMediumOwner medium;
    ASSERT_TRUE(csv.RenderMedium(csv.FormatEtc(), *medium.put()));
    EXPECT_EQ(ddtest::BytesOfMedium(medium.get()), Bytes("name,size\r\n\"a, b\",12\r\n\r\n\0"));
    TCSVClipboardFormat read;
    ASSERT_TRUE(read.GetDataFromMedium(nullptr, medium.get()));
    EXPECT_EQ(read.Lines(), (std::vector<std::string>{"name,size", "\"a, b\",12", ""}));
}
