#include "kit/TextArena.h"

#include <algorithm>

namespace kit {

const wchar_t* TextArena::Add(std::wstring_view text) {
    const std::size_t needed = text.size() + 1;
    wchar_t* kept = nullptr;
    if (needed > BlockChars) {
        kept = longTexts_.emplace_back(std::make_unique_for_overwrite<wchar_t[]>(needed)).get();
    } else {
        if (current_ < blocks_.size() && BlockChars - used_ < needed) {
            ++current_;
            used_ = 0;
        }
        if (current_ == blocks_.size()) blocks_.push_back(std::make_unique_for_overwrite<wchar_t[]>(BlockChars));
        kept = blocks_[current_].get() + used_;
        used_ += needed;
    }
    std::copy(text.begin(), text.end(), kept);
    kept[text.size()] = L'\0';
    return kept;
}

void TextArena::Clear() {
    current_ = 0;
    used_ = 0;
    longTexts_.clear();
}

} // namespace kit
