// The ways a file's text is searched (its own bytes, its UTF-16 units, the decoder's text) and the chunk
// edges where one chunk goes another way than the one before it.
#include <gtest/gtest.h>

#include "engine/TextScanner.h"
#include "tests/engine/TextSearchFixture.h"

#include <windows.h>

#include <string>
#include <vector>

using namespace engine;
using namespace textfixture;

namespace {

const std::string Utf8Mark = "\xEF\xBB\xBF";

// The decoder's text for `bytes`, read as chunks of the given sizes (the last one ends the file).
std::wstring Decoded(TTextEncoding encoding, const std::string& bytes, std::vector<std::size_t> chunks) {
    TChunkDecoder decoder(1252);
    decoder.Start(encoding);
    std::vector<std::uint8_t> buffer(TChunkDecoder::MaxCarry + TChunkDecoder::ChunkSize + TChunkDecoder::Slack);
    std::vector<wchar_t> units(TChunkDecoder::MaxUnits + TChunkDecoder::Slack);
    std::wstring text;
    std::size_t at = 0;
    for (std::size_t n = 0; n < chunks.size(); ++n) {
        std::uint8_t* chunk = buffer.data() + TChunkDecoder::MaxCarry;
        std::copy(bytes.begin() + at, bytes.begin() + at + chunks[n], chunk);
        at += chunks[n];
        text.append(units.data(), decoder.Decode(chunk, chunks[n], n + 1 == chunks.size(), units.data()));
    }
    return text;
}

} // namespace

TEST(TextSearchRoutes, TheBytesAreSearchedWhereDecodingKeepsAscii) {
    struct Case { UINT codePage; TTextEncoding encoding; bool keeps; };
    const Case cases[] = {
        {1252, TTextEncoding::Ansi, true},     {1254, TTextEncoding::Ansi, true},
        {CP_UTF8, TTextEncoding::Ansi, true},  {1252, TTextEncoding::Utf8, true},
        {932, TTextEncoding::Utf8, true},      {932, TTextEncoding::Ansi, false},  // a trail byte can be "a"
        {936, TTextEncoding::Ansi, false},     {1252, TTextEncoding::Utf16LE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code page " << c.codePage << " encoding " << int(c.encoding));
        TChunkDecoder decoder(c.codePage);
        decoder.Start(c.encoding);
        EXPECT_EQ(decoder.KeepsAsciiBytes(), c.keeps);
    }
}

// Wine's UTF-8 decoder gives a sequence cut by the end of its input one U+FFFD together with the ASCII after
// it; the decoder keeps that ASCII, as Windows does, wherever the chunks end.
TEST(TextSearchRoutes, AsciiAfterACutSequenceIsKept) {
    struct Case { const char* bytes; std::vector<std::size_t> chunks; const wchar_t* text; };
    const Case cases[] = {
        {"x\xF0" "AB", {4}, L"x\uFFFDAB"},
        {"\xE2" "A", {2}, L"\uFFFDA"},
        {"ab\xF0\x9F" "A", {5}, L"ab\uFFFDA"},
        {"x\xF0" "AB" "cd", {4, 2}, L"x\uFFFDABcd"},     // at a chunk's end
        {"x\xF0\x9F" "A", {3, 1}, L"x\uFFFDA"},          // the cut sequence waits for the next chunk
        {"x\xE2\x82\xAC" "A", {3, 2}, L"x\u20acA"},      // a whole character across the chunks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string bytes = c.bytes;
        EXPECT_EQ(Decoded(TTextEncoding::Utf8, bytes, c.chunks), c.text);
    }
}

TEST(TextSearchRoutes, AnItemAfterACutSequenceIsFoundInTheDecodedText) {
    struct Case { std::string bytes; const wchar_t* words; bool found; };
    const Case cases[] = {
        // The item beyond ASCII sends the file through the decoder.
        {Utf8Mark + "x \xF0" "AB", L"AB \u00fc", true},
        {Utf8Mark + "x \xF0" "AB", L"\u00fc", false},
        // The chunk ends in "F0 41 42"; the next one begins with u-umlaut.
        {Utf8Mark + std::string(32768 - 3 - 3, ' ') + "\xF0" "AB\xC3\xBC ", L"AB\u00fc", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.words << " in " << c.bytes.size() << " bytes");
        TextSearch search;
        search.filter.WholeWords = false;
        EXPECT_EQ(search.Run(c.bytes, c.words), c.found);
    }
}

// A chunk of ASCII alone is searched as bytes also without case; one with other text goes through the
// decoder and the system's upper-casing. The overlap carried across the edge keeps its neighbours either way.
TEST(TextSearchRoutes, ChunksOfAsciiAndOtherTextMeetAtTheEdge) {
    struct Case { Enc enc; const wchar_t* text; std::size_t splitUnit; bool found; };
    const Case cases[] = {
        {Enc::Ansi, L"\u00e9cat ", 1, true},   // the first chunk ends in e-acute, the second is ASCII
        {Enc::Ansi, L"\u00e9xcat ", 2, false},
        {Enc::Ansi, L"cat\u00e9 ", 2, true},   // the first chunk is ASCII, the second is not
        {Enc::Ansi, L"cat\u00e9x", 2, true},
        {Enc::Ansi, L"cats\u00e9", 2, false},
        {Enc::Utf8, L"\u00e9cat ", 1, true},
        {Enc::Utf8, L"\u00e9xcat ", 2, false},
        {Enc::Utf8, L"ca\u00e9 cat", 3, true},
        {Enc::Utf16LE, L"\u00e9cat ", 1, true},
        {Enc::Utf16BE, L"cat\u00e9 ", 2, true},
    };
    for (bool caseSensitive : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << EncName(c.enc) << " \"" << c.text << "\" cut at " << c.splitUnit
                                            << (caseSensitive ? " case-sensitive" : ""));
            const std::size_t split = Encode(c.enc, std::wstring_view(c.text).substr(0, c.splitUnit)).size();
            TextSearch search;
            search.filter.CaseSensitive = caseSensitive;
            EXPECT_EQ(search.Run(Straddling(c.enc, c.text, split), L"cat"), c.found);
        }
    }
}

