#include "engine/TextDecoder.h"

#include "engine/TextKernels.h"

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

// Every ANSI code page and UTF-8 map the bytes below 0x80 to the same code units, so plain ASCII, the bulk
// of most text, is widened without the system's conversion. `data` has TChunkDecoder::Slack bytes of room
// after `count`.
std::size_t MultiByteUnits(UINT codePage, std::uint8_t* data, std::size_t count, wchar_t* out) {
    if (count == 0) return 0;
    if (AllAscii(data, count)) {
        for (std::size_t i = 0; i < count; ++i) out[i] = data[i];
        return count;
    }
    // Wine's UTF-8 decoder turns a sequence cut by the end of its input into one U+FFFD together with
    // whatever ASCII follows it ("F0 41 42" gives U+FFFD alone); three more bytes keep every sequence away
    // from the end, and their three units are dropped again.
    const std::size_t extra = codePage == CP_UTF8 ? TChunkDecoder::Slack : 0;
    std::memset(data + count, 0, extra);
    const int units = MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(data),
                                          static_cast<int>(count + extra), out,
                                          static_cast<int>(TChunkDecoder::MaxUnits + extra));
    return units > static_cast<int>(extra) ? static_cast<std::size_t>(units) - extra : 0;
}

// The high half of a single-byte code page must decode to units outside ASCII, one unit a byte, also after a
// letter (no composition).
bool SingleByteKeepsAscii(UINT codePage) {
    char bytes[256];
    for (int i = 0; i < 128; ++i) {
        bytes[2 * i] = 'a';
        bytes[2 * i + 1] = static_cast<char>(0x80 + i);
    }
    wchar_t units[256];
    if (MultiByteToWideChar(codePage, 0, bytes, 256, units, 256) != 256) return false;
    for (int i = 0; i < 128; ++i)
        if (units[2 * i] != L'a' || units[2 * i + 1] < 0x80) return false;
    return true;
}

} // namespace

TTextEncoding EncodingOfMark(const std::uint8_t* bytes, std::size_t count) {
    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return TTextEncoding::Utf16LE;
    if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return TTextEncoding::Utf16BE;
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return TTextEncoding::Utf8;
    return TTextEncoding::Ansi;
}

TChunkDecoder::TChunkDecoder(UINT ansiCodePage) : codePage_(ansiCodePage == CP_ACP ? GetACP() : ansiCodePage) {
    ansiIsUtf8_ = codePage_ == CP_UTF8;
    CPINFO info{};
    ansiIsMultibyte_ = !ansiIsUtf8_ && GetCPInfo(codePage_, &info) && info.MaxCharSize > 1;
    if (ansiIsMultibyte_)
        for (int r = 0; r + 1 < MAX_LEADBYTES && info.LeadByte[r] != 0; r += 2)
            for (int b = info.LeadByte[r]; b <= info.LeadByte[r + 1]; ++b) leadBytes_[b] = true;
    // A trail byte of a double-byte code page can be an ASCII letter.
    ansiKeepsAscii_ = ansiIsUtf8_ || (!ansiIsMultibyte_ && SingleByteKeepsAscii(codePage_));
}

void TChunkDecoder::Start(TTextEncoding encoding) {
    carried_ = 0;
    encoding_ = encoding;
}

bool TChunkDecoder::KeepsAsciiBytes() const {
    return encoding_ == TTextEncoding::Utf8 || (encoding_ == TTextEncoding::Ansi && ansiKeepsAscii_);
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

std::size_t TChunkDecoder::Decode(std::uint8_t* chunk, std::size_t count, bool last, wchar_t* out) {
    if (encoding_ == TTextEncoding::Unknown) encoding_ = EncodingOfMark(chunk, count);
    std::uint8_t* data = chunk - carried_;
    std::memcpy(data, carry_.data(), carried_);
    const std::size_t total = carried_ + count;
    const std::size_t tail = last ? 0 : IncompleteTail(data, total);
    const std::size_t whole = total - tail;
    // The incomplete character waits for the next chunk's bytes.
    std::memcpy(carry_.data(), data + whole, tail);
    carried_ = tail;

    switch (encoding_) {
    case TTextEncoding::Utf16LE:
        std::memcpy(out, data, whole / 2 * 2);
        return whole / 2;
    case TTextEncoding::Utf16BE:
        for (std::size_t i = 0; i < whole / 2; ++i)
            out[i] = static_cast<wchar_t>((data[2 * i] << 8) | data[2 * i + 1]);
        return whole / 2;
    case TTextEncoding::Utf8: return MultiByteUnits(CP_UTF8, data, whole, out);
    default: return MultiByteUnits(codePage_, data, whole, out);
    }
}

} // namespace engine
