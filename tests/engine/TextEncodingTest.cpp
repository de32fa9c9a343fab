#include <gtest/gtest.h>

#include "tests/engine/TextSearchFixture.h"

using namespace engine;
using namespace textfixture;

// Every occurrence has a byte at 32,767 and one at 32,768, so it is cut by the first chunk's end; `split`
// is where in the text's bytes the cut falls (inside a UTF-8 sequence for the multibyte cases).
TEST(TextEncoding, AnOccurrenceAcrossTheFirstChunkEndIsFoundInEveryEncoding) {
    struct Case { Enc enc; const wchar_t* text; std::size_t split; const wchar_t* item; bool found; };
    const Case cases[] = {
        {Enc::Utf16LE, L" straddle ", 8, L"straddle", true},
        {Enc::Utf16BE, L" straddle ", 8, L"straddle", true},
        {Enc::Utf16BE, L" \u0393\u03b5\u03b9\u03ac ", 4, L"\u0393\u03b5\u03b9\u03ac", true},  // Greek, high bytes set
        {Enc::Utf8, L" straddle ", 5, L"straddle", true},
        {Enc::Utf8, L" Gr\u00fc\u00dfe ", 4, L"Gr\u00fc\u00dfe", true},       // between the bytes of u-umlaut
        {Enc::Utf8, L" 5\u20acuro ", 3, L"5\u20acuro", true},                // after the first byte of the euro sign
        {Enc::Utf8, L" 5\u20acuro ", 4, L"5\u20acuro", true},                // after its second byte
        {Enc::Utf8, L" a\U0001D11Eb ", 4, L"a\U0001D11Eb", true},            // inside a four-byte sequence
        {Enc::Ansi, L" straddle ", 5, L"straddle", true},
        {Enc::Ansi, L" caf\u00e9s ", 4, L"caf\u00e9s", true},
        // Without a mark UTF-16 is read as ANSI text: every other byte is a zero.
        {Enc::Utf16LENoMark, L" straddle ", 8, L"straddle", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << EncName(c.enc) << " split " << c.split);
        TextSearch search;
        const std::string bytes = Straddling(c.enc, c.text, c.split);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(search.Run(bytes, c.item), c.found);
        // The same text in a one-chunk file: the decoding, not the chunking, decides.
        EXPECT_EQ(search.Run(FileBytes(c.enc, c.text), c.item), c.found);
    }
}

// The overlap kept between chunks is counted in decoded units, so even the longest item fits.
TEST(TextEncoding, TheLongestItemIsFoundAcrossTheChunkEnd) {
    std::wstring item(MaxSearchItemLength, L'q');
    item[0] = L'p';
    for (Enc enc : {Enc::Utf16LE, Enc::Utf8}) {
        SCOPED_TRACE(EncName(enc));
        TextSearch search;
        EXPECT_TRUE(search.Run(Straddling(enc, L" " + item + L" ", 2), item));
        EXPECT_FALSE(search.Run(Straddling(enc, L" " + item + L" ", 2), item + L"q"));  // over the limit
    }
}

// Only the file's start and end are word boundaries; a chunk's edge is not, and an occurrence that touches
// it is judged with the neighbours from the other chunk.
TEST(TextEncoding, WholeWordsAtTheChunkEdge) {
    struct Case { const wchar_t* text; std::size_t splitUnit; bool found; };
    const Case cases[] = {
        {L"concatenate ", 3, false},  // "cat" starts the second chunk
        {L"concatenate ", 6, false},  // "cat" ends the first chunk
        {L"concatenate ", 4, false},  // "cat" is cut
        {L" cat ", 1, true},
        {L" cat ", 4, true},
        {L" cat", 4, true},           // the file is exactly one chunk: its end is a boundary
        {L"cat9 ", 3, false},
        {L" (cat) ", 5, true},
    };
    for (Enc enc : {Enc::Ansi, Enc::Utf16LE, Enc::Utf16BE, Enc::Utf8}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << EncName(enc) << " \"" << c.text << "\" cut at " << c.splitUnit);
            const std::size_t split = Encode(enc, std::wstring_view(c.text).substr(0, c.splitUnit)).size();
            TextSearch search;
            EXPECT_EQ(search.Run(Straddling(enc, c.text, split), L"cat"), c.found);
        }
    }
}

TEST(TextEncoding, WordBoundariesAreAsciiLettersAndDigitsOnly) {
    struct Case { const wchar_t* text; bool found; };
    const Case cases[] = {
        {L"concatenate", false}, {L"cat9", false},      {L"9cat", false},       {L"the cat.", true},
        {L"(cat)", true},        {L"cat", true},        {L"_cat_", true},       {L"cat\u00e9", true},
        {L"\u03bacat\u03ba", true}, {L"\u0436cat", true}, {L"CATS", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text);
        TextSearch search;
        EXPECT_EQ(search.Run(FileBytes(Enc::Utf16LE, c.text), L"cat"), c.found);
        search.filter.WholeWords = false;
        EXPECT_TRUE(search.Run(FileBytes(Enc::Utf16LE, c.text), L"cat"));
    }
}

TEST(TextEncoding, CaseFollowsTheSetting) {
    struct Case { const wchar_t* text; const wchar_t* item; bool caseSensitive; bool found; };
    const Case cases[] = {
        {L"a Cat here", L"CAT", false, true},      {L"a Cat here", L"cat", false, true},
        {L"a Cat here", L"cat", true, false},      {L"a Cat here", L"Cat", true, true},
        {L"\u00c9t\u00e9", L"\u00e9T\u00c9", false, true},  // beyond ASCII too
        {L"\u00c9t\u00e9", L"\u00e9T\u00c9", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.item << " in " << c.text << (c.caseSensitive ? " sensitive" : ""));
        TextSearch search;
        search.filter.CaseSensitive = c.caseSensitive;
        EXPECT_EQ(search.Run(FileBytes(Enc::Utf8, c.text), c.item), c.found);
    }
}
