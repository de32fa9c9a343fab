#pragma once
// The date criteria of the criteria model: one per file time, each with its two-sided range and its
// one-sided delay bound, and the master switch over the three.
#include "engine/UKvrTYPEFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace store {
class TMemIniFileUnicode;
}

namespace engine::SearchParams {

class TSearchDateBase {
public:
    virtual ~TSearchDateBase() = default;

    const std::wstring& Section() const { return section_; }
    TDateTypeType DateType() const { return dateType_; }
    const std::vector<std::wstring>& DateTypeList() const { return dateTypeList_; }
    const std::vector<std::wstring>& RangeTypeList() const { return rangeTypeList_; }
    const std::vector<std::wstring>& DelayTypeList() const { return delayTypeList_; }

    bool Enabled = false;
    TDateRangeType RangeType = drBetween;
    TDateDelayType DelayType = ddDate;
    // The bounds a choice control offers for the delay count; not enforced here.
    std::int32_t ValuePeriodDelayMin = 1;
    std::int32_t ValuePeriodDelayMax = 32767;
    std::int32_t ValuePeriodDelayPos = 1;

    // A "Date" value counts by its date part, a "Time" value by its time part; each writer updates its half
    // of the joined value.
    double ValueDateFrom() const { return valueDateFrom_; }
    double ValueTimeFrom() const { return valueTimeFrom_; }
    double ValueDateTo() const { return valueDateTo_; }
    double ValueTimeTo() const { return valueTimeTo_; }
    double ValueDateDelay() const { return valueDateDelay_; }
    double ValueTimeDelay() const { return valueTimeDelay_; }
    void SetValueDateFrom(double value);
    void SetValueTimeFrom(double value);
    void SetValueDateTo(double value);
    void SetValueTimeTo(double value);
    void SetValueDateDelay(double value);
    void SetValueTimeDelay(double value);

    // The date of the "Date" value at the time of the "Time" value.
    double DateTimeFrom() const { return dateTimeFrom_; }
    double DateTimeTo() const { return dateTimeTo_; }
    double DateTimeDelay() const { return dateTimeDelay_; }

    // The bound of the newer-than and older-than kinds: the delay date, or now moved back by the delay
    // count. Never fails: a period reaching past the calendar gives its earliest (or latest) date.
    double GetDelayDateTime() const;

    void Reset();
    // Failures of the store pass to the caller.
    void Load(const store::TMemIniFileUnicode& ini);
    void Save(store::TMemIniFileUnicode& ini) const;

protected:
    TSearchDateBase(const std::wstring& ownerSection, const wchar_t* suffix, TDateTypeType type);

private:
    void SetHalf(double& field, double value);
    void Recompute();

    std::wstring section_;
    TDateTypeType dateType_;
    std::vector<std::wstring> dateTypeList_, rangeTypeList_, delayTypeList_;
    double valueDateFrom_ = 0, valueTimeFrom_ = 0, valueDateTo_ = 0, valueTimeTo_ = 0;
    double valueDateDelay_ = 0, valueTimeDelay_ = 0;
    double dateTimeFrom_ = 0, dateTimeTo_ = 0, dateTimeDelay_ = 0;
};

class TSearchDateModified : public TSearchDateBase {
public:
    explicit TSearchDateModified(const std::wstring& owner) : TSearchDateBase(owner, L"/Modified", dtModified) {}
};
class TSearchDateCreation : public TSearchDateBase {
public:
    explicit TSearchDateCreation(const std::wstring& owner) : TSearchDateBase(owner, L"/Creation", dtCreation) {}
};
class TSearchDateLastAccess : public TSearchDateBase {
public:
    explicit TSearchDateLastAccess(const std::wstring& owner)
        : TSearchDateBase(owner, L"/LastAccess", dtLastAccess) {}
};

class TSearchDate {
    std::wstring section_;  // first: the criteria's sections are built from it

public:
    explicit TSearchDate(const std::wstring& ownerSection);

    const std::wstring& Section() const { return section_; }

    bool Enabled = false;  // over all three criteria
    TSearchDateModified DateModified;
    TSearchDateCreation DateCreation;
    TSearchDateLastAccess DateLastAccess;

    void Reset();
    void Load(const store::TMemIniFileUnicode& ini);
    void Save(store::TMemIniFileUnicode& ini) const;
};

} // namespace engine::SearchParams
