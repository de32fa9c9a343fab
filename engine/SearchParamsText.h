#pragma once
// The contained-text part of the criteria model, and the match-count part it carries without effect.
#include "engine/UKvrTYPEFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace store {
class TMemIniFileUnicode;
}

namespace engine {
class TFileTypesIFilters;
}

namespace engine::SearchParams {

// One text per mode, of which the current mode's counts. Texts are kept as typed.
class TTextMask {
public:
    explicit TTextMask(const std::wstring& ownerSection);

    const std::wstring& Section() const { return section_; }
    // The modes a choice list offers: "Words", "Phrases" (a stored file can still select the others).
    const std::vector<std::wstring>& MaskTypeList() const { return maskTypeList_; }

    TTextMaskType MaskType() const { return maskType_; }
    void SetMaskType(TTextMaskType type) { maskType_ = type; }
    const std::wstring& Value() const;
    void SetValue(const std::wstring& text);

    // Reading gives the mode's text whatever the current mode; writing also selects the mode.
    const std::wstring& WordsText() const { return texts_[tmWordsText]; }
    const std::wstring& PhrasesText() const { return texts_[tmPhrasesText]; }
    const std::wstring& HexadecimalCode() const { return texts_[tmHexadecimalCode]; }
    const std::wstring& BinaryCode() const { return texts_[tmBinaryCode]; }
    const std::wstring& RegularExpression() const { return texts_[tmRegularExpression]; }
    void SetWordsText(const std::wstring& text) { SetModeText(tmWordsText, text); }
    void SetPhrasesText(const std::wstring& text) { SetModeText(tmPhrasesText, text); }
    void SetHexadecimalCode(const std::wstring& text) { SetModeText(tmHexadecimalCode, text); }
    void SetBinaryCode(const std::wstring& text) { SetModeText(tmBinaryCode, text); }
    void SetRegularExpression(const std::wstring& text) { SetModeText(tmRegularExpression, text); }

    void Reset();
    // The binary text is never stored. Failures of the store pass to the caller.
    void Load(const store::TMemIniFileUnicode& ini);
    void Save(store::TMemIniFileUnicode& ini) const;

private:
    void SetModeText(TTextMaskType type, const std::wstring& text);

    std::wstring section_;
    std::vector<std::wstring> maskTypeList_;
    TTextMaskType maskType_ = tmWordsText;
    std::array<std::wstring, tmRegularExpression + 1> texts_;  // by mode
};

class TSearchText {
    std::wstring section_;  // first: the text mask's section is built from it

public:
    explicit TSearchText(const std::wstring& ownerSection);

    const std::wstring& Section() const { return section_; }
    // The text that means "no text criterion".
    const std::wstring& MaskDefault() const { return maskDefault_; }

    TTextMask TextMask;
    TTextSource TextSource = tsRawFile;  // stored and copied to the matcher, which reads raw bytes anyway
    TMatchText MatchText = mtMatchAny;
    bool WholeWords = true;
    bool CaseSensitive = false;
    bool Without = false;
    bool SkipHiddenFiles = true;
    bool SkipSystemFiles = true;
    bool SkipImageFiles = true;
    bool SkipAudioFiles = true;
    bool SkipVideoFiles = true;

    void Reset();
    // The text-filter selection goes through `filters`, the program's filter registry; without one (before
    // start-up made it) the stored selection is left as it is.
    void Load(const store::TMemIniFileUnicode& ini, TFileTypesIFilters* filters);
    void Save(store::TMemIniFileUnicode& ini, const TFileTypesIFilters* filters) const;

private:
    std::wstring maskDefault_;
};

// Held by the model only: never stored, reset or read by a search.
struct TSearchMatches {
    bool Enabled = false;
    TMatchesType MatchesType = tmUnlimited;
    std::int32_t MaxMatches = 0;
};

} // namespace engine::SearchParams
