#include "engine/TextScanner.h"

#include "engine/MessagePump.h"
#include "kit/Handles.h"

#include <algorithm>
#include <cstring>

namespace engine {
namespace {

// Plain ASCII is left as it is, the search comparing its letters without case; anything else is upper-cased
// by the system, which also maps some letters beyond ASCII onto ASCII ones. A mark at the start (U+FEFF, which
// has no case) does not count, so that a marked file of ASCII text needs no call to the system.
void UpperCaseBeyondAscii(wchar_t* text, std::size_t count) {
    const std::size_t mark = count > 0 && text[0] == 0xFEFF ? 1 : 0;
    if (!AllAscii(text + mark, count - mark)) CharUpperBuffW(text + mark, static_cast<DWORD>(count - mark));
}

} // namespace

TTextScanner::TTextScanner(UINT ansiCodePage, TSimd simd)
    : decoder_(ansiCodePage), finder_(simd), bytes_(Margin + TChunkDecoder::ChunkSize + Padding),
      units_(Margin + TChunkDecoder::MaxUnits + Padding) {}

TTextScanner::TRoute TTextScanner::RouteOf(const std::uint8_t* chunk, std::size_t count, bool asciiItems,
                                           bool& utf16BigEndian) {
    const TTextEncoding encoding = EncodingOfMark(chunk, count);
    decoder_.Start(encoding);
    utf16BigEndian = encoding == TTextEncoding::Utf16BE;
    if (encoding == TTextEncoding::Utf16LE || utf16BigEndian) return TRoute::Utf16;
    return asciiItems && decoder_.KeepsAsciiBytes() ? TRoute::Bytes : TRoute::Decoded;
}

std::size_t TTextScanner::Units(TRoute route, bool first, bool bigEndian, std::size_t read, bool last) {
    if (route != TRoute::Utf16) return decoder_.Decode(ByteChunk(), read, last, UnitChunk());
    // The first chunk was read before its mark was known; the others are read straight into place.
    if (first) std::memcpy(UnitChunk(), ByteChunk(), read);
    const std::size_t count = read / 2;  // only the last chunk can end in an odd byte, which is dropped
    wchar_t* text = UnitChunk();
    if (bigEndian)
        for (std::size_t i = 0; i < count; ++i) text[i] = static_cast<wchar_t>((text[i] << 8) | (text[i] >> 8));
    return count;
}

void TTextScanner::CarryToBytes(std::size_t count) {
    const wchar_t* from = UnitChunk() - count;
    std::uint8_t* to = ByteChunk() - count;
    for (std::size_t i = 0; i < count; ++i) to[i] = static_cast<std::uint8_t>(from[i] < 0x80 ? from[i] : 0x80);
}

void TTextScanner::CarryToUnits(std::size_t count) {
    std::copy(ByteChunk() - count, ByteChunk(), UnitChunk() - count);
}

std::optional<bool> TTextScanner::Contains(const std::wstring& path, std::span<const TSearchItem> items,
                                           TMatchText match, bool wholeWords, bool caseSensitive) {
    const bool any = match == mtMatchAny;
    if (items.empty()) return !any;
    kit::UniqueHandle file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
    if (!file) return std::nullopt;

    std::size_t overlap = 0;
    bool asciiItems = true;
    for (const TSearchItem& item : items) {
        overlap = std::max(overlap, item.Pattern.size() + 1);
        asciiItems = asciiItems && item.Ascii;
    }
    const bool fold = !caseSensitive;
    finder_.Start(items, any, wholeWords, fold);
    TRoute route = TRoute::Decoded;
    bool bigEndian = false;
    bool carriedAsBytes = false;
    std::size_t known = 0;
    bool fileStart = true;
    for (bool first = true;; first = false) {
        PumpMessages();
        std::uint8_t* chunk =
            route == TRoute::Utf16 && !first ? reinterpret_cast<std::uint8_t*>(UnitChunk()) : ByteChunk();
        DWORD read = 0;
        if (!ReadFile(file.get(), chunk, TChunkDecoder::ChunkSize, &read, nullptr)) return std::nullopt;
        const bool last = read < TChunkDecoder::ChunkSize;  // a short read ends the file
        if (first) route = RouteOf(chunk, read, asciiItems, bigEndian);
        // Without case, a chunk with bytes beyond ASCII (the UTF-8 mark aside) is decoded and upper-cased by
        // the system.
        const std::size_t mark = first && decoder_.Encoding() == TTextEncoding::Utf8 ? 3 : 0;
        const bool asBytes =
            route == TRoute::Bytes && (!fold || (!decoder_.Carrying() && AllAscii(chunk + mark, read - mark)));
        if (asBytes != carriedAsBytes) {
            if (asBytes)
                CarryToBytes(known);
            else
                CarryToUnits(known);
            carriedAsBytes = asBytes;
        }
        std::size_t count = known;
        bool decided = false;
        if (asBytes) {
            count += read;
            decided = finder_.Find(TTextWindow<std::uint8_t>{ByteChunk() - known, count, known, fileStart, last});
        } else {
            const std::size_t added = Units(route, first, bigEndian, read, last);
            if (fold) UpperCaseBeyondAscii(UnitChunk(), added);
            count += added;
            decided = finder_.Find(TTextWindow<wchar_t>{UnitChunk() - known, count, known, fileStart, last});
        }
        if (decided) return true;
        if (last) return false;
        // The window's last units are carried in front of the next chunk.
        const std::size_t keep = std::min(overlap, count);
        if (asBytes)
            std::memmove(ByteChunk() - keep, ByteChunk() - known + count - keep, keep);
        else
            std::memmove(UnitChunk() - keep, UnitChunk() - known + count - keep, keep * sizeof(wchar_t));
        fileStart = fileStart && keep == count;
        known = keep;
    }
}

} // namespace engine
