#include "app/ApplicationOptions.h"

#include "kit/Files.h"
#include "kit/Strings.h"
#include "store/SettingsFile.h"

namespace app {

using engine::SearchParams::TCriteriaGroup;

TOptionsParam::TOptionsParam(std::wstring section, bool save, bool load)
    : Save(save), Load(load), section_(std::move(section)) {}

void TOptionsParam::LoadFrom(const store::TMemIniFileUnicode& ini) {
    Save = store::ReadIniBoolean(ini, section_, L"Save", Save);
    Load = store::ReadIniBoolean(ini, section_, L"Load", Load);
}

void TOptionsParam::SaveTo(store::TMemIniFileUnicode& ini) const {
    ini.EraseSection(section_);
    store::WriteIniBoolean(ini, section_, L"Save", Save);
    store::WriteIniBoolean(ini, section_, L"Load", Load);
}

TOptionsSearchParams::TOptionsSearchParams(const std::wstring& owner)
    : TOptionsParam(owner + L"/Search/Params", true, true),
      FilesAndFolders(Section()),
      ContainingText(Section()),
      DateAndSize(Section()),
      Attributes(Section()) {}

void TOptionsSearchParams::LoadFrom(const store::TMemIniFileUnicode& ini) {
    TOptionsParam::LoadFrom(ini);
    FilesAndFolders.LoadFrom(ini);
    ContainingText.LoadFrom(ini);
    DateAndSize.LoadFrom(ini);
    Attributes.LoadFrom(ini);
}

void TOptionsSearchParams::SaveTo(store::TMemIniFileUnicode& ini) const {
    TOptionsParam::SaveTo(ini);
    FilesAndFolders.SaveTo(ini);
    ContainingText.SaveTo(ini);
    DateAndSize.SaveTo(ini);
    Attributes.SaveTo(ini);
}

bool TOptionsSearchParams::Loads(TCriteriaGroup group) const { return Load && Group(group).Load; }

bool TOptionsSearchParams::Saves(TCriteriaGroup group) const { return Save && Group(group).Save; }

const TOptionsParam& TOptionsSearchParams::Group(TCriteriaGroup group) const {
    switch (group) {
    case engine::SearchParams::cgFilesAndFolders: return FilesAndFolders;
    case engine::SearchParams::cgContainingText: return ContainingText;
    case engine::SearchParams::cgDateAndSize: return DateAndSize;
    case engine::SearchParams::cgAttributes: break;  // no default: a new group fails the build until it has a switch
    }
    return Attributes;
}

const TOptionsSearchItems::Switches TOptionsSearchItems::switches_[4] = {
    {L"", &TOptionsSearchItems::Save, &TOptionsSearchItems::Load},
    {L"/FileName", &TOptionsSearchItems::FileNameSave, &TOptionsSearchItems::FileNameLoad},
    {L"/SearchPath", &TOptionsSearchItems::SearchPathSave, &TOptionsSearchItems::SearchPathLoad},
    {L"/SearchText", &TOptionsSearchItems::SearchTextSave, &TOptionsSearchItems::SearchTextLoad},
};

TOptionsSearchItems::TOptionsSearchItems(const std::wstring& owner) : section_(owner + L"/Search/Items") {}

void TOptionsSearchItems::LoadFrom(const store::TMemIniFileUnicode& ini) {
    for (const auto& s : switches_) {
        const std::wstring section = section_ + s.suffix;
        this->*s.save = store::ReadIniBoolean(ini, section, L"Save", true);
        this->*s.load = store::ReadIniBoolean(ini, section, L"Load", true);
    }
}

void TOptionsSearchItems::SaveTo(store::TMemIniFileUnicode& ini) const {
    for (const auto& s : switches_) {
        const std::wstring section = section_ + s.suffix;
        ini.EraseSection(section);
        store::WriteIniBoolean(ini, section, L"Save", this->*s.save);
        store::WriteIniBoolean(ini, section, L"Load", this->*s.load);
    }
}

std::wstring_view OutputFolderName(TOutputFolder value) {
    return value == eofSelected ? L"eofSelected" : L"eofDefault";
}

TOutputFolder OutputFolderFromName(std::wstring_view name) {
    return kit::SameText(name, L"eofSelected") ? eofSelected : eofDefault;
}

void TExportToCSV::LoadFrom(const store::TMemIniFileUnicode& ini) {
    DelimiterChar = ini.ReadString(Section(), L"DelimiterChar", L"");
    if (DelimiterChar != L"," && DelimiterChar != L";") DelimiterChar = L",";
}

void TExportToCSV::SaveTo(store::TMemIniFileUnicode& ini) const {
    ini.EraseSection(Section());
    ini.WriteString(Section(), L"DelimiterChar", DelimiterChar);
}

TOptionsExports::TOptionsExports(const std::wstring& owner)
    : TXTPlain(owner + L"/Exports"),
      TXTTab(owner + L"/Exports"),
      CSV(owner + L"/Exports"),
      HTML(owner + L"/Exports"),
      XML(owner + L"/Exports"),
      section_(owner + L"/Exports") {}

void TOptionsExports::LoadFrom(const store::TMemIniFileUnicode& ini) {
    OutputFolder = OutputFolderFromName(ini.ReadString(section_, L"OutputFolder", L""));
    FolderSelected = ini.ReadString(section_, L"FolderSelected", L"");
    // The Options dialog takes none but a full path; one written by hand or by an older version that is relative
    // would name wherever the current directory is at an export, so it is read as none.
    if (!kit::IsFullyQualifiedPath(FolderSelected)) FolderSelected.clear();
    CSV.LoadFrom(ini);  // the other formats store nothing
}

void TOptionsExports::SaveTo(store::TMemIniFileUnicode& ini) const {
    ini.EraseSection(section_);
    ini.WriteString(section_, L"OutputFolder", OutputFolderName(OutputFolder));
    ini.WriteString(section_, L"FolderSelected", FolderSelected);
    CSV.SaveTo(ini);
}

TApplicationOptions::TApplicationOptions(std::wstring fileName, const std::wstring& prefix)
    : SearchParams(prefix + L"/Options"),
      SearchItems(prefix + L"/Options"),
      Exports(prefix + L"/Options"),
      fileName_(std::move(fileName)),
      section_(prefix + L"/Options") {}

void TApplicationOptions::Load() {
    store::LoadSettingsFile(fileName_, [this](const store::TMemIniFileUnicode& ini) {
        SearchParams.LoadFrom(ini);
        SearchItems.LoadFrom(ini);
        Exports.LoadFrom(ini);
    });
}

void TApplicationOptions::Save() const {
    store::SaveSettingsFile(fileName_, [this](store::TMemIniFileUnicode& ini) {
        SearchParams.SaveTo(ini);
        SearchItems.SaveTo(ini);
        Exports.SaveTo(ini);
    });
}

} // namespace app
