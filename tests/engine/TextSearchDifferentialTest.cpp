// The contained-text search against the reference (the plain Horspool search it replaced) on random files:
// every encoding, text beyond ASCII, items across the 32 KB chunk edges, every mode, every instruction set.
// A failure names the seed and the case; KVR_TEXT_SEED=<seed> and KVR_TEXT_CASES=<n> run other cases.
#include <gtest/gtest.h>

#include "engine/FileTypesGroups.h"
#include "engine/FilterText.h"
#include "engine/TextScanner.h"
#include "tests/engine/ReferenceTextScanner.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace engine;

namespace {

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    std::uint32_t Next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : Next() % n; }
    bool Chance(unsigned percent) { return Next() % 100 < percent; }
    template <class T>
    const T& Pick(const std::vector<T>& from) { return from[Below(from.size())]; }

private:
    std::uint64_t state_;
};

std::uint64_t FromEnvironment(const char* name, std::uint64_t otherwise) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtoull(value, nullptr, 10) : otherwise;
}

// Pieces of text that make near misses, case variants, word edges, and letters whose upper case the system
// maps oddly (dotless i, long s) or not at all.
const std::vector<std::wstring> Fragments = {
    L"cat", L"Cat", L"CAT", L"concatenate", L"cats", L"9cat", L"the ", L" ", L"  ", L".", L"(", L")", L"_",
    L"-", L"9", L"0", L"\r\n", L"\n", L"\r", L"\t", L"a", L"b", L"A", L"ab", L"ba", L"aab", L"x", L"s", L"S",
    L"i", L"I", L"straddle", L"Zephyr", L"zephyr", L"caf\u00e9", L"CAF\u00c9", L"\u00e9", L"\u00c9", L"\u00df",
    L"\u00ff", L"\u00b5", L"\u0131", L"\u017f", L"\u0130", L"\u03ba\u03b1\u03c4", L"\u03a3", L"\u0436",
    L"\u0416", L"\u4e2d\u6587", L"\U0001D11E", L"\ufffd", L"\ufeff", L"\u00a0", L"\u20ac", L"|",
    std::wstring(1, L'\0'), std::wstring(1, static_cast<wchar_t>(0xD800))};  // and a lone surrogate

const std::vector<std::wstring> Words = {L"cat", L"CAT", L"concatenate", L"a", L"ab", L"9", L"straddle",
                                         L"zephyr", L"Zephyr", L"caf\u00e9", L"\u00c9T\u00c9", L"\u0131",
                                         L"\u017fs", L"\u03ba\u03b1\u03c4", L"\u0436", L"\u4e2d", L"\U0001D11Ex",
                                         L"i", L"SS", L"_cat_", L"(cat)"};

enum class Form { Ansi, AnsiRawBytes, Utf8, Utf8RawBytes, Utf16LE, Utf16BE, Utf16NoMark };
const char* FormName(Form form) {
    switch (form) {
    case Form::Ansi: return "ANSI";
    case Form::AnsiRawBytes: return "ANSI random bytes";
    case Form::Utf8: return "UTF-8";
    case Form::Utf8RawBytes: return "UTF-8 mark, random bytes";
    case Form::Utf16LE: return "UTF-16LE";
    case Form::Utf16BE: return "UTF-16BE";
    case Form::Utf16NoMark: return "UTF-16LE without mark";
    }
    return "?";
}