// The first chunk ends in a cut sequence ("c", then E2 82) and the second, "at", is ASCII: the decoder's
// U+FFFD stands between "c" and "at" whichever way the second chunk goes.
TEST(TextSearchRoutes, ACutSequenceAtTheEdgeStaysBetweenItsNeighbours) {
    const std::string bytes = Utf8Mark + std::string(32768 - 3 - 3, ' ') + "c\xE2\x82" "at ";
    for (bool caseSensitive : {false, true}) {
        SCOPED_TRACE(caseSensitive ? "case-sensitive" : "case-insensitive");
        TextSearch search;
        search.filter.CaseSensitive = caseSensitive;
        EXPECT_FALSE(search.Run(bytes, L"cat"));
        EXPECT_TRUE(search.Run(bytes, L"at"));
        search.filter.WholeWords = false;
        EXPECT_FALSE(search.Run(bytes, L"cat"));
    }
}

// In a double-byte code page a lead byte takes the next byte with it, even an ASCII letter: such files are
// searched in the decoder's text.
TEST(TextSearchRoutes, AsciiItemsInADoubleByteCodePage) {
    testsupport::TempFolder folder;
    testsupport::WriteBytes(folder / L"f.txt", "\x82" "cat.");
    struct Case { UINT codePage; const wchar_t* item; bool found; };
    const Case cases[] = {{932, L"cat", false}, {932, L"at", true}, {1252, L"cat", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.item << " in code page " << c.codePage);
        TTextScanner scanner(c.codePage);
        const std::vector<TSearchItem> items{TSearchItem(c.item, false)};
        EXPECT_EQ(scanner.Contains(folder / L"f.txt", items, mtMatchAny, false, false), c.found);
    }
}
