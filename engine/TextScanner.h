#pragma once
// Looks for search items in one file's text: the file is read once, in chunks, and every item still open is
// looked for in each decoded chunk with a Boyer-Moore-Horspool search over UTF-16 code units.
#include "engine/TextDecoder.h"
#include "engine/UKvrTYPEFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace engine {

// Longest item: the overlap kept between chunks is one more unit than this, far below a chunk's text.
inline constexpr std::size_t MaxSearchItemLength = 1023;

// One item, compiled once per search.
struct TSearchItem {
    // `pattern` is not empty and at most MaxSearchItemLength units; upper-cased here unless `caseSensitive`.
    TSearchItem(std::wstring pattern, bool caseSensitive);

    std::wstring Pattern;
    std::int32_t PatternLastIndex;
    // The bad-character shift of every code unit, so the search needs neither hashing nor range checks.
    std::vector<std::uint32_t> ShiftTable;
};

// True for "0"-"9", "A"-"Z" and "a"-"z": the only units that join a word.
constexpr bool IsWordUnit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Where an item is looked for: text[0, count), whose first `known` units were already searched (the overlap
// carried from the previous chunk). `fileStart` and `fileEnd` say whether the text begins and ends the file:
// only there is an edge a word boundary.
struct TTextWindow {
    const wchar_t* text;
    std::size_t count;
    std::size_t known;
    bool fileStart;
    bool fileEnd;
};

// True when the item occurs in the window (as a whole word with `wholeWords`). An occurrence that ends at
// the window's end before the file's end is left for the next window, which carries it with its neighbours.
bool FindItem(const TSearchItem& item, const TTextWindow& window, bool wholeWords);

class TTextScanner {
public:
    TTextScanner();

    // The result for the items: any item found (mtMatchAny) or every item found (mtMatchAll). None when the
    // file cannot be opened or read before the answer is known. `path` is opened as it is given.
    std::optional<bool> Contains(const std::wstring& path, std::span<const TSearchItem> items, TMatchText match,
                                 bool wholeWords, bool caseSensitive);

private:
    TChunkDecoder decoder_;
    std::vector<wchar_t> text_;  // the carried overlap, then the current chunk's text
    std::vector<char> found_;
};

} // namespace engine
