#include "engine/SearchParamsNameMask.h"

#include "engine/MultiMasks.h"
#include "engine/MultiTexts.h"
#include "kit/Exception.h"
#include "kit/Interaction.h"
#include "store/MemIniFileUnicode.h"

namespace engine::SearchParams {
namespace {

constexpr const wchar_t* Key = L"Selected";

const std::wstring NoText;

} // namespace

TNameMask::TNameMask(std::wstring section)
    : section_(std::move(section)),
      maskTypeList_(NameMaskTypeCaptions.begin(), NameMaskTypeCaptions.begin() + NameMaskTypeChoiceCount) {
    Reset();
}

// A mode outside the enumeration (a stray byte) has no text: reads give empty, writes are dropped.
const std::wstring& TNameMask::Value() const { return maskType_ < texts_.size() ? texts_[maskType_] : NoText; }

void TNameMask::SetValue(const std::wstring& text) {
    if (maskType_ >= texts_.size()) return;
    const bool everyName = (maskType_ == nmSimpleText || maskType_ == nmManualWildcards) &&
                           (text == L"*" || text == L"*.*");
    texts_[maskType_] = everyName ? std::wstring() : text;
}

void TNameMask::SetModeText(TNameMaskType type, const std::wstring& text) {
    maskType_ = type;
    SetValue(text);
}

bool TNameMask::IsValid() const {
    const wchar_t* fault = nullptr;
    try {
        if (maskType_ == nmSimpleText && !SimpleText().empty()) {
            fault = L"Invalid 'Simple Text' File Mask.";
            TMultiTexts check(SimpleText());
        } else if (maskType_ == nmManualWildcards && !ManualWildcards().empty()) {
            fault = L"Invalid 'Wildcards' File Mask.";
            TMultiMasks check(ManualWildcards(), true, SeparatorMode::FileNameSeparators);
        }
        return true;
    } catch (const std::exception& e) {
        kit::UserInteraction().ShowMessage(nullptr, std::wstring(fault) + L"\r\n" + kit::ExceptionMessage(e),
                                           kit::MessageType::Warning, kit::MessageButtons::Ok);
        return false;
    }
}

void TNameMask::Reset() {
    maskType_ = nmSimpleText;
    for (std::wstring& text : texts_) text.clear();
}

void TNameMask::Load(const store::TMemIniFileUnicode& ini) {
    const std::wstring type = ini.ReadString(section_ + L"/Type", Key, IdentifierName(nmSimpleText));
    maskType_ = IdentifierValue<TNameMaskType>(type).value_or(nmSimpleText);
    // Stored texts are taken as they are: the "*" rule of Value is for typing.
    for (std::size_t mode = 0; mode < texts_.size(); ++mode)
        texts_[mode] = ini.ReadString(section_ + NameMaskTypeSections[mode], Key, L"");
}

void TNameMask::Save(store::TMemIniFileUnicode& ini) const {
    auto write = [&](const std::wstring& section, std::wstring_view value) {
        ini.EraseSection(section);
        ini.WriteString(section, Key, value);
    };
    write(section_ + L"/Type", IdentifierName(maskType_));
    for (std::size_t mode = 0; mode < texts_.size(); ++mode)
        write(section_ + NameMaskTypeSections[mode], texts_[mode]);
}

} // namespace engine::SearchParams
