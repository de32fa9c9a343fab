#pragma once
// The matcher's contained-text test, run last for every file that passed the name, date, size and
// attribute tests. It reads the raw file whatever TextSource says: no text-filter component is used.
#include "engine/FileTypesGroups.h"
#include "engine/TextScanner.h"
#include "engine/UKvrTYPEFile.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace engine::FilterFile {

struct TTextMask {
    std::wstring Value;
    TTextMaskType MaskType = tmWordsText;
};

} // namespace engine::FilterFile

namespace engine {

// The items of a search text, in order: words split at blanks, phrases at "|" (each trimmed), both also
// at line breaks; empty items are dropped. None for the other modes, or when an item is longer than
// MaxSearchItemLength.
std::optional<std::vector<std::wstring>> SplitSearchItems(std::wstring_view text, TTextMaskType type);

class TFilterText;
using TFilterTextEvent = std::function<void(TFilterText& sender, const std::wstring& messageInfo)>;

class TFilterText {
public:
    // The skip rules classify files by the built-in groups; they must outlive this object.
    explicit TFilterText(const TFileTypesGroups& groups) : groups_(groups) {}
    TFilterText(const TFilterText&) = delete;
    TFilterText& operator=(const TFilterText&) = delete;

    FilterFile::TTextMask TextMask;
    std::wstring MaskDefault;       // the text that means "no text criterion"
    TMatchText MatchText = mtMatchAny;
    bool WholeWords = true;
    bool CaseSensitive = false;
    bool Without = false;           // list the files that do not contain the text
    bool SkipHiddenFiles = true;
    bool SkipSystemFiles = true;
    bool SkipImageFiles = true;
    bool SkipAudioFiles = true;
    bool SkipVideoFiles = true;
    TTextSource TextSource = tsRawFile;  // carried, without effect
    bool Active = false;                 // carried, read by no test
    // Fired with the file's path just before its content is searched.
    TFilterTextEvent OnFilterText;

    // Everything but TextMask back to the starting values.
    void Reset();

    // `folder` ends in "\". A file that cannot be opened or read is never listed, with or without Without.
    bool Matches(const std::wstring& folder, const std::wstring& name, TScanAttributes attributes);

private:
    // True when a skip rule leaves the file out, whatever Without says.
    bool Skipped(const std::wstring& name, TScanAttributes attributes) const;
    // The items of the current text, compiled once for as long as the text, mode and case stay; null when
    // the text gives no searchable items.
    const std::vector<TSearchItem>* Items();

    const TFileTypesGroups& groups_;
    TTextScanner scanner_;
    struct Compiled {
        std::wstring value;
        TTextMaskType type;
        bool caseSensitive;
        std::optional<std::vector<TSearchItem>> items;
    };
    std::optional<Compiled> compiled_;
};

} // namespace engine
