#pragma once
// Turns a file's bytes, read chunk by chunk, into UTF-16 text. The encoding comes from the byte-order mark of
// the first chunk; a character cut by a chunk's end is carried into the next chunk, so every chunk decodes
// to whole characters whatever the encoding.
#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace engine {

enum class TTextEncoding : std::uint8_t { Unknown, Utf16LE, Utf16BE, Utf8, Ansi };

// FF FE, FE FF or EF BB BF at the start; anything else is text in the ANSI code page.
TTextEncoding EncodingOfMark(const std::uint8_t* bytes, std::size_t count);

class TChunkDecoder {
public:
    static constexpr std::size_t ChunkSize = 32768;
    // Longest incomplete character carried over: three bytes of a four-byte UTF-8 sequence.
    static constexpr std::size_t MaxCarry = 3;
    // Bytes after a chunk that Decode may overwrite.
    static constexpr std::size_t Slack = 3;
    // Most UTF-16 units one chunk and its carried bytes can give.
    static constexpr std::size_t MaxUnits = ChunkSize + MaxCarry;

    // `ansiCodePage` decodes files without a mark; CP_ACP is the system's.
    explicit TChunkDecoder(UINT ansiCodePage = CP_ACP);

    // A new file, nothing carried: the encoding is taken from the first chunk decoded, or given.
    void Start(TTextEncoding encoding = TTextEncoding::Unknown);
    // Decodes the `count` bytes at `chunk` into `out` (room for MaxUnits + Slack) and returns the units written.
    // MaxCarry bytes before `chunk` and Slack bytes after its end are scratch room. Unless `last`, an
    // incomplete character at the end waits for the next chunk; at the end of the file it is decoded as it
    // is (an odd UTF-16 byte is dropped).
    std::size_t Decode(std::uint8_t* chunk, std::size_t count, bool last, wchar_t* out);
    TTextEncoding Encoding() const { return encoding_; }
    // True while the end of the last chunk waits for the next one.
    bool Carrying() const { return carried_ != 0; }
    // True when, in the current encoding, every byte below 0x80 decodes to the same code unit and every run of
    // other bytes to at least one unit of 0x80 or more: the file's ASCII text can then be searched as bytes.
    bool KeepsAsciiBytes() const;

private:
    // The bytes at the end of [data, data + count) that do not yet make a whole character.
    std::size_t IncompleteTail(const std::uint8_t* data, std::size_t count) const;
    std::size_t IncompleteAnsiTail(const std::uint8_t* data, std::size_t count) const;

    UINT codePage_;
    bool ansiIsUtf8_;
    bool ansiIsMultibyte_;
    bool ansiKeepsAscii_;
    std::array<bool, 256> leadBytes_{};
    std::array<std::uint8_t, MaxCarry> carry_{};
    std::size_t carried_ = 0;
    TTextEncoding encoding_ = TTextEncoding::Unknown;
};

} // namespace engine
