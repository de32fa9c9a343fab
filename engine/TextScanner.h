#pragma once
// Looks for search items in one file's text: the file is read once, in chunks, and the items still open are
// looked for in each chunk together (TextKernels.h). A UTF-16 file is searched as the 16-bit units it holds;
// ASCII items in a file whose encoding keeps ASCII bytes as they are (UTF-8, most ANSI code pages) are
// searched in the bytes themselves; any other file is decoded to UTF-16 chunk by chunk.
#include "engine/TextDecoder.h"
#include "engine/TextKernels.h"
#include "engine/UKvrTYPEFile.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace engine {

class TTextScanner {
public:
    // `ansiCodePage` decodes files without a mark; `simd` picks the search loops.
    explicit TTextScanner(UINT ansiCodePage = CP_ACP, TSimd simd = BestSimd());

    // The result for the items: any item found (mtMatchAny) or every item found (mtMatchAll). None when the
    // file cannot be opened or read before the answer is known. `path` is opened as it is given.
    std::optional<bool> Contains(const std::wstring& path, std::span<const TSearchItem> items, TMatchText match,
                                 bool wholeWords, bool caseSensitive);

private:
    // How a file's chunks are searched, chosen at its first chunk.
    enum class TRoute : std::uint8_t { Utf16, Bytes, Decoded };
    // Room before a chunk for the carried overlap, and after it for the loops' reads past the window's end.
    static constexpr std::size_t Margin = MaxSearchItemLength + 1;
    static constexpr std::size_t Padding = 2 * MaxSearchItemLength + 64;

    std::uint8_t* ByteChunk() { return bytes_.data() + Margin; }
    wchar_t* UnitChunk() { return units_.data() + Margin; }
    TRoute RouteOf(const std::uint8_t* chunk, std::size_t count, bool asciiItems, bool& utf16BigEndian);
    // The chunk's text as UTF-16 units at UnitChunk(); returns their count.
    std::size_t Units(TRoute route, bool first, bool bigEndian, std::size_t read, bool last);
    // Moves the carried overlap between the two buffers: a unit beyond ASCII becomes the byte 0x80, which
    // like it matches no ASCII item and joins no word.
    void CarryToBytes(std::size_t count);
    void CarryToUnits(std::size_t count);

    TChunkDecoder decoder_;
    TItemFinder finder_;
    std::vector<std::uint8_t> bytes_;  // the carried overlap, then the chunk as read
    std::vector<wchar_t> units_;       // the carried overlap, then the chunk's text
};

} // namespace engine
