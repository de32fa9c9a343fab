#include "engine/MultiMasks.h"

namespace engine {
namespace {

std::wstring Widened(std::wstring token) {
    if (!IsBlankOnly(token))
        for (wchar_t& c : token)
            if (c == L' ') c = L'*';
    return L"*" + token + L"*";
}

} // namespace

TMultiMasks::TMultiMasks(std::wstring_view text, bool asIs, SeparatorMode separatorMode) {
    for (std::wstring& token : SplitTokens(text, separatorMode))
        items_.emplace_back(asIs ? token : Widened(std::move(token)));
}

bool TMultiMasks::Matches(std::wstring_view name) const noexcept {
    for (const TWildcardMask& mask : items_)
        if (mask.Matches(name)) return true;
    return false;
}

} // namespace engine
