#pragma once
// The inner loops of the contained-text search. Every item has a filter of two of its units, the ones least
// common in text; a vector compare tries the filters of up to four items at many positions of a window at
// once, and only where a filter passes is the whole item compared and its word boundaries tested. A window
// is UTF-16 code units or, where the file and the items allow it, the file's own bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace engine {

// Longest item: the overlap kept between chunks is one more unit than this, far below a chunk's text.
inline constexpr std::size_t MaxSearchItemLength = 1023;

// The instruction sets the loops run on, in increasing order; BestSimd is the best this processor has.
enum class TSimd : std::uint8_t { Scalar, Sse2, Avx2 };
TSimd BestSimd();

// True for "0"-"9", "A"-"Z" and "a"-"z": the only units that join a word.
constexpr bool IsWordUnit(unsigned c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// True when no byte or unit is 0x80 or more.
bool AllAscii(const std::uint8_t* data, std::size_t count);
bool AllAscii(const wchar_t* text, std::size_t count);

// An item's filter: two offsets in it, the first one not after the second, and the units there. A
// case-insensitive search compares units with bit 0x20 set on both sides, which keeps every ASCII letter
// in either case (and lets a few other units pass, which the whole compare then turns away).
struct TProbe {
    std::array<std::uint32_t, 2> offset;
    std::array<std::uint16_t, 2> unit;
};

// One item, compiled once per search.
struct TSearchItem {
    // `pattern` is not empty and at most MaxSearchItemLength units; upper-cased here unless `caseSensitive`.
    TSearchItem(std::wstring pattern, bool caseSensitive);

    std::wstring Pattern;
    bool Ascii;  // every unit of Pattern is below 0x80
    TProbe Probe;
};

// Where items are looked for: text[0, count), whose first `known` units were already searched (the overlap
// carried from the previous chunk). `fileStart` and `fileEnd` say whether the text begins and ends the file:
// only there is an edge a word boundary. An occurrence that ends at the window's end before the file's end
// is left for the next window, which carries it with its neighbours. `Unit` is wchar_t, or std::uint8_t for
// a file's bytes.
template <class Unit>
struct TTextWindow {
    const Unit* text;
    std::size_t count;
    std::size_t known;
    bool fileStart;
    bool fileEnd;
};

// The first start of an item of `length` units that a window has not judged before: one that ends in the
// last carried unit or later.
template <class Unit>
std::size_t FirstNewStart(std::size_t length, const TTextWindow<Unit>& window) {
    return window.known > length ? window.known - length : 0;
}

// Looks for a search's items window after window, all of them in one pass over each window.
class TItemFinder {
public:
    explicit TItemFinder(TSimd simd) : simd_(simd) {}

    // A new file: none of `items` (which outlive the search) is found yet. `fold`: compare ASCII letters
    // without case; the caller has upper-cased every window unit beyond ASCII.
    void Start(std::span<const TSearchItem> items, bool any, bool wholeWords, bool fold);
    // Looks in the window for the items not found yet; true as soon as the answer is yes: one item found
    // (`any`) or the last one (all). Units beyond the window, up to 2 * MaxSearchItemLength + 64, are read.
    bool Find(const TTextWindow<std::uint8_t>& window);
    bool Find(const TTextWindow<wchar_t>& window);

    // For the vector loops: the item starting at `start` in the window, where its filter passed, is compared
    // whole. True when that decides the search.
    template <class Unit, bool Fold>
    bool Candidate(std::uint32_t item, std::size_t start, const TTextWindow<Unit>& window);
    const TSearchItem& Item(std::uint32_t item) const { return items_[item]; }

    // Up to four open items whose filters are tried together.
    struct TGroup {
        std::array<std::uint32_t, 4> items;
        std::uint32_t size;
    };

private:
    template <class Unit>
    bool FindIn(const TTextWindow<Unit>& window);

    TSimd simd_;
    std::span<const TSearchItem> items_;
    bool any_ = true;
    bool wholeWords_ = false;
    bool fold_ = false;
    std::vector<char> found_;
    std::size_t open_ = 0;
    std::vector<TGroup> groups_;  // of the open items; rebuilt after an item is found
    bool regroup_ = true;
};

} // namespace engine
