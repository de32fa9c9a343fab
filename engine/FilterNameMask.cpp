#include "engine/FilterNameMask.h"

namespace engine::FilterFile {
namespace {

std::unique_ptr<TMultiMasks> CompileMasks(const std::wstring& text) {
    // Parts are taken as written, split at the characters a file name cannot hold.
    return std::make_unique<TMultiMasks>(text, true, SeparatorMode::FileNameSeparators);
}

} // namespace

void TNameMask::SetValue(const std::wstring& text) {
    value_ = text;
    if (text.empty()) return;
    if (MaskType == nmSimpleText) {
        texts_ = std::make_unique<TMultiTexts>(text);
        textsSource_ = text;
    } else if (MaskType == nmManualWildcards) {
        masks_.reset();
        masksSource_ = text;
        masksTried_ = true;
        masks_ = CompileMasks(text);
    }
}

const TMultiTexts* TNameMask::Texts() const noexcept {
    if (!texts_ || textsSource_ != value_) {
        try {
            texts_ = std::make_unique<TMultiTexts>(value_);
            textsSource_ = value_;
        } catch (...) {  // out of memory: no match rather than a crash in the walk
            texts_.reset();
        }
    }
    return texts_.get();
}

const TMultiMasks* TNameMask::Masks() const noexcept {
    if (!masksTried_ || masksSource_ != value_) {
        masks_.reset();
        masksTried_ = true;
        try {
            masksSource_ = value_;
            masks_ = CompileMasks(value_);
        } catch (...) {  // an invalid mask matches nothing, and is not compiled again for every entry
        }
    }
    return masks_.get();
}

bool TNameMask::Matches(std::wstring_view name) const noexcept {
    if (value_.empty()) return true;
    switch (MaskType) {
    case nmSimpleText:
        if (value_ == L"*") return true;
        if (const TMultiTexts* texts = Texts()) return texts->Matches(name);
        return false;
    case nmManualWildcards:
        if (value_ == L"*") return true;
        if (const TMultiMasks* masks = Masks()) return masks->Matches(name);
        return false;
    default:
        return false;  // there is no regular-expression search
    }
}

} // namespace engine::FilterFile
