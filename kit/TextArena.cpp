#include "kit/TextArena.h"

#include <algorithm>

namespace kit {

const wchar_t* TextArena::Add(std::wstring_view text) {
    const std::size_t needed = text.size() + 1;
    if (needed > BlockChars) {
        // A text longer than a block gets one of its own, kept before the last so that block goes on filling.
        auto own = std::make_unique<wchar_t[]>(needed);
        std::copy(text.begin(), text.end(), own.get());
        own[text.size()] = L'\0';
        const wchar_t* kept = own.get();
        blocks_.insert(blocks_.empty() ? blocks_.end() : blocks_.end() - 1, std::move(own));
        return kept;
    }
    if (BlockChars - used_ < needed) {
        blocks_.push_back(std::make_unique_for_overwrite<wchar_t[]>(BlockChars));
        used_ = 0;
    }
    wchar_t* kept = blocks_.back().get() + used_;
    std::copy(text.begin(), text.end(), kept);
    kept[text.size()] = L'\0';
    used_ += needed;
    return kept;
}

void TextArena::Clear() {
    blocks_.clear();
    used_ = BlockChars;
}

} // namespace kit
