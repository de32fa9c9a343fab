#pragma once
// A line of word groups; a name matches when every word of at least one group occurs in it.
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// One group: upper-cased words (ASCII letters only), duplicates kept; "*", "?", blanks and line breaks
// separate them.
class TTexts {
public:
    explicit TTexts(std::wstring_view token);
    // A group without words matches every name.
    bool Matches(std::wstring_view name) const noexcept;
    const std::vector<std::wstring>& Words() const { return words_; }

private:
    std::vector<std::wstring> words_;
};

class TMultiTexts {
public:
    // Never fails: every text gives some (maybe no) groups.
    explicit TMultiTexts(std::wstring_view text);
    bool Matches(std::wstring_view name) const noexcept;
    const std::vector<TTexts>& Items() const { return items_; }

private:
    std::vector<TTexts> items_;  // in token order
};

} // namespace engine
