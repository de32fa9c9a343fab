#include "engine/TextDecoder.h"

#include <cstring>

namespace engine {
namespace {

// The UTF-8 bytes at the end that begin a sequence the data does not complete.
std::size_t IncompleteUtf8Tail(const std::uint8_t* data, std::size_t count) {
    std::size_t continuations = 0;
    while (continuations < 3 && continuations < count && (data[count - 1 - continuations] & 0xC0) == 0x80)
        ++continuations;
    if (continuations == count) return 0;
    const std::uint8_t lead = data[count - 1 - continuations];
    const std::size_t length = lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return continuations + 1 < length ? continuations + 1 : 0;
}

bool AllAscii(const std::uint8_t* data, std::size_t count) {
    std::uint8_t any = 0;
    for (std::size_t i = 0; i < count; ++i) any |= data[i];
    return any < 0x80;
}

// Every ANSI code page and UTF-8 map the bytes below 0x80 to the same code units, so plain ASCII, the bulk
// of most text, is widened without the system's conversion.
std::size_t MultiByteUnits(UINT codePage, const std::uint8_t* data, std::size_t count, wchar_t* out) {
    if (count == 0) return 0;
    if (AllAscii(data, count)) {
        for (std::size_t i = 0; i < count; ++i) out[i] = data[i];
        return count;
    }
    const int units = MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(data), static_cast<int>(count),
                                          out, static_cast<int>(TChunkDecoder::MaxUnits));
    return units > 0 ? static_cast<std::size_t>(units) : 0;
}

} // namespace

TTextEncoding EncodingOfMark(const std::uint8_t* bytes, std::size_t count) {
    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return TTextEncoding::Utf16LE;
    if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return TTextEncoding::Utf16BE;
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return TTextEncoding::Utf8;
    return TTextEncoding::Ansi;
}

TChunkDecoder::TChunkDecoder(UINT ansiCodePage)
    : codePage_(ansiCodePage == CP_ACP ? GetACP() : ansiCodePage), bytes_(MaxCarry + ChunkSize) {
    ansiIsUtf8_ = codePage_ == CP_UTF8;
    CPINFO info{};
    ansiIsMultibyte_ = !ansiIsUtf8_ && GetCPInfo(codePage_, &info) && info.MaxCharSize > 1;
    if (ansiIsMultibyte_)
        for (int r = 0; r + 1 < MAX_LEADBYTES && info.LeadByte[r] != 0; r += 2)
            for (int b = info.LeadByte[r]; b <= info.LeadByte[r + 1]; ++b) leadBytes_[b] = true;
}

void TChunkDecoder::Start() {
    carried_ = 0;
    encoding_ = TTextEncoding::Unknown;
}

std::size_t TChunkDecoder::IncompleteAnsiTail(const std::uint8_t* data, std::size_t count) const {
    if (ansiIsUtf8_) return IncompleteUtf8Tail(data, count);
    if (!ansiIsMultibyte_) return 0;
    // A trail byte can look like a lead byte, so the pairs are followed from the chunk's start, which
    // always begins a character.
    std::size_t i = 0;
    while (i < count) i += leadBytes_[data[i]] ? 2 : 1;
    return i > count ? 1 : 0;
}

std::size_t TChunkDecoder::IncompleteTail(const std::uint8_t* data, std::size_t count) const {
    switch (encoding_) {
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE: return count % 2;
    case TTextEncoding::Utf8: return IncompleteUtf8Tail(data, count);
    default: return IncompleteAnsiTail(data, count);
    }
}

std::size_t TChunkDecoder::Decode(std::size_t count, bool last, wchar_t* out) {
    if (encoding_ == TTextEncoding::Unknown) encoding_ = EncodingOfMark(ReadArea(), count);
    const std::uint8_t* data = ReadArea() - carried_;
    std::size_t total = carried_ + count;
    const std::size_t tail = last ? 0 : IncompleteTail(data, total);
    const std::size_t whole = total - tail;

    std::size_t units = 0;
    switch (encoding_) {
    case TTextEncoding::Utf16LE:
        units = whole / 2;
        std::memcpy(out, data, units * 2);
        break;
    case TTextEncoding::Utf16BE:
        units = whole / 2;
        for (std::size_t i = 0; i < units; ++i)
            out[i] = static_cast<wchar_t>((data[2 * i] << 8) | data[2 * i + 1]);
        break;
    case TTextEncoding::Utf8: units = MultiByteUnits(CP_UTF8, data, whole, out); break;
    default: units = MultiByteUnits(codePage_, data, whole, out); break;
    }

    // The incomplete character moves to just before the next chunk's bytes.
    std::memmove(ReadArea() - tail, data + whole, tail);
    carried_ = tail;
    return units;
}

} // namespace engine
