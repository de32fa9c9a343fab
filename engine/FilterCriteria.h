#pragma once
// The matcher's date, size and attribute tests. Each is a pure function of the entry's value and the primed
// criterion; a disabled criterion, or a comparison kind outside the enumeration, matches.
#include "engine/UKvrTYPEFile.h"

namespace engine {

class TFilterDateBase {
public:
    bool Enabled = false;
    TDateTypeType DateType;  // carried; the container decides which time each part gets
    TDateRangeType RangeType = drBetween;
    double DateFrom = 0, DateTo = 0;  // both ends inclusive
    double DateBound = 0;             // the one-sided bound of newer-than and older-than, inclusive

    bool Matches(double time) const;
    void Reset();

protected:
    explicit TFilterDateBase(TDateTypeType type) : DateType(type) {}
};

struct TFilterDateModified : TFilterDateBase {
    TFilterDateModified() : TFilterDateBase(dtModified) {}
};
struct TFilterDateCreation : TFilterDateBase {
    TFilterDateCreation() : TFilterDateBase(dtCreation) {}
};
struct TFilterDateLastAccess : TFilterDateBase {
    TFilterDateLastAccess() : TFilterDateBase(dtLastAccess) {}
};

class TFilterDate {
public:
    bool Enabled = false;  // read by the callers; Matches does not look at it
    TFilterDateModified DateModified;
    TFilterDateCreation DateCreation;
    TFilterDateLastAccess DateLastAccess;

    // Every enabled part must match its time; the first failure decides.
    bool Matches(double lastWriteTime, double creationTime, double lastAccessTime) const;
    void Reset();
};

class TFilterSize {
public:
    bool Enabled = false;
    TSizeRangeType RangeType = srBetween;
    long double SizeMin = 0, SizeMax = 0;  // bytes; the one-sided kinds use SizeMin, strictly

    bool Matches(long double size) const;
    void Reset();
};

class TFilterAttributes {
public:
    bool Enabled = false;
    TMatchAttributes MatchAttributes = maMatchAny;

    TScanAttributes Values() const { return values_; }
    // Keeps Win32Mask in step.
    void SetValues(TScanAttributes values);
    DWORD Win32Mask() const { return win32Mask_; }

    bool Matches(TScanAttributes attributes) const;
    void Reset();

    // Read-only, hidden, system, directory, archive, normal, compressed, encrypted.
    static constexpr TScanAttributes DefaultValues = {saReadOnly, saHidden,   saSystem,    saDirectory,
                                                      saArchive,  saNormal,   saCompressed, saEncrypted};

private:
    TScanAttributes values_;
    DWORD win32Mask_ = 0;
};

} // namespace engine
