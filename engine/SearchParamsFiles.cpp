#include "engine/SearchParamsFiles.h"

#include "engine/SearchParamsIni.h"
#include "store/MemIniFileUnicode.h"

namespace engine::SearchParams {
namespace {

void ResetMask(TFileNameMask& mask, const std::wstring& value) {
    mask.SetMaskType(nmSimpleText);
    mask.SetValue(value);
}

} // namespace

long double SizeToBytes(TSizeUnitType unit, std::int32_t value) {
    if (value <= 0) return 0;
    const long double amount = value;
    switch (unit) {
    case suGB: return amount * 1024.0L * 1024.0L * 1024.0L;
    case suMB: return amount * 1024.0L * 1024.0L;
    case suKB: return amount * 1024.0L;
    case suBytes: return amount;
    }
    return 0;  // a unit outside the enumeration
}

TSearchSize::TSearchSize(const std::wstring& ownerSection)
    : section_(ownerSection + L"/Size"),
      rangeTypeList_(CaptionList(SizeRangeCaptions)),
      unitTypeList_(CaptionList(SizeUnitCaptions)) {
    Reset();
}

void TSearchSize::Recompute() {
    bytesFrom_ = SizeToBytes(unitTypeFrom_, valueFrom_);
    bytesTo_ = SizeToBytes(unitTypeTo_, valueTo_);
}

void TSearchSize::SetUnitTypeFrom(TSizeUnitType unit) {
    unitTypeFrom_ = unit;
    Recompute();
}
void TSearchSize::SetUnitTypeTo(TSizeUnitType unit) {
    unitTypeTo_ = unit;
    Recompute();
}
void TSearchSize::SetValueFrom(std::int32_t value) {
    valueFrom_ = value;
    Recompute();
}
void TSearchSize::SetValueTo(std::int32_t value) {
    valueTo_ = value;
    Recompute();
}

void TSearchSize::Reset() {
    Enabled = false;
    RangeType = srBetween;
    unitTypeFrom_ = unitTypeTo_ = suKB;
    ValueMin = 0;
    ValueMax = 32767;
    valueFrom_ = valueTo_ = 0;
    Recompute();
}

void TSearchSize::Load(const store::TMemIniFileUnicode& ini) {
    Enabled = store::ReadIniBoolean(ini, section_, L"Enabled", false);
    RangeType = ReadSelected(ini, section_ + L"/RangeType", srBetween);
    unitTypeFrom_ = ReadSelected(ini, section_ + L"/UnitTypeFrom", suKB);
    valueFrom_ = ini.ReadInteger(section_, L"ValueFrom", 0);
    unitTypeTo_ = ReadSelected(ini, section_ + L"/UnitTypeTo", suKB);
    valueTo_ = ini.ReadInteger(section_, L"ValueTo", 0);
    Recompute();
}

void TSearchSize::Save(store::TMemIniFileUnicode& ini) const {
    ini.EraseSection(section_);
    store::WriteIniBoolean(ini, section_, L"Enabled", Enabled);
    WriteSelected(ini, section_ + L"/RangeType", RangeType);
    WriteSelected(ini, section_ + L"/UnitTypeFrom", unitTypeFrom_);
    ini.WriteInteger(section_, L"ValueFrom", valueFrom_);
    WriteSelected(ini, section_ + L"/UnitTypeTo", unitTypeTo_);
    ini.WriteInteger(section_, L"ValueTo", valueTo_);
}

TSearchAttributes::TSearchAttributes(const std::wstring& ownerSection) : section_(ownerSection + L"/Attributes") {
    Reset();
}

void TSearchAttributes::SetValues(TScanAttributes values) {
    values_ = values;
    win32Attributes_ = ScanAttributesToWin32(values);
}

void TSearchAttributes::Reset() {
    Enabled = false;
    MatchAttributes = maMatchAny;
    SetValues(DefaultValues);
}

// Each member is a key named after it without its "sa" prefix.
void TSearchAttributes::Load(const store::TMemIniFileUnicode& ini) {
    Enabled = store::ReadIniBoolean(ini, section_, L"Enabled", false);
    MatchAttributes = ReadSelected(ini, section_ + L"/Match", maMatchAny);
    const std::wstring valuesSection = section_ + L"/Values";
    TScanAttributes values;
    for (int i = 0; i < ScanAttributeCount; ++i) {
        const auto member = static_cast<TScanAttribute>(i);
        if (store::ReadIniBoolean(ini, valuesSection, IdentifierName(member).substr(2), false)) values.Include(member);
    }
    SetValues(values);
}

void TSearchAttributes::Save(store::TMemIniFileUnicode& ini) const {
    ini.EraseSection(section_);
    store::WriteIniBoolean(ini, section_, L"Enabled", Enabled);
    WriteSelected(ini, section_ + L"/Match", MatchAttributes);
    const std::wstring valuesSection = section_ + L"/Values";
    ini.EraseSection(valuesSection);
    for (int i = 0; i < ScanAttributeCount; ++i) {
        const auto member = static_cast<TScanAttribute>(i);
        store::WriteIniBoolean(ini, valuesSection, IdentifierName(member).substr(2), values_.Contains(member));
    }
}

TSearchFiles::TSearchFiles(const std::wstring& ownerSection)
    : section_(ownerSection + L"/Files"),
      FileMask(section_),
      FileMaskExclude(section_),
      Date(section_),
      Size(section_),
      Attributes(section_),
      AttributesExclude(section_) {
    Reset();
}

void TSearchFiles::Reset() {
    ResetMask(FileMask, fileMaskDefault_);
    ResetMask(FileMaskExclude, fileMaskDefault_);
}

void TSearchFiles::Load(const store::TMemIniFileUnicode& ini, const TCriteriaGroups& groups) {
    if (groups.Loads(cgFilesAndFolders)) FileMask.Load(ini);
    if (groups.Loads(cgDateAndSize)) {
        Date.Load(ini);
        Size.Load(ini);
    }
    if (groups.Loads(cgAttributes)) Attributes.Load(ini);
}

void TSearchFiles::Save(store::TMemIniFileUnicode& ini, const TCriteriaGroups& groups) const {
    if (groups.Saves(cgFilesAndFolders)) FileMask.Save(ini);
    if (groups.Saves(cgDateAndSize)) {
        Date.Save(ini);
        Size.Save(ini);
    }
    if (groups.Saves(cgAttributes)) Attributes.Save(ini);
}

} // namespace engine::SearchParams
