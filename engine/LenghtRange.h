#pragma once
#include "engine/UKvrTYPEFile.h"

#include <cstdint>

namespace engine {

// A length criterion that the criteria model and the matcher both carry and no test reads.
struct TLenghtRangeValues {
    bool Enabled = false;
    TLenghtRangeType RangeType = lrUnlimited;
    std::int32_t ValueMin = 0;
    std::int32_t ValueMax = 256;
};

} // namespace engine
