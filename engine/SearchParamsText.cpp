#include "engine/SearchParamsText.h"

#include "engine/FileTypesIFilters.h"
#include "engine/SearchParamsIni.h"
#include "store/MemIniFileUnicode.h"

namespace engine::SearchParams {
namespace {

const std::wstring NoText;

struct SkipKey {
    const wchar_t* key;
    bool TSearchText::*field;
};
constexpr SkipKey SkipKeys[] = {
    {L"HiddenFiles", &TSearchText::SkipHiddenFiles}, {L"SystemFiles", &TSearchText::SkipSystemFiles},
    {L"ImageFiles", &TSearchText::SkipImageFiles},   {L"AudioFiles", &TSearchText::SkipAudioFiles},
    {L"VideoFiles", &TSearchText::SkipVideoFiles},
};

bool IsStoredMode(std::size_t mode) { return mode != tmBinaryCode; }

} // namespace

TTextMask::TTextMask(const std::wstring& ownerSection)
    : section_(ownerSection + L"/TextMask"),
      maskTypeList_(TextMaskTypeCaptions.begin(), TextMaskTypeCaptions.begin() + TextMaskTypeChoiceCount) {
    Reset();
}

// A mode outside the enumeration (a stray byte) has no text: reads give empty, writes are dropped.
const std::wstring& TTextMask::Value() const { return maskType_ < texts_.size() ? texts_[maskType_] : NoText; }

void TTextMask::SetValue(const std::wstring& text) {
    if (maskType_ < texts_.size()) texts_[maskType_] = text;
}

void TTextMask::SetModeText(TTextMaskType type, const std::wstring& text) {
    maskType_ = type;
    SetValue(text);
}

void TTextMask::Reset() {
    maskType_ = tmWordsText;
    for (std::wstring& text : texts_) text.clear();
}

void TTextMask::Load(const store::TMemIniFileUnicode& ini) {
    maskType_ = ReadSelected(ini, section_ + L"/Type", tmWordsText);
    for (std::size_t mode = 0; mode < texts_.size(); ++mode)
        if (IsStoredMode(mode)) texts_[mode] = ini.ReadString(section_ + TextMaskTypeSections[mode], SelectedKey, L"");
}

void TTextMask::Save(store::TMemIniFileUnicode& ini) const {
    WriteSelected(ini, section_ + L"/Type", maskType_);
    for (std::size_t mode = 0; mode < texts_.size(); ++mode) {
        if (!IsStoredMode(mode)) continue;
        const std::wstring section = section_ + TextMaskTypeSections[mode];
        ini.EraseSection(section);
        ini.WriteString(section, SelectedKey, texts_[mode]);
    }
}

TSearchText::TSearchText(const std::wstring& ownerSection)
    : section_(ownerSection + L"/Text"), TextMask(section_) {
    Reset();
}

void TSearchText::Reset() {
    TextMask.SetMaskType(tmWordsText);
    TextMask.SetValue(maskDefault_);
    TextSource = tsRawFile;
    MatchText = mtMatchAny;
    WholeWords = true;
    CaseSensitive = false;
    Without = false;
    for (const SkipKey& skip : SkipKeys) this->*skip.field = true;
}

void TSearchText::Load(const store::TMemIniFileUnicode& ini, TFileTypesIFilters* filters) {
    WholeWords = store::ReadIniBoolean(ini, section_, L"WholeWords", true);
    CaseSensitive = store::ReadIniBoolean(ini, section_, L"CaseSensitive", false);
    Without = store::ReadIniBoolean(ini, section_, L"Without", false);
    TextSource = ReadSelected(ini, section_ + L"/Source", tsRawFile);
    if (filters) filters->LoadSelection(ini, section_ + L"/IFilters");
    MatchText = ReadSelected(ini, section_ + L"/Match", mtMatchAny);
    TextMask.Load(ini);
    const std::wstring skipSection = section_ + L"/SkipFiles";
    for (const SkipKey& skip : SkipKeys) this->*skip.field = store::ReadIniBoolean(ini, skipSection, skip.key, true);
}

void TSearchText::Save(store::TMemIniFileUnicode& ini, const TFileTypesIFilters* filters) const {
    ini.EraseSection(section_);
    store::WriteIniBoolean(ini, section_, L"WholeWords", WholeWords);
    store::WriteIniBoolean(ini, section_, L"CaseSensitive", CaseSensitive);
    store::WriteIniBoolean(ini, section_, L"Without", Without);
    WriteSelected(ini, section_ + L"/Source", TextSource);
    if (filters) filters->SaveSelection(ini, section_ + L"/IFilters");
    WriteSelected(ini, section_ + L"/Match", MatchText);
    TextMask.Save(ini);
    const std::wstring skipSection = section_ + L"/SkipFiles";
    ini.EraseSection(skipSection);
    for (const SkipKey& skip : SkipKeys) store::WriteIniBoolean(ini, skipSection, skip.key, this->*skip.field);
}

} // namespace engine::SearchParams
