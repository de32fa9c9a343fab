#pragma once
// A compiled wildcard mask: "*" for any run, "?" for one character, everything else literal; anchored at both
// ends, ASCII letters without regard to case.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class TWildcardMask {
public:
    // More separate "*" runs make the mask invalid.
    static constexpr int MaxSkips = 30;

    // Throws kit::Exception "'<mask>' is an invalid mask at (<position>)" for a mask with too many "*" runs.
    explicit TWildcardMask(std::wstring_view mask);

    // Iterative: a failed card resumes from the last "*" only, so no mask costs more than its length times
    // the name's length.
    bool Matches(std::wstring_view name) const noexcept;

private:
    enum class Kind : std::uint8_t { Literal, Any, End };
    struct Card {
        Kind kind;
        bool skip;          // a "*" run stands before this card
        wchar_t text[2];    // literal: one character, or a surrogate pair
        std::uint8_t size;  // characters of `text` in use
    };

    // Length of the name character at `pos` that the card meets (0 = no match there).
    static std::size_t MatchAt(const Card& card, std::wstring_view name, std::size_t pos) noexcept;

    std::vector<Card> cards_;
};

} // namespace engine
