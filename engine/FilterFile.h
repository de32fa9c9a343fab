#pragma once
// The compiled search criteria that decide, for every entry the walker reports, whether it is listed. The
// Search action primes it from the criteria model before each search; after that it is only read.
#include "engine/FilterCriteria.h"
#include "engine/FilterNameMask.h"
#include "engine/FilterText.h"
#include "engine/FoundEntry.h"
#include "engine/UKvrTYPEFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

namespace SearchParams {
class TSearchParams;
}

class TFilterFile;

struct TFilterFiles {
    FilterFile::TNameMask FileMask;
    static inline const std::wstring FileMaskDefault;  // what both masks get on reset: empty
    FilterFile::TNameMask FileMaskExclude;              // carried, read by no test
    FilterFile::TLenghtRange NameLenght;                // carried, read by no test
    TFilterDate Date;
    TFilterSize Size;
    bool AllAttributes = true;                          // carried, read by no test
    TFilterAttributes Attributes;
    TFilterAttributes AttributesExclude;                // carried, read by no test

    void Reset();
};

// Held and reset only: folder restrictions act through the walker.
struct TFilterFolders {
    explicit TFilterFolders(TFilterFile& owner) : Owner(owner) {}

    TFilterFile& Owner;
    std::vector<std::wstring> PathBaseList;
    std::int32_t VisualControlItemDefault = 10;
    std::vector<std::wstring> PathBaseListExclude;
    FilterFile::TLenghtRange PathLenght, PathDepht;
    FilterFile::TNameMask DirMask, DirMaskExclude;
    FilterFile::TLenghtRange DirLenght;
    bool AllAttributes = true;
    TFilterAttributes Attributes, AttributesExclude;
    bool FilterInSubfolders = true;
    bool FilterInHiddenSubfolders = false;

    // The lists as text: every line followed by a double quote. Writing splits at "|" and double quotes
    // (empty parts dropped) and replaces the list only when it differs.
    std::wstring PathBaseText() const;
    void SetPathBaseText(std::wstring_view text);
    std::wstring PathBaseTextExclude() const;
    void SetPathBaseTextExclude(std::wstring_view text);

    void Reset();
};

// Carried, read by no test: no result limit is applied.
struct TFilterMatches {
    bool Enabled = false;
    TMatchesType MatchesType = tmUnlimited;
    std::int32_t MaxMatches = 0;
};

class TFilterFile {
public:
    // The contained-text test classifies files by the built-in groups, which must outlive the matcher.
    explicit TFilterFile(const TFileTypesGroups& groups);
    TFilterFile(const TFilterFile&) = delete;
    TFilterFile& operator=(const TFilterFile&) = delete;

    TOperativeMode OperativeMode = omUserGraphicInterface;        // carried
    TUserGraphicInterface UserGraphicInterface = ugiNormal;       // carried
    TFilterFiles Files;
    TFilterFolders Folders;
    TFilterText Text;
    TFilterMatches Matches;
    bool ShowFolderNames = true;
    bool ShowFileNames = true;
    bool AppendResults = false;

    void Reset();

    // Copies what the criteria model holds for one search, field by field: the shown names, the file mask
    // (its type first, so that the text compiles for it), the dates with their one-sided bounds measured
    // from now, the size, the contained text and the attributes. Nothing else changes. Throws what the
    // mask's compilation throws.
    void Prime(const SearchParams::TSearchParams& params);

    // Whether a reported file is listed: file names shown, then the name mask, the dates (when Files.Date is
    // enabled), the size, the attributes and last the contained text, which reads the file (firing
    // Text.OnFilterText and pumping messages). The first test that fails decides.
    bool FileMatches(const TFoundEntry& file);
    // Whether a reported folder is listed, on its own name: folder names shown, the name mask, the dates
    // (when enabled) and the attributes; never while a size or a contained-text criterion is set.
    bool FolderMatches(const TFoundEntry& folder) const;
};

} // namespace engine
