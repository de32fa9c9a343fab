#pragma once
// A line of wildcard masks; a name matches when any of them matches.
#include "engine/MaskText.h"
#include "engine/WildcardMask.h"

#include <string_view>
#include <vector>

namespace engine {

class TMultiMasks {
public:
    // asIs false widens each token: blanks become "*" (unless the token is all blanks) and the token is
    // wrapped in "*". Throws kit::Exception when a mask does not compile; nothing is kept then.
    TMultiMasks(std::wstring_view text, bool asIs, SeparatorMode separatorMode);

    bool Matches(std::wstring_view name) const noexcept;
    std::size_t Count() const { return items_.size(); }

private:
    std::vector<TWildcardMask> items_;  // in token order
};

} // namespace engine
