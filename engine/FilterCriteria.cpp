#include "engine/FilterCriteria.h"

namespace engine {

bool TFilterDateBase::Matches(double time) const {
    if (!Enabled) return true;
    switch (RangeType) {
    case drBetween: return DateFrom <= time && time <= DateTo;
    case drNotBetween: return time < DateFrom || time > DateTo;
    case drNewerThen: return time >= DateBound;
    case drOlderThen: return time <= DateBound;
    default: return true;
    }
}

void TFilterDateBase::Reset() {
    Enabled = false;
    RangeType = drBetween;
}

bool TFilterDate::Matches(double lastWriteTime, double creationTime, double lastAccessTime) const {
    return DateModified.Matches(lastWriteTime) && DateCreation.Matches(creationTime) &&
           DateLastAccess.Matches(lastAccessTime);
}

void TFilterDate::Reset() {
    Enabled = false;
    DateModified.Reset();
    DateCreation.Reset();
    DateLastAccess.Reset();
}

bool TFilterSize::Matches(long double size) const {
    if (!Enabled) return true;
    switch (RangeType) {
    case srBetween: return SizeMin <= size && size <= SizeMax;
    case srNotBetween: return size < SizeMin || size > SizeMax;
    case srLargerThen: return size > SizeMin;
    case srSmallerThen: return size < SizeMin;
    default: return true;
    }
}

void TFilterSize::Reset() {
    Enabled = false;
    RangeType = srBetween;
    SizeMin = SizeMax = 0;
}

void TFilterAttributes::SetValues(TScanAttributes values) {
    if (values == values_) return;
    values_ = values;
    win32Mask_ = ScanAttributesToWin32(values);
}

bool TFilterAttributes::Matches(TScanAttributes attributes) const {
    if (!Enabled) return true;
    switch (MatchAttributes) {
    case maMatchAny: return attributes.Intersects(values_);
    case maMatchOnly: return attributes == values_;
    case maMatchAll: return attributes.ContainsAll(values_);
    default: return true;
    }
}

void TFilterAttributes::Reset() {
    Enabled = false;
    MatchAttributes = maMatchAny;
    SetValues(DefaultValues);
}

} // namespace engine
