#pragma once
// Texts of the size and attribute cells, apart from the row so they can be checked on their own.
#include "engine/UKvrTYPEFile.h"

#include <cstdint>
#include <string>

namespace results {

// An integer with the locale's thousands separator between groups of three digits.
std::wstring GroupedNumber(std::uint64_t value);

// "0 Bytes" for 0, the byte count up to 1023, else the kilobytes rounded up (1025 bytes are "2 KB").
std::wstring SizeText(std::uint64_t bytes);

// The letters of the set members in member order, R H S D A W N T F P C O I E V.
std::wstring AttributeLetters(engine::TScanAttributes attributes);

} // namespace results
