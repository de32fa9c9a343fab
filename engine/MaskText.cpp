#include "engine/MaskText.h"

namespace engine {

std::wstring AsciiUpperCase(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper) c = AsciiUpper(c);
    return upper;
}

std::vector<std::wstring> SplitTokens(std::wstring_view text, SeparatorMode mode) {
    const std::wstring_view separators = mode == SeparatorMode::BarOnly ? L"|" : L"\"/:<>\\|";
    std::vector<std::wstring> tokens;
    std::wstring token;
    for (wchar_t c : text) {
        if (separators.find(c) == std::wstring_view::npos) {
            token += c;
        } else if (!token.empty()) {
            tokens.push_back(std::move(token));
            token.clear();
        }
    }
    if (!token.empty()) tokens.push_back(std::move(token));
    return tokens;
}

bool IsBlankOnly(std::wstring_view text) {
    return !text.empty() && text.find_first_not_of(L' ') == std::wstring_view::npos;
}

} // namespace engine
