#pragma once
// The criteria vocabulary: the enumerations shared by the criteria model, the matcher, the walker and the
// windows, their identifier names (the settings files store values by these names), the caption and
// section-suffix tables indexed by them, and the file-attribute set.
#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

namespace engine {

// Every enumeration is one byte, ordinals from 0 in the order listed. The identifiers are part of the file
// format and are spelled exactly as stored ("Lenght", "Then", "Depht" included).
enum TNameMaskType : std::uint8_t { nmSimpleText, nmManualWildcards, nmRegularExpression };
enum TLenghtRangeType : std::uint8_t { lrUnlimited, lrMin, lrMax, lrBetween };
enum TDateTypeType : std::uint8_t { dtModified, dtCreation, dtLastAccess };
enum TDateRangeType : std::uint8_t { drBetween, drNotBetween, drNewerThen, drOlderThen };
enum TDateDelayType : std::uint8_t { ddDate, ddYears, ddMonths, ddWeeks, ddDays, ddHours, ddMinutes, ddSeconds };
enum TSizeRangeType : std::uint8_t { srBetween, srNotBetween, srLargerThen, srSmallerThen };
enum TSizeUnitType : std::uint8_t { suGB, suMB, suKB, suBytes };
enum TMatchAttributes : std::uint8_t { maMatchAny, maMatchOnly, maMatchAll };
enum TTextMaskType : std::uint8_t { tmWordsText, tmPhrasesText, tmHexadecimalCode, tmBinaryCode, tmRegularExpression };
enum TTextSource : std::uint8_t { tsRawFile, tsTextFilter };
enum TMatchText : std::uint8_t { mtMatchAny, mtMatchAll };
enum TMatchesType : std::uint8_t { tmUnlimited, tmLimitedTo };
enum TOperativeMode : std::uint8_t { omCommandLine, omUserGraphicInterface };
enum TUserGraphicInterface : std::uint8_t { ugiEasy, ugiNormal, ugiAdvanced };

enum TScanAttribute : std::uint8_t {
    saReadOnly, saHidden, saSystem, saDirectory, saArchive, saDevice, saNormal, saTemporary,
    saSparseFile, saReparsePoint, saCompressed, saOffLine, saNotIndexed, saEncrypted, saVirtual
};
inline constexpr int ScanAttributeCount = saVirtual + 1;

// The Win32 attribute bit each member stands for, by ordinal (the bits 8 and 32768 have no member).
inline constexpr std::array<DWORD, ScanAttributeCount> ScanAttributeWin32Bits = {
    FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_DIRECTORY,
    FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_DEVICE, FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_TEMPORARY,
    FILE_ATTRIBUTE_SPARSE_FILE, FILE_ATTRIBUTE_REPARSE_POINT, FILE_ATTRIBUTE_COMPRESSED, FILE_ATTRIBUTE_OFFLINE,
    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, FILE_ATTRIBUTE_ENCRYPTED, FILE_ATTRIBUTE_VIRTUAL};

// A set of TScanAttribute, 16 bits wide: bit i holds ordinal i.
class TScanAttributes {
public:
    constexpr TScanAttributes() = default;
    constexpr TScanAttributes(std::initializer_list<TScanAttribute> members) {
        for (TScanAttribute member : members) Include(member);
    }
    static constexpr TScanAttributes FromBits(std::uint16_t bits) {
        TScanAttributes set;
        set.bits_ = static_cast<std::uint16_t>(bits & AllBits);
        return set;
    }
    static constexpr TScanAttributes All() { return FromBits(AllBits); }

