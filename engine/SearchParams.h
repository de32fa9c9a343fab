#pragma once
// The criteria model: everything set on the criteria pages, held between searches and kept in the criteria
// file by option group. The main window copies it to and from its controls and primes the matcher from it.
#include "engine/CriteriaGroups.h"
#include "engine/SearchParamsFiles.h"
#include "engine/SearchParamsFolders.h"
#include "engine/SearchParamsText.h"
#include "engine/UKvrTYPEFile.h"

#include <functional>
#include <string>

namespace engine {
class TFileTypesIFilters;
}

namespace engine::SearchParams {

// Fired while the start folders are checked, with "Check Drive: X:" or "Check Path: ..." to show.
using TCheckFolderEvent = std::function<void(const TSearchFolders& sender, const std::wstring& messageInfo)>;

inline constexpr const wchar_t* CriteriaFileName = L"KolvaranParams.ini";

class TSearchParams {
    std::wstring section_ = L"/Params";  // first: the parts' sections are built from it

public:
    TSearchParams();
    // The folder part points back here.
    TSearchParams(const TSearchParams&) = delete;
    TSearchParams& operator=(const TSearchParams&) = delete;

    const std::wstring& Section() const { return section_; }

    // Carried for the callers; no search reads them.
    TOperativeMode OperativeMode = omUserGraphicInterface;
    TUserGraphicInterface UserGraphicInterface = ugiNormal;

    TSearchFiles Files;
    TSearchFolders Folders;
    TSearchText Text;
    TSearchMatches Matches;

    bool ShowFileNames = true;
    bool ShowFoldernames = true;
    bool AppendResults = false;

    TCheckFolderEvent OnCheckFolder;

    // The criteria a person sets; the match count, the held-only parts, the modes and the folder texts stay.
    void Reset();

    // Reads the groups `groups` lets through; a missing file leaves the defaults. A failure deletes the file and
    // keeps what was read before it. The text group carries the selection of `filters`, the program's filter
    // registry (none: the stored selection is left alone).
    void LoadFromFile(const std::wstring& fileName, const TCriteriaGroups& groups, TFileTypesIFilters* filters);
    // Rewrites the header and the groups `groups` lets through; the other sections stay as they were.
    // A failure is swallowed and the last good file stays.
    void SaveToFile(const std::wstring& fileName, const TCriteriaGroups& groups,
                    const TFileTypesIFilters* filters) const;
};

} // namespace engine::SearchParams
