#include "engine/MultiTexts.h"

#include "engine/MaskText.h"

#include <algorithm>

namespace engine {

TTexts::TTexts(std::wstring_view token) {
    const std::wstring upper = AsciiUpperCase(token);
    if (upper.empty()) return;
    if (IsBlankOnly(upper)) {
        words_.push_back(upper);  // a token of blanks looks for those blanks
        return;
    }
    std::wstring word;
    for (wchar_t c : upper) {
        if (c == L'*' || c == L'?' || c == L' ' || c == L'\r' || c == L'\n') {
            if (!word.empty()) words_.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words_.push_back(std::move(word));
}

bool TTexts::Matches(std::wstring_view name) const noexcept {
    // Compares through AsciiUpper instead of copying the name: this runs for every walked entry.
    const auto sameUpper = [](wchar_t n, wchar_t w) { return AsciiUpper(n) == w; };
    return std::all_of(words_.begin(), words_.end(), [&](const std::wstring& word) {
        return std::search(name.begin(), name.end(), word.begin(), word.end(), sameUpper) != name.end();
    });
}

TMultiTexts::TMultiTexts(std::wstring_view text) {
    for (const std::wstring& token : SplitTokens(text, SeparatorMode::FileNameSeparators)) items_.emplace_back(token);
}

bool TMultiTexts::Matches(std::wstring_view name) const noexcept {
    return std::any_of(items_.begin(), items_.end(), [&](const TTexts& texts) { return texts.Matches(name); });
}

} // namespace engine
