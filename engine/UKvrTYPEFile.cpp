#include "engine/UKvrTYPEFile.h"

#include "kit/Strings.h"

namespace engine {

// Each name table must list every value of its enumeration.
static_assert(Identifiers<TNameMaskType>::names.size() == nmRegularExpression + 1);
static_assert(Identifiers<TLenghtRangeType>::names.size() == lrBetween + 1);
static_assert(Identifiers<TDateTypeType>::names.size() == dtLastAccess + 1);
static_assert(Identifiers<TDateRangeType>::names.size() == drOlderThen + 1);
static_assert(Identifiers<TDateDelayType>::names.size() == ddSeconds + 1);
static_assert(Identifiers<TSizeRangeType>::names.size() == srSmallerThen + 1);
static_assert(Identifiers<TSizeUnitType>::names.size() == suBytes + 1);
static_assert(Identifiers<TMatchAttributes>::names.size() == maMatchAll + 1);
static_assert(Identifiers<TTextMaskType>::names.size() == tmRegularExpression + 1);
static_assert(Identifiers<TTextSource>::names.size() == tsTextFilter + 1);
static_assert(Identifiers<TMatchText>::names.size() == mtMatchAll + 1);
static_assert(Identifiers<TMatchesType>::names.size() == tmLimitedTo + 1);
static_assert(Identifiers<TOperativeMode>::names.size() == omUserGraphicInterface + 1);
static_assert(Identifiers<TUserGraphicInterface>::names.size() == ugiAdvanced + 1);
static_assert(Identifiers<TScanAttribute>::names.size() == ScanAttributeCount);

DWORD ScanAttributesToWin32(TScanAttributes set) {
    DWORD mask = 0;
    for (int i = 0; i < ScanAttributeCount; ++i)
        if (set.Contains(static_cast<TScanAttribute>(i))) mask |= ScanAttributeWin32Bits[i];
    return mask;
}

TScanAttributes Win32ToScanAttributes(DWORD mask) {
    TScanAttributes set;
    for (int i = 0; i < ScanAttributeCount; ++i)
        if (mask & ScanAttributeWin32Bits[i]) set.Include(static_cast<TScanAttribute>(i));
    return set;
}

std::optional<std::size_t> IdentifierIndex(std::span<const wchar_t* const> names, std::wstring_view name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (kit::SameText(names[i], name)) return i;
    return std::nullopt;
}

} // namespace engine
