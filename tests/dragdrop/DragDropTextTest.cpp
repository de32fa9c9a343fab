#include <gtest/gtest.h>

#include <string>

#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropText.h"
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rtf);
        EXPECT_EQ(MakeRTF(c.text), c.rtf);
    }
}
