#pragma once
// The matcher's name test, compiled once when its text is set. Named with its unit (FilterFile::TNameMask)
// apart from the criteria model's class of the same short name.
#include "engine/LenghtRange.h"
#include "engine/MultiMasks.h"
#include "engine/MultiTexts.h"
#include "engine/UKvrTYPEFile.h"

#include <memory>
#include <string>

namespace engine::FilterFile {

class TNameMask {
public:
    // Set before Value: Value compiles the form this calls for.
    TNameMaskType MaskType = nmSimpleText;

    const std::wstring& Value() const { return value_; }
    // Compiles a non-empty text for the current MaskType; throws kit::Exception for a wildcard text that does
    // not compile (the mask then matches nothing). An empty text matches every name.
    void SetValue(const std::wstring& text);

    // `name` is the entry's own name. The regular-expression mode never matches.
    bool Matches(std::wstring_view name) const noexcept;

private:
    // The compiled form for the current type and text, rebuilt here when MaskType changed after Value was
    // set; none when the text does not compile.
    const TMultiTexts* Texts() const noexcept;
    const TMultiMasks* Masks() const noexcept;

    std::wstring value_;
    mutable std::unique_ptr<TMultiTexts> texts_;
    mutable std::unique_ptr<TMultiMasks> masks_;
    mutable std::wstring textsSource_, masksSource_;  // the texts they were built from
    mutable bool masksTried_ = false;                 // masksSource_ was compiled, perhaps without success
};

using TLenghtRange = TLenghtRangeValues;

} // namespace engine::FilterFile
