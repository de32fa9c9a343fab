#pragma once
// The folder part of the criteria model: the search-path texts turned into the start folders to walk and the
// include and exclude patterns, the check of the start folders before a search, and the subfolder switches.
#include "engine/CriteriaGroups.h"
#include "engine/SearchParamsFiles.h"
#include "engine/SearchParamsNameMask.h"

#include <cstdint>
#include <string>
#include <vector>

namespace store {
class TMemIniFileUnicode;
}

namespace engine::SearchParams {

class TSearchParams;

struct TSearchFoldersInfo {
    static constexpr std::uint8_t KindWalk = 16;
    static constexpr std::uint8_t KindIgnored = 32;  // the user chose Ignore for it

    std::uint8_t Kind = KindWalk;
    std::wstring Path;       // the whole entry, wildcards included; empty for a plain folder
    std::wstring Wildcards;  // the wildcard part split off the entry
};

// One start folder and what the split left of its entry.
struct TSearchFoldersLine {
    std::wstring Folder;
    TSearchFoldersInfo Info;
};

// Splits at the first component with "*" or "?": C:\Data\Sub*\*.doc gives C:\Data and Sub*\*.doc.
// A UNC prefix stays one component.
void SplitWildcardPath(const std::wstring& path, std::wstring& folder, std::wstring& wildcards);
// The path's drive part is a drive letter and colon.
bool HasDriveLetter(const std::wstring& path);

// Include or exclude entries: every line, and the lines as plain folders and as wildcard patterns.
class TSearchFoldersPatterns {
public:
    std::wstring Text() const;
    // Entries without a drive become "*entry*" patterns; a UNC entry counts as rooted, like a drive path.
    void SetText(const std::wstring& text);
    const std::vector<std::wstring>& List() const { return list_; }
    // Takes the lines when they differ; the normal and wildcard lists are left as they are.
    void SetList(const std::vector<std::wstring>& lines);
    const std::vector<std::wstring>& NormalList() const { return normalList_; }
    const std::vector<std::wstring>& WildcardsList() const { return wildcardsList_; }

private:
    std::vector<std::wstring> list_, normalList_, wildcardsList_;
};

class TSearchFolders {
    std::wstring section_;  // first: the parts' sections are built from it

public:
    // `params` is the owning model, whose check event CheckPaths fires; it may be null.
    TSearchFolders(const std::wstring& ownerSection, const TSearchParams* params);

    const std::wstring& Section() const { return section_; }
    const TSearchParams* Params() const { return params_; }

    std::wstring FolderValue;  // the combo text as typed, tags included

    // The texts: entries separated by "|" or double quotes; reading joins the lines with "|".
    std::wstring PathsStartText() const;
    void SetPathsStartText(const std::wstring& text);
    const std::vector<TSearchFoldersLine>& PathsStartList() const { return pathsStartList_; }
    void SetPathsStartList(const std::vector<TSearchFoldersLine>& lines);
    std::int32_t VisualControlItemDefault() const { return visualControlItemDefault_; }

    std::wstring PathsIncludeText() const { return include_.Text(); }
    void SetPathsIncludeText(const std::wstring& text) { include_.SetText(text); }
    const std::vector<std::wstring>& PathsIncludeList() const { return include_.List(); }
    void SetPathsIncludeList(const std::vector<std::wstring>& lines) { include_.SetList(lines); }
    const std::vector<std::wstring>& PathsIncludeNormalList() const { return include_.NormalList(); }
    const std::vector<std::wstring>& PathsIncludeWildcardsList() const { return include_.WildcardsList(); }

    std::wstring PathsExcludeText() const { return exclude_.Text(); }
    void SetPathsExcludeText(const std::wstring& text) { exclude_.SetText(text); }
    const std::vector<std::wstring>& PathsExcludeList() const { return exclude_.List(); }
    void SetPathsExcludeList(const std::vector<std::wstring>& lines) { exclude_.SetList(lines); }
    const std::vector<std::wstring>& PathsExcludeNormalList() const { return exclude_.NormalList(); }
    const std::vector<std::wstring>& PathsExcludeWildcardsList() const { return exclude_.WildcardsList(); }

    // Held only.
    TLenghtRange PathLenght;
    TLenghtRange PathDepht;
    TFolderNameMask DirMask;
    TFolderNameMask DirMaskExclude;
    TLenghtRange DirLenght;
    TSearchAttributes Attributes;
    TSearchAttributes AttributesExclude;

    bool SearchInSubfolders = true;
    bool IncludeHiddenSubfolders = false;

    // Checks every start line, asking the user about a bad one: False (no search) when the user aborts.
    // Each line's kind is decided afresh, so an earlier Ignore does not stay.
    bool CheckPaths();

    void Reset();  // the switches only; the lists and texts stay
    void Load(const store::TMemIniFileUnicode& ini, const TCriteriaGroups& groups);
    void Save(store::TMemIniFileUnicode& ini, const TCriteriaGroups& groups) const;

private:
    void NotifyCheck(const std::wstring& text) const;

    const TSearchParams* params_;
    std::vector<TSearchFoldersLine> pathsStartList_;
    TSearchFoldersPatterns include_, exclude_;
    std::int32_t visualControlItemDefault_ = 0;
};

} // namespace engine::SearchParams
