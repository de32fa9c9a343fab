#pragma once
// The name criteria of the criteria model: one text per mode, of which the current mode's text counts, and
// the length ranges the model carries without effect. The matcher has classes of the same short names, so
// these are always named with their unit: SearchParams::TNameMask.
#include "engine/LenghtRange.h"
#include "engine/UKvrTYPEFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace store {
class TMemIniFileUnicode;
}

namespace engine::SearchParams {

class TNameMask {
public:
    virtual ~TNameMask() = default;

    const std::wstring& Section() const { return section_; }
    // The modes a choice list offers: "Simple", "Wildcards" (a stored file can still select the others).
    const std::vector<std::wstring>& MaskTypeList() const { return maskTypeList_; }

    TNameMaskType MaskType() const { return maskType_; }
    void SetMaskType(TNameMaskType type) { maskType_ = type; }

    // The current mode's text. Writing "*" or "*.*" in the simple or wildcard mode stores the empty text,
    // which means "every name".
    const std::wstring& Value() const;
    void SetValue(const std::wstring& text);

    // Reading gives the mode's text whatever the current mode; writing also selects the mode.
    const std::wstring& SimpleText() const { return texts_[nmSimpleText]; }
    const std::wstring& ManualWildcards() const { return texts_[nmManualWildcards]; }
    const std::wstring& RegularExpression() const { return texts_[nmRegularExpression]; }
    void SetSimpleText(const std::wstring& text) { SetModeText(nmSimpleText, text); }
    void SetManualWildcards(const std::wstring& text) { SetModeText(nmManualWildcards, text); }
    void SetRegularExpression(const std::wstring& text) { SetModeText(nmRegularExpression, text); }

    // False, after a warning dialog naming the fault, when the current text does not compile.
    bool IsValid() const;
    void Reset();

    // Failures of the store pass to the caller.
    void Load(const store::TMemIniFileUnicode& ini);
    void Save(store::TMemIniFileUnicode& ini) const;

protected:
    explicit TNameMask(std::wstring section);

private:
    void SetModeText(TNameMaskType type, const std::wstring& text);

    std::wstring section_;
    std::vector<std::wstring> maskTypeList_;
    TNameMaskType maskType_ = nmSimpleText;
    std::array<std::wstring, nmRegularExpression + 1> texts_;  // by mode
};

class TFileNameMask : public TNameMask {
public:
    explicit TFileNameMask(const std::wstring& ownerSection) : TNameMask(ownerSection + L"/FileMask") {}
};

class TFolderNameMask : public TNameMask {
public:
    explicit TFolderNameMask(const std::wstring& ownerSection) : TNameMask(ownerSection + L"/FolderMask") {}
};

using TLenghtRange = TLenghtRangeValues;

} // namespace engine::SearchParams
