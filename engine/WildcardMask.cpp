#include "engine/WildcardMask.h"

#include "engine/MaskText.h"
#include "kit/Exception.h"
#include "kit/Strings.h"

namespace engine {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Characters of the name character at `pos`: a surrogate pair is one character.
std::size_t CharLength(std::wstring_view text, std::size_t pos) {
    return (IsHighSurrogate(text[pos]) && pos + 1 < text.size() && IsLowSurrogate(text[pos + 1])) ? 2 : 1;
}

} // namespace

TWildcardMask::TWildcardMask(std::wstring_view mask) {
    bool skipPending = false;
    int skips = 0;
    // `position` is the 1-based position of the character that produced the card.
    auto add = [&](Card card, std::size_t position) {
        card.skip = skipPending;
        if (skipPending && ++skips > MaxSkips)
            throw kit::Exception(kit::Format(L"'%ls' is an invalid mask at (%d)", std::wstring(mask).c_str(),
                                             static_cast<int>(position)));
        skipPending = false;
        cards_.push_back(card);
    };
    std::size_t pos = 0;
    while (pos < mask.size()) {
        const wchar_t c = mask[pos];
        if (c == L'*') {
            skipPending = true;
            ++pos;
        } else if (c == L'?') {
            if (!skipPending) add({Kind::Any, false, {0, 0}, 0}, pos + 1);  // "*?" acts as "*"
            ++pos;
        } else {
            const std::size_t length = CharLength(mask, pos);
            Card literal{Kind::Literal, false, {AsciiUpper(c), 0}, static_cast<std::uint8_t>(length)};
            if (length == 2) literal.text[1] = mask[pos + 1];
            add(literal, pos + 1);
            pos += length;
        }
    }
    add({Kind::End, false, {0, 0}, 0}, mask.size());
}

std::size_t TWildcardMask::MatchAt(const Card& card, std::wstring_view name, std::size_t pos) noexcept {
    if (card.kind == Kind::Any) return CharLength(name, pos);
    if (card.size == 2)
        return (pos + 1 < name.size() && name[pos] == card.text[0] && name[pos + 1] == card.text[1]) ? 2 : 0;
    return AsciiUpper(name[pos]) == card.text[0] ? 1 : 0;
}

bool TWildcardMask::Matches(std::wstring_view name) const noexcept {
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::size_t card = 0, pos = 0;
    // The card after the most recent "*" and where its next search starts: one point is enough, because a
    // later "*" can absorb whatever an earlier one would have.
    std::size_t retryCard = none, retryPos = 0;
    for (;;) {
        const Card& c = cards_[card];
        if (c.skip) {
            if (c.kind == Kind::End) return true;  // a trailing "*" takes the rest
            std::size_t at = pos, length = 0;
            while (at < name.size() && (length = MatchAt(c, name, at)) == 0) at += CharLength(name, at);
            if (at >= name.size()) return false;  // no later start can find the card either
            retryCard = card;
            retryPos = at + CharLength(name, at);
            pos = at + length;
            ++card;
            continue;
        }
        if (c.kind == Kind::End) {
            if (pos == name.size()) return true;
        } else if (pos < name.size()) {
            if (const std::size_t length = MatchAt(c, name, pos)) {
                pos += length;
                ++card;
                continue;
            }
        }
        if (retryCard == none) return false;
        card = retryCard;
        pos = retryPos;
    }
}

} // namespace engine
