#pragma once
// The file part of the criteria model: the name mask, the date, size and attribute criteria, and the parts
// the model carries without effect (the exclude mask and attributes, the name length).
#include "engine/CriteriaGroups.h"
#include "engine/FilterCriteria.h"
#include "engine/SearchParamsDate.h"
#include "engine/SearchParamsNameMask.h"
#include "engine/UKvrTYPEFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace store {
class TMemIniFileUnicode;
}

namespace engine::SearchParams {

// The value in bytes, in 80-bit floating point; 0 for a value of 0 or less.
long double SizeToBytes(TSizeUnitType unit, std::int32_t value);

class TSearchSize {
public:
    explicit TSearchSize(const std::wstring& ownerSection);

    const std::wstring& Section() const { return section_; }
    const std::vector<std::wstring>& RangeTypeList() const { return rangeTypeList_; }
    const std::vector<std::wstring>& UnitTypeList() const { return unitTypeList_; }

    bool Enabled = false;
    TSizeRangeType RangeType = srBetween;
    // The bounds a choice control offers for the values; not enforced here.
    std::int32_t ValueMin = 0;
    std::int32_t ValueMax = 32767;

    // Each writer keeps the matching byte bound in step.
    TSizeUnitType UnitTypeFrom() const { return unitTypeFrom_; }
    TSizeUnitType UnitTypeTo() const { return unitTypeTo_; }
    std::int32_t ValueFrom() const { return valueFrom_; }
    std::int32_t ValueTo() const { return valueTo_; }
    void SetUnitTypeFrom(TSizeUnitType unit);
    void SetUnitTypeTo(TSizeUnitType unit);
    void SetValueFrom(std::int32_t value);
    void SetValueTo(std::int32_t value);
    long double BytesFrom() const { return bytesFrom_; }
    long double BytesTo() const { return bytesTo_; }

    void Reset();
    // Failures of the store pass to the caller.
    void Load(const store::TMemIniFileUnicode& ini);
    void Save(store::TMemIniFileUnicode& ini) const;

private:
    void Recompute();

    std::wstring section_;
    std::vector<std::wstring> rangeTypeList_, unitTypeList_;
    TSizeUnitType unitTypeFrom_ = suKB, unitTypeTo_ = suKB;
    std::int32_t valueFrom_ = 0, valueTo_ = 0;
    long double bytesFrom_ = 0, bytesTo_ = 0;
};

class TSearchAttributes {
public:
    explicit TSearchAttributes(const std::wstring& ownerSection);

    const std::wstring& Section() const { return section_; }

    bool Enabled = false;
    TMatchAttributes MatchAttributes = maMatchAny;

    TScanAttributes Values() const { return values_; }
    void SetValues(TScanAttributes values);  // keeps Win32Attributes in step
    DWORD Win32Attributes() const { return win32Attributes_; }

    void Reset();
    void Load(const store::TMemIniFileUnicode& ini);
    void Save(store::TMemIniFileUnicode& ini) const;

    // The set the matcher also starts from.
    static constexpr TScanAttributes DefaultValues = TFilterAttributes::DefaultValues;

private:
    std::wstring section_;
    TScanAttributes values_;
    DWORD win32Attributes_ = 0;
};

class TSearchFiles {
    std::wstring section_;  // first: the parts' sections are built from it

public:
    explicit TSearchFiles(const std::wstring& ownerSection);

    const std::wstring& Section() const { return section_; }
    const std::wstring& FileMaskDefault() const { return fileMaskDefault_; }

    TFileNameMask FileMask;
    TFileNameMask FileMaskExclude;  // held only
    TLenghtRange NameLenght;        // held only
    TSearchDate Date;
    TSearchSize Size;
    TSearchAttributes Attributes;
    TSearchAttributes AttributesExclude;  // held only

    // The two file masks only; the criteria model resets the other parts.
    void Reset();
    // Each part by its option group.
    void Load(const store::TMemIniFileUnicode& ini, const TCriteriaGroups& groups);
    void Save(store::TMemIniFileUnicode& ini, const TCriteriaGroups& groups) const;

private:
    std::wstring fileMaskDefault_;
};

} // namespace engine::SearchParams
