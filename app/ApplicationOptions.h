#pragma once
// The program options: which criteria groups and recent lists are kept between runs, where exports go and
// the CSV delimiter. Stored in the options file, one section a part, in a fixed order.
#include <string>
#include <string_view>

#include "engine/CriteriaGroups.h"
#include "store/MemIniFileUnicode.h"

namespace app {

// A Save/Load switch pair stored in a section of its own.
class TOptionsParam {
public:
    TOptionsParam(std::wstring section, bool save, bool load);
    const std::wstring& Section() const { return section_; }
    // A missing or malformed key keeps the current value.
    void LoadFrom(const store::TMemIniFileUnicode& ini);
    void SaveTo(store::TMemIniFileUnicode& ini) const;

    bool Save;
    bool Load;

private:
    std::wstring section_;
};

class TFilesAndFoldersParams : public TOptionsParam {
public:
    explicit TFilesAndFoldersParams(const std::wstring& owner) : TOptionsParam(owner + L"/FilesAndFolders", true, true) {}
};
class TContainingTextParams : public TOptionsParam {
public:
    explicit TContainingTextParams(const std::wstring& owner) : TOptionsParam(owner + L"/ContainingText", true, true) {}
};
class TDateAndSizeParams : public TOptionsParam {
public:
    explicit TDateAndSizeParams(const std::wstring& owner) : TOptionsParam(owner + L"/DateAndSize", false, false) {}
};
class TAttributesParams : public TOptionsParam {
public:
    explicit TAttributesParams(const std::wstring& owner) : TOptionsParam(owner + L"/Attributes", false, false) {}
};

// Whether the criteria are saved and restored as a whole, and per group: a group goes through when both its
// own switch and the whole's are on.
class TOptionsSearchParams : public TOptionsParam, public engine::SearchParams::TCriteriaGroups {
public:
    explicit TOptionsSearchParams(const std::wstring& owner);
    void LoadFrom(const store::TMemIniFileUnicode& ini);
    void SaveTo(store::TMemIniFileUnicode& ini) const;

    bool Loads(engine::SearchParams::TCriteriaGroup group) const override;
    bool Saves(engine::SearchParams::TCriteriaGroup group) const override;

    TFilesAndFoldersParams FilesAndFolders;
    TContainingTextParams ContainingText;
    TDateAndSizeParams DateAndSize;
    TAttributesParams Attributes;

private:
    const TOptionsParam& Group(engine::SearchParams::TCriteriaGroup group) const;
};

// The switches of the recent lists: the whole, then the file-name, search-path and search-text lists.
class TOptionsSearchItems {
public:
    explicit TOptionsSearchItems(const std::wstring& owner);
    const std::wstring& Section() const { return section_; }
    // Every missing or malformed key gives true, whatever the current value.
    void LoadFrom(const store::TMemIniFileUnicode& ini);
    void SaveTo(store::TMemIniFileUnicode& ini) const;

    bool Save = true;
    bool Load = true;
    bool FileNameSave = true;
    bool FileNameLoad = true;
    bool SearchPathSave = true;
    bool SearchPathLoad = true;
    bool SearchTextSave = true;
    bool SearchTextLoad = true;

private:
    struct Switches { const wchar_t* suffix; bool TOptionsSearchItems::*save; bool TOptionsSearchItems::*load; };
    static const Switches switches_[4];
    std::wstring section_;
};

enum TOutputFolder { eofDefault, eofSelected };
std::wstring_view OutputFolderName(TOutputFolder value);
// A text that names neither value (letter case ignored) gives eofDefault.
TOutputFolder OutputFolderFromName(std::wstring_view name);

// An export format's options; the plain formats have none and write no section.
class TExportBase {
public:
    explicit TExportBase(std::wstring section) : section_(std::move(section)) {}
    const std::wstring& Section() const { return section_; }
private:
    std::wstring section_;
};

class TExportToTXTPlain : public TExportBase {
public:
    explicit TExportToTXTPlain(const std::wstring& owner) : TExportBase(owner + L"/TXTPlain") {}
};
class TExportToTXTTab : public TExportBase {
public:
    explicit TExportToTXTTab(const std::wstring& owner) : TExportBase(owner + L"/TXTTab") {}
};
class TExportToHTML : public TExportBase {
public:
    explicit TExportToHTML(const std::wstring& owner) : TExportBase(owner + L"/HTML") {}
};
class TExportToXML : public TExportBase {
public:
    explicit TExportToXML(const std::wstring& owner) : TExportBase(owner + L"/XML") {}
};

class TExportToCSV : public TExportBase {
public:
    explicit TExportToCSV(const std::wstring& owner) : TExportBase(owner + L"/CSV") {}
    // Anything but "," or ";" (a missing key included) gives ",".
    void LoadFrom(const store::TMemIniFileUnicode& ini);
    void SaveTo(store::TMemIniFileUnicode& ini) const;

    std::wstring DelimiterChar = L";";
};

class TOptionsExports {
public:
    explicit TOptionsExports(const std::wstring& owner);
    const std::wstring& Section() const { return section_; }
    void LoadFrom(const store::TMemIniFileUnicode& ini);
    void SaveTo(store::TMemIniFileUnicode& ini) const;

    TOutputFolder OutputFolder = eofDefault;
    std::wstring FolderSelected;
    TExportToTXTPlain TXTPlain;
    TExportToTXTTab TXTTab;
    TExportToCSV CSV;
    TExportToHTML HTML;
    TExportToXML XML;

private:
    std::wstring section_;
};

class TApplicationOptions {
public:
    TApplicationOptions(std::wstring fileName, const std::wstring& prefix);
    const std::wstring& FileName() const { return fileName_; }
    const std::wstring& Section() const { return section_; }

    // Both run even without a file; failures follow the settings-file rule (SettingsFile.h).
    void Load();
    void Save() const;

    TOptionsSearchParams SearchParams;
    TOptionsSearchItems SearchItems;
    TOptionsExports Exports;

private:
    std::wstring fileName_;
    std::wstring section_;
};

} // namespace app