    constexpr std::uint16_t Bits() const { return bits_; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool Contains(TScanAttribute member) const { return (bits_ & Bit(member)) != 0; }
    constexpr void Include(TScanAttribute member) { bits_ = static_cast<std::uint16_t>(bits_ | Bit(member)); }
    constexpr void Exclude(TScanAttribute member) { bits_ = static_cast<std::uint16_t>(bits_ & ~Bit(member)); }
    // True when every member of `other` is in this set.
    constexpr bool ContainsAll(TScanAttributes other) const { return (bits_ & other.bits_) == other.bits_; }
    constexpr bool Intersects(TScanAttributes other) const { return (bits_ & other.bits_) != 0; }
    friend constexpr bool operator==(TScanAttributes, TScanAttributes) = default;

private:
    static constexpr std::uint16_t AllBits = (1u << ScanAttributeCount) - 1;
    static constexpr std::uint16_t Bit(TScanAttribute member) { return static_cast<std::uint16_t>(1u << member); }
    std::uint16_t bits_ = 0;
};

// The set as a Win32 attribute mask, and the set of a Win32 mask (bits without a member are ignored).
DWORD ScanAttributesToWin32(TScanAttributes set);
TScanAttributes Win32ToScanAttributes(DWORD mask);

// Identifier names, by ordinal, of each enumeration.
template <typename E> struct Identifiers;
template <> struct Identifiers<TNameMaskType> {
    static constexpr std::array names = {L"nmSimpleText", L"nmManualWildcards", L"nmRegularExpression"};
};
template <> struct Identifiers<TLenghtRangeType> {
    static constexpr std::array names = {L"lrUnlimited", L"lrMin", L"lrMax", L"lrBetween"};
};
template <> struct Identifiers<TDateTypeType> {
    static constexpr std::array names = {L"dtModified", L"dtCreation", L"dtLastAccess"};
};
template <> struct Identifiers<TDateRangeType> {
    static constexpr std::array names = {L"drBetween", L"drNotBetween", L"drNewerThen", L"drOlderThen"};
};
template <> struct Identifiers<TDateDelayType> {
    static constexpr std::array names = {L"ddDate", L"ddYears", L"ddMonths", L"ddWeeks", L"ddDays",
                                          L"ddHours", L"ddMinutes", L"ddSeconds"};
};
template <> struct Identifiers<TSizeRangeType> {
    static constexpr std::array names = {L"srBetween", L"srNotBetween", L"srLargerThen", L"srSmallerThen"};
};
template <> struct Identifiers<TSizeUnitType> {
    static constexpr std::array names = {L"suGB", L"suMB", L"suKB", L"suBytes"};
};
template <> struct Identifiers<TMatchAttributes> {
    static constexpr std::array names = {L"maMatchAny", L"maMatchOnly", L"maMatchAll"};
};
template <> struct Identifiers<TTextMaskType> {
    static constexpr std::array names = {L"tmWordsText", L"tmPhrasesText", L"tmHexadecimalCode",
                                          L"tmBinaryCode", L"tmRegularExpression"};
};
template <> struct Identifiers<TTextSource> {
    static constexpr std::array names = {L"tsRawFile", L"tsTextFilter"};
};
template <> struct Identifiers<TMatchText> {
    static constexpr std::array names = {L"mtMatchAny", L"mtMatchAll"};
};
template <> struct Identifiers<TMatchesType> {
    static constexpr std::array names = {L"tmUnlimited", L"tmLimitedTo"};
};
template <> struct Identifiers<TOperativeMode> {
    static constexpr std::array names = {L"omCommandLine", L"omUserGraphicInterface"};
};
template <> struct Identifiers<TUserGraphicInterface> {
    static constexpr std::array names = {L"ugiEasy", L"ugiNormal", L"ugiAdvanced"};
};
template <> struct Identifiers<TScanAttribute> {
    static constexpr std::array names = {L"saReadOnly", L"saHidden", L"saSystem", L"saDirectory", L"saArchive",
        L"saDevice", L"saNormal", L"saTemporary", L"saSparseFile", L"saReparsePoint", L"saCompressed",
        L"saOffLine", L"saNotIndexed", L"saEncrypted", L"saVirtual"};
};

template <typename E>
constexpr std::span<const wchar_t* const> IdentifierNames() { return Identifiers<E>::names; }

// The identifier name of a value; empty for a value outside the enumeration.
template <typename E>
std::wstring_view IdentifierName(E value) {
    const auto names = IdentifierNames<E>();
    const auto index = static_cast<std::size_t>(value);
    return index < names.size() ? std::wstring_view(names[index]) : std::wstring_view();
}

// The value of an identifier name, compared without regard to case; none for a name that is not one of the
// identifiers, so the caller keeps its current value.
std::optional<std::size_t> IdentifierIndex(std::span<const wchar_t* const> names, std::wstring_view name);

template <typename E>
std::optional<E> IdentifierValue(std::wstring_view name) {
    const auto index = IdentifierIndex(IdentifierNames<E>(), name);
    if (!index) return std::nullopt;
    return static_cast<E>(*index);
}

// Captions of the choice lists and section suffixes of the mode texts, indexed by ordinal.
inline constexpr std::array<const wchar_t*, 3> NameMaskTypeCaptions = {L"Simple", L"Wildcards", L"Reg Exp"};
inline constexpr std::array<const wchar_t*, 3> NameMaskTypeSections = {
    L"/SimpleText", L"/ManualWildcards", L"/RegularExpression"};
inline constexpr std::array<const wchar_t*, 3> DateTypeCaptions = {L"Modified", L"Creation", L"Last Access"};
inline constexpr std::array<const wchar_t*, 4> DateRangeCaptions = {
    L"Between", L"Not Between", L"Newer than", L"Older than"};
inline constexpr std::array<const wchar_t*, 8> DateDelayCaptions = {
    L"Date", L"Years", L"Months", L"Weeks", L"Days", L"Hours", L"Minutes", L"Seconds"};
inline constexpr std::array<const wchar_t*, 4> SizeRangeCaptions = {
    L"Between", L"Not Between", L"Larger than", L"Smaller than"};
inline constexpr std::array<const wchar_t*, 4> SizeUnitCaptions = {L"GB", L"MB", L"KB", L"Bytes"};
inline constexpr std::array<const wchar_t*, 5> TextMaskTypeCaptions = {
    L"Words", L"Phrases", L"Hexadecimal", L"Binary", L"Reg Exp"};
inline constexpr std::array<const wchar_t*, 5> TextMaskTypeSections = {
    L"/WordsText", L"/PhrasesText", L"/HexadecimalCode", L"/BinaryCode", L"/RegularExpression"};

// The choice lists offer only the leading captions (the later modes are reachable through the criteria
// file alone), so a list's item index stays the value's ordinal.
inline constexpr std::size_t NameMaskTypeChoiceCount = 2;  // without "Reg Exp"
inline constexpr std::size_t TextMaskTypeChoiceCount = 2;  // without "Hexadecimal", "Binary", "Reg Exp"

// The published identifier of the IFilter interface.
inline constexpr GUID IID_IFilterInterface = {
    0x89BCB740, 0x6119, 0x101A, {0xBC, 0xB7, 0x00, 0xDD, 0x01, 0x06, 0x55, 0xAF}};

} // namespace engine