std::string Encoded(std::wstring_view text, Form form, UINT codePage) {
    std::string bytes;
    if (form == Form::Utf16LE || form == Form::Utf16BE || form == Form::Utf16NoMark) {
        for (wchar_t c : text) {
            const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
            bytes += form == Form::Utf16BE ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    }
    const UINT cp = form == Form::Utf8 ? CP_UTF8 : codePage;
    const int size = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    bytes.resize(size > 0 ? size : 0);
    if (size > 0)
        WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::string Mark(Form form) {
    switch (form) {
    case Form::Utf8:
    case Form::Utf8RawBytes: return "\xEF\xBB\xBF";
    case Form::Utf16LE: return "\xFF\xFE";
    case Form::Utf16BE: return "\xFE\xFF";
    default: return "";
    }
}

// One random file and search text.
struct Case {
    UINT codePage = CP_ACP;  // of the files without a mark
    Form form = Form::Ansi;
    std::string bytes;
    std::wstring value;  // the search text as typed
    TTextMaskType type = tmWordsText;

    std::string Describe() const {
        std::ostringstream text;
        text << FormName(form) << ", code page " << codePage << ", " << bytes.size() << " bytes, "
             << (type == tmWordsText ? "words" : "phrases") << " \"";
        for (wchar_t c : value) {
            if (c >= 0x20 && c < 0x7F)
                text << static_cast<char>(c);
            else
                text << "\\u" << std::hex << static_cast<unsigned>(c) << std::dec;
        }
        text << "\"";
        return text.str();
    }
};

class CaseMaker {
public:
    explicit CaseMaker(std::uint64_t seed) : random_(seed) {}

    Case Make() {
        Case c;
        const UINT pages[] = {CP_ACP, CP_ACP, CP_UTF8, 932, 1254};
        c.codePage = pages[random_.Below(5)];
        const Form forms[] = {Form::Ansi, Form::AnsiRawBytes, Form::Utf8, Form::Utf8RawBytes,
                              Form::Utf16LE, Form::Utf16BE, Form::Utf16NoMark};
        c.form = forms[random_.Below(7)];
        const bool raw = c.form == Form::AnsiRawBytes || c.form == Form::Utf8RawBytes;
        // Short files, or files ending a little after the first or the second chunk's end.
        const std::size_t lengths[] = {random_.Below(300), 32768 + random_.Below(400), 65536 + random_.Below(400)};
        const std::size_t length = lengths[random_.Below(3)];
        // Text beyond ASCII anywhere, nowhere, or only just before or just after the first chunk's end, so
        // that a chunk of plain ASCII follows or precedes one with other text.
        const std::size_t zone = random_.Below(4);
        const auto beyondAscii = [&](std::size_t at) {
            return zone == 0 || (zone == 2 && at + 1200 >= 32768 && at < 32768) ||
                   (zone == 3 && at >= 32768 && at < 32768 + 1200);
        };
        const bool spacious = random_.Chance(50);  // many blanks: whole words occur

        std::wstring text;               // the units written (for random bytes, each byte as one unit)
        std::vector<std::size_t> edges;  // the first unit of each chunk after the first
        c.bytes = Mark(c.form);
        while (c.bytes.size() < length) {
            const std::size_t at = c.bytes.size();
            const std::wstring piece = raw ? RawPiece(beyondAscii(at)) : Piece(beyondAscii(at), spacious);
            const auto encode = [&](std::wstring_view units) {
                return raw ? std::string(units.begin(), units.end()) : Encoded(units, c.form, c.codePage);
            };
            c.bytes += encode(piece);
            const std::size_t edge = (at + 32767) / 32768 * 32768;
            if (at > 0 && edge < c.bytes.size()) {
                // The character holding the edge's byte begins the next chunk.
                std::size_t units = 0, bytes = at;
                while (units < piece.size()) {
                    const std::size_t width = IS_HIGH_SURROGATE(piece[units]) && units + 1 < piece.size() ? 2 : 1;
                    bytes += encode(std::wstring_view(piece).substr(units, width)).size();
                    if (bytes > edge) break;
                    units += width;
                }
                edges.push_back(text.size() + units);
            }
            text += piece;
        }
        c.type = random_.Chance(50) ? tmWordsText : tmPhrasesText;
        const std::size_t count = 1 + random_.Below(random_.Chance(20) ? 8 : 3);
        for (std::size_t i = 0; i < count; ++i) {
            std::wstring item = Item(text, edges);
            if (c.type == tmWordsText) {
                for (wchar_t& u : item) if (u == L' ' || u == L'\r' || u == L'\n') u = L'x';
                c.value += (c.value.empty() ? L"" : random_.Chance(20) ? L"  " : L" ") + item;
            } else {
                for (wchar_t& u : item) if (u == L'|') u = L'x';
                c.value += (i == 0 ? L"" : random_.Chance(20) ? L" | " : L"|") + item;
            }
        }
        return c;
    }

private:
    std::wstring Piece(bool beyondAscii, bool spacious) {
        if (spacious && random_.Chance(30)) return random_.Chance(80) ? L" " : L".";
        for (;;) {
            std::wstring piece;
            switch (random_.Below(10)) {
            case 0: piece = std::wstring(1, static_cast<wchar_t>(0x20 + random_.Below(0x5F))); break;  // printable
            case 1: piece = std::wstring(1, static_cast<wchar_t>(0xA0 + random_.Below(0x160))); break;  // Latin
            case 2: piece = std::wstring(1, static_cast<wchar_t>(L'a' + random_.Below(26))); break;
            case 3: piece = std::wstring(1, static_cast<wchar_t>(L'A' + random_.Below(26))); break;
            default: piece = random_.Pick(Fragments); break;
            }
            if (beyondAscii || std::all_of(piece.begin(), piece.end(), [](wchar_t u) { return u < 0x80; }))
                return piece;
        }
    }

    std::wstring RawPiece(bool beyondAscii) {
        if (!beyondAscii || random_.Chance(40)) return Ascii(random_.Pick(Words));
        // Bytes that are no valid UTF-8 (cut and stray sequences, four-byte leads) as well as valid ones.
        const wchar_t bytes[] = {0x80, 0x9F, 0xBF, 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xED, 0xF0, 0x9D, 0x84, 0x9E, 0xF4,
                                 0xF5, 0xFF, 0xFE, 0xC0, 0xC1, L'a', L'Z', L' ', L'9', 0};
        std::wstring piece;
        for (std::size_t n = 1 + random_.Below(3); n > 0; --n) piece += bytes[random_.Below(std::size(bytes))];
        return piece;
    }

    static std::wstring Ascii(const std::wstring& word) {
        std::wstring ascii;
        for (wchar_t c : word) ascii += c < 0x80 ? c : L'x';
        return ascii;
    }

    // A word, or a piece of the text: often one that ends just before a chunk edge, starts at it or crosses
    // it, and often with its letters' case changed.
    std::wstring Item(const std::wstring& text, const std::vector<std::size_t>& edges) {
        std::wstring item;
        if (text.empty() || random_.Chance(25)) {
            item = random_.Pick(Words);
        } else {
            std::size_t length = 1 + random_.Below(12);
            if (random_.Chance(3)) length = 100 + random_.Below(MaxSearchItemLength - 99);
            std::size_t start = random_.Below(text.size());
            if (!edges.empty() && random_.Chance(60)) {
                const std::size_t edge = random_.Pick(edges);
                const std::size_t before[] = {length, 0, 1 + random_.Below(length)};
                start = edge - std::min(edge, before[random_.Below(3)]);
            }
            item = text.substr(start, length);
        }
        if (random_.Chance(20))
            for (wchar_t& u : item)
                if (IsWordUnit(u) && u >= L'A' && random_.Chance(50)) u = static_cast<wchar_t>(u ^ 0x20);  // other case
        return item;
    }

    Random random_;
};

struct Settings {
    TMatchText match;
    bool wholeWords;
    bool caseSensitive;
};

std::string Describe(const Settings& s) {
    return std::string(s.match == mtMatchAny ? "any" : "all") + (s.wholeWords ? ", whole words" : "") +
           (s.caseSensitive ? ", case-sensitive" : "");
}

std::string Describe(std::optional<bool> answer) { return answer ? (*answer ? "found" : "not found") : "unreadable"; }

} // namespace

TEST(TextSearchDifferential, AgreesWithTheReferenceOnRandomFiles) {
    const std::uint64_t seed = FromEnvironment("KVR_TEXT_SEED", 20261210);
    const std::uint64_t cases = FromEnvironment("KVR_TEXT_CASES", 1000);
    std::vector<TSimd> simds;
    for (TSimd simd : {TSimd::Scalar, TSimd::Sse2, TSimd::Avx2})
        if (simd <= BestSimd()) simds.push_back(simd);

    testsupport::TempFolder folder;
    const std::wstring path = folder / L"f.txt";
    const TFileTypesGroups groups;
    TFilterText filter(groups);
    filter.SkipHiddenFiles = filter.SkipSystemFiles = filter.SkipImageFiles = filter.SkipAudioFiles =
        filter.SkipVideoFiles = false;
    int failures = 0;
    std::size_t compared = 0;
    for (std::uint64_t n = 0; n < cases && failures < 5; ++n) {
        const Case c = CaseMaker(seed + n).Make();
        testsupport::WriteBytes(path, c.bytes);
        const std::optional<std::vector<std::wstring>> words = SplitSearchItems(c.value, c.type);
        reference::TTextScanner referenceScanner(c.codePage);
        std::vector<TTextScanner> scanners;
        for (TSimd simd : simds) scanners.emplace_back(c.codePage, simd);

        Random random(seed + n);
        for (int bits = 0; bits < 8; ++bits) {
            const Settings s{bits & 1 ? mtMatchAll : mtMatchAny, (bits & 2) != 0, (bits & 4) != 0};
            std::vector<reference::TSearchItem> referenceItems;
            std::vector<TSearchItem> items;
            for (const std::wstring& word : words.value_or(std::vector<std::wstring>{})) {
                referenceItems.emplace_back(word, s.caseSensitive);
                items.emplace_back(word, s.caseSensitive);
            }
            const std::optional<bool> expected =
                referenceScanner.Contains(path, referenceItems, s.match, s.wholeWords, s.caseSensitive);
            const auto report = [&](const std::string& what, std::optional<bool> got, std::optional<bool> want) {
                ADD_FAILURE() << "seed " << seed << " case " << n << " (KVR_TEXT_SEED=" << seed + n
                              << " KVR_TEXT_CASES=1): " << c.Describe() << ", " << Describe(s) << ", " << what
                              << ": " << Describe(got) << ", the reference " << Describe(want);
                ++failures;
            };
            for (std::size_t k = 0; k < scanners.size(); ++k) {
                const std::optional<bool> got =
                    scanners[k].Contains(path, items, s.match, s.wholeWords, s.caseSensitive);
                ++compared;
                if (got != expected) report("instruction set " + std::to_string(int(simds[k])), got, expected);
            }
            // The whole test, with Without, where the file is read with the system's code page.
            if (c.codePage != CP_ACP) continue;
            filter.TextMask = {c.value, c.type};
            filter.MatchText = s.match;
            filter.WholeWords = s.wholeWords;
            filter.CaseSensitive = s.caseSensitive;
            filter.Without = random.Chance(50);
            const bool listed = filter.Matches(folder.Path(), L"f.txt", {saArchive});
            const bool want = words && expected && *expected != filter.Without;
            ++compared;
            if (listed != want) report(filter.Without ? "the filter, without" : "the filter", listed, want);
        }
    }
    EXPECT_GT(compared, cases * 8);
}
