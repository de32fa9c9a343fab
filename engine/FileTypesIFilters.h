#pragma once
// The document types for which the system has a registered content filter (IFilter), found by a registry scan
// shortly after start, and the user's selection of them. The filters themselves are never loaded.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/FileTypesGroups.h"
#include "store/MemIniFileUnicode.h"

namespace engine {

class TFileTypeIFilter;

struct TIFilterInfo {
    TFileTypeIFilter* Category = nullptr;  // not owned
    std::wstring Extension;                // upper-cased, with its "."
    int IconIndex = 0;                     // in the small system image list
    std::wstring TypeName;
    std::wstring ProgID;
    std::wstring ContentType;
    std::wstring PerceivedType;
    std::wstring FilterDll;                // environment variables expanded
    std::wstring FilterDescription;        // "(Not Defined)" when the filter class has none
    bool Selected = true;
    bool SelectedDefault = true;
};

// One category of catalogued extensions, in scan order.
class TFileTypeIFilter {
public:
    explicit TFileTypeIFilter(std::wstring name) : name_(std::move(name)) {}

    const std::wstring& Name() const { return name_; }
    // The position of `ext` (letter case ignored), -1 when absent.
    int IndexOf(std::wstring_view ext) const;
    const std::vector<TIFilterInfo*>& Infos() const { return infos_; }

    bool SelectedAll = false;
    bool SelectedAllLoaded = false;  // the value last read from the file
    // "Default" (every type selected) or the selected extensions joined by "|".
    std::wstring Selected = L"Default";

private:
    friend class TFileTypesIFilters;
    std::wstring name_;
    std::vector<TIFilterInfo*> infos_;
};

class TFileTypesIFilters {
public:
    // Arms the one-shot scan: it runs 100 ms after the message loop starts. `groups` must outlive this object.
    explicit TFileTypesIFilters(const TFileTypesGroups& groups);
    ~TFileTypesIFilters();
    TFileTypesIFilters(const TFileTypesIFilters&) = delete;
    TFileTypesIFilters& operator=(const TFileTypesIFilters&) = delete;

    // The "DocumentFiles" selection in the section `path` + "/DocumentFiles" of an open store. Failures of the
    // store reach the caller.
    void LoadSelection(const store::TMemIniFileUnicode& ini, const std::wstring& path);
    void SaveSelection(store::TMemIniFileUnicode& ini, const std::wstring& path) const;

    // True once the scan has run and the selection was applied to its result.
    bool Scanned() const { return scanned_; }

    // Every catalogued info is in AllFiles and in its own category; only DocumentFiles is ever filled.
    TFileTypeIFilter AllFiles{L"AllFiles"};
    TFileTypeIFilter TextFiles{L"TextFiles"};
    TFileTypeIFilter DeveloperFiles{L"DeveloperFiles"};
    TFileTypeIFilter InternetFiles{L"InternetFiles"};
    TFileTypeIFilter EmailsFiles{L"EmailsFiles"};
    TFileTypeIFilter DocumentFiles{L"DocumentFiles"};
    TFileTypeIFilter ImageFiles{L"ImageFiles"};
    TFileTypeIFilter AudioFiles{L"AudioFiles"};
    TFileTypeIFilter VideoFiles{L"VideoFiles"};
    TFileTypeIFilter CompressedFiles{L"CompressedFiles"};
    TFileTypeIFilter SystemFiles{L"SystemFiles"};
    TFileTypeIFilter UndefinedFiles{L"UndefinedFiles"};

private:
    class ScanTimer;

    void OnTimer();
    void Scan();
    void Catalogue(std::unique_ptr<TIFilterInfo> info, TFileTypeIFilter& category);
    void ApplySelection();
    // The extensions of the selected infos, in list order, joined by "|".
    std::wstring SelectedExtensions() const;

    const TFileTypesGroups& groups_;
    std::vector<std::unique_ptr<TIFilterInfo>> owned_;  // every info once; the categories point into it
    bool scanned_ = false;
    std::unique_ptr<ScanTimer> timer_;
};

} // namespace engine
