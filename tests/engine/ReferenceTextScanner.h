#pragma once
// The contained-text search as it was before its vector loops: a Boyer-Moore-Horspool search over UTF-16
// code units, one pass per item over every decoded and upper-cased chunk. Kept unchanged as the reference
// the differential test holds the engine's search to.
#include "engine/TextDecoder.h"
#include "engine/TextKernels.h"
#include "engine/UKvrTYPEFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace reference {

// One item, compiled once per search.
struct TSearchItem {
    // `pattern` is not empty and at most MaxSearchItemLength units; upper-cased here unless `caseSensitive`.
    TSearchItem(std::wstring pattern, bool caseSensitive);

    std::wstring Pattern;
    std::int32_t PatternLastIndex;
    // The bad-character shift of every code unit, so the search needs neither hashing nor range checks.
    std::vector<std::uint32_t> ShiftTable;
};

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
    explicit TTextScanner(UINT ansiCodePage = CP_ACP);

    // The result for the items: any item found (mtMatchAny) or every item found (mtMatchAll). None when the
    // file cannot be opened or read before the answer is known. `path` is opened as it is given.
    std::optional<bool> Contains(const std::wstring& path, std::span<const TSearchItem> items,
                                 engine::TMatchText match, bool wholeWords, bool caseSensitive);

private:
    engine::TChunkDecoder decoder_;
    std::vector<std::uint8_t> bytes_;  // room for the decoder's carried bytes, then the chunk as read
    std::vector<wchar_t> text_;        // the carried overlap, then the current chunk's text
    std::vector<char> found_;
};

} // namespace reference
