#include "engine/SearchParamsDate.h"

#include "engine/SearchParamsDates.h"
#include "engine/SearchParamsIni.h"
#include "kit/Interaction.h"
#include "store/MemIniFileUnicode.h"

namespace engine::SearchParams {

TSearchDateBase::TSearchDateBase(const std::wstring& ownerSection, const wchar_t* suffix, TDateTypeType type)
    : section_(ownerSection + suffix),
      dateType_(type),
      dateTypeList_(CaptionList(DateTypeCaptions)),
      rangeTypeList_(CaptionList(DateRangeCaptions)),
      delayTypeList_(CaptionList(DateDelayCaptions)) {
    Reset();
}

void TSearchDateBase::Recompute() {
    dateTimeFrom_ = JoinDateTime(valueDateFrom_, valueTimeFrom_);
    dateTimeTo_ = JoinDateTime(valueDateTo_, valueTimeTo_);
    dateTimeDelay_ = JoinDateTime(valueDateDelay_, valueTimeDelay_);
}

// Each joined value is always the join of its two halves, so rebuilding it keeps its other half.
void TSearchDateBase::SetHalf(double& field, double value) {
    if (field == value) return;
    field = value;
    Recompute();
}

void TSearchDateBase::SetValueDateFrom(double value) { SetHalf(valueDateFrom_, value); }
void TSearchDateBase::SetValueTimeFrom(double value) { SetHalf(valueTimeFrom_, value); }
void TSearchDateBase::SetValueDateTo(double value) { SetHalf(valueDateTo_, value); }
void TSearchDateBase::SetValueTimeTo(double value) { SetHalf(valueTimeTo_, value); }
void TSearchDateBase::SetValueDateDelay(double value) { SetHalf(valueDateDelay_, value); }
void TSearchDateBase::SetValueTimeDelay(double value) { SetHalf(valueTimeDelay_, value); }

double TSearchDateBase::GetDelayDateTime() const {
    const double now = kit::UserInteraction().Now();
    const std::int64_t count = ValuePeriodDelayPos;
    switch (DelayType) {
    case ddYears: return MonthsBack(now, count * 12);
    case ddMonths: return MonthsBack(now, count);
    case ddWeeks: return PeriodBack(now, count, 7.0);
    case ddDays: return PeriodBack(now, count, 1.0);
    case ddHours: return PeriodBack(now, count, 1.0 / 24);
    case ddMinutes: return PeriodBack(now, count, 1.0 / (24 * 60));
    case ddSeconds: return PeriodBack(now, count, 1.0 / (24 * 60 * 60));
    case ddDate:
    default: return dateTimeDelay_;
    }
}

void TSearchDateBase::Reset() {
    Enabled = false;
    RangeType = drBetween;
    DelayType = ddDate;
    const double now = kit::UserInteraction().Now();
    valueDateFrom_ = valueDateTo_ = valueDateDelay_ = now;
    valueTimeFrom_ = valueTimeTo_ = valueTimeDelay_ = 0;
    ValuePeriodDelayMin = 1;
    ValuePeriodDelayMax = 32767;
    ValuePeriodDelayPos = 1;
    Recompute();
}

void TSearchDateBase::Load(const store::TMemIniFileUnicode& ini) {
    const double now = kit::UserInteraction().Now();
    const std::wstring picture = UserShortDateFormat();
    auto date = [&](const wchar_t* key) {
        return ParseStoredDate(ini.ReadString(section_, key, L""), picture, now).value_or(now);
    };
    auto time = [&](const wchar_t* key) { return ParseStoredTime(ini.ReadString(section_, key, L"")).value_or(0.0); };

    Enabled = store::ReadIniBoolean(ini, section_, L"Enabled", false);
    RangeType = ReadSelected(ini, section_ + L"/RangeType", drBetween);
    valueDateFrom_ = date(L"ValueDateFrom");
    valueTimeFrom_ = time(L"ValueTimeFrom");
    valueDateTo_ = date(L"ValueDateTo");
    valueTimeTo_ = time(L"ValueTimeTo");
    DelayType = ReadSelected(ini, section_ + L"/DelayType", ddDate);
    valueDateDelay_ = date(L"ValueDateDelay");
    valueTimeDelay_ = time(L"ValueTimeDelay");
    ValuePeriodDelayPos = ini.ReadInteger(section_, L"ValuePeriodDelayPos", 1);
    Recompute();
}

void TSearchDateBase::Save(store::TMemIniFileUnicode& ini) const {
    // The criterion's own section is erased once: its keys are written around the two choice sections.
    ini.EraseSection(section_);
    store::WriteIniBoolean(ini, section_, L"Enabled", Enabled);
    WriteSelected(ini, section_ + L"/RangeType", RangeType);
    ini.WriteString(section_, L"ValueDateFrom", DateToStoredText(valueDateFrom_));
    ini.WriteString(section_, L"ValueTimeFrom", TimeToStoredText(valueTimeFrom_));
    ini.WriteString(section_, L"ValueDateTo", DateToStoredText(valueDateTo_));
    ini.WriteString(section_, L"ValueTimeTo", TimeToStoredText(valueTimeTo_));
    WriteSelected(ini, section_ + L"/DelayType", DelayType);
    ini.WriteString(section_, L"ValueDateDelay", DateToStoredText(valueDateDelay_));
    ini.WriteString(section_, L"ValueTimeDelay", TimeToStoredText(valueTimeDelay_));
    ini.WriteInteger(section_, L"ValuePeriodDelayPos", ValuePeriodDelayPos);
}

TSearchDate::TSearchDate(const std::wstring& ownerSection)
    : section_(ownerSection + L"/Date"), DateModified(section_), DateCreation(section_), DateLastAccess(section_) {}

void TSearchDate::Reset() {
    Enabled = false;
    DateModified.Reset();
    DateCreation.Reset();
    DateLastAccess.Reset();
}

void TSearchDate::Load(const store::TMemIniFileUnicode& ini) {
    Enabled = store::ReadIniBoolean(ini, section_, L"Enabled", false);
    DateModified.Load(ini);
    DateCreation.Load(ini);
    DateLastAccess.Load(ini);
}

void TSearchDate::Save(store::TMemIniFileUnicode& ini) const {
    ini.EraseSection(section_);
    store::WriteIniBoolean(ini, section_, L"Enabled", Enabled);
    DateModified.Save(ini);
    DateCreation.Save(ini);
    DateLastAccess.Save(ini);
}

} // namespace engine::SearchParams
