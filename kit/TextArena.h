#pragma once
// Many short texts kept in a few large blocks instead of one heap allocation each: a text, once added, stays
// where it is (followed by a NUL) until the arena is cleared. Nothing is freed one text at a time; Clear keeps
// the blocks for the texts that follow, as a heap keeps freed memory (fresh memory is slow to touch at first).
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace kit {

class TextArena {
public:
    TextArena() = default;
    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;

    // A copy of `text`, NUL-terminated, that lives until Clear.
    const wchar_t* Add(std::wstring_view text);
    void Clear();

private:
    static constexpr std::size_t BlockChars = 128 * 1024;

    std::vector<std::unique_ptr<wchar_t[]>> blocks_;      // BlockChars each; those before current_ are full
    std::vector<std::unique_ptr<wchar_t[]>> longTexts_;  // one each, for texts longer than a block
    std::size_t current_ = 0;                             // the block being filled, when there is one
    std::size_t used_ = 0;                                // of the current block
};

} // namespace kit
