#include "app/ApplicationOptions.h"

#include "app/SettingsFile.h"
#include "kit/Strings.h"

namespace app {

TOptionsParam::TOptionsParam(std::wstring section, bool save, bool load)
    : Save(save), Load(load), section_(std::move(section)) {}

void TOptionsParam::LoadFrom(const TMemIniFileUnicode& ini) {
    Save = ReadIniBoolean(ini, section_, L"Save", Save);
    Load = ReadIniBoolean(ini, section_, L"Load", Load);
}

void TOptionsParam::SaveTo(TMemIniFileUnicode& ini) const {
    ini.EraseSection(section_);
    WriteIniBoolean(ini, section_, L"Save", Save);
    WriteIniBoolean(ini, section_, L"Load", Load);
}

TOptionsSearchParams::TOptionsSearchParams(const std::wstring& owner)
    : TOptionsParam(owner + L"/Search/Params", true, true),
      FilesAndFolders(Section()),
      ContainingText(Section()),
      DateAndSize(Section()),
      Attributes(Section()) {}

void TOptionsSearchParams::LoadFrom(const TMemIniFileUnicode& ini) {
    TOptionsParam::LoadFrom(ini);
    FilesAndFolders.LoadFrom(ini);
    ContainingText.LoadFrom(ini);
    DateAndSize.LoadFrom(ini);
    Attributes.LoadFrom(ini);
}

void TOptionsSearchParams::SaveTo(TMemIniFileUnicode& ini) const {
    TOptionsParam::SaveTo(ini);
    FilesAndFolders.SaveTo(ini);
    ContainingText.SaveTo(ini);
    DateAndSize.SaveTo(ini);
    Attributes.SaveTo(ini);
}

const TOptionsSearchItems::Switches TOptionsSearchItems::switches_[4] = {
    {L"", &TOptionsSearchItems::Save, &TOptionsSearchItems::Load},
    {L"/FileName", &TOptionsSearchItems::FileNameSave, &TOptionsSearchItems::FileNameLoad},
    {L"/SearchPath", &TOptionsSearchItems::SearchPathSave, &TOptionsSearchItems::SearchPathLoad},
    {L"/SearchText", &TOptionsSearchItems::SearchTextSave, &TOptionsSearchItems::SearchTextLoad},
};

TOptionsSearchItems::TOptionsSearchItems(const std::wstring& owner) : section_(owner + L"/Search/Items") {}

void TOptionsSearchItems::LoadFrom(const TMemIniFileUnicode& ini) {
    for (const auto& s : switches_) {
        const std::wstring section = section_ + s.suffix;
        this->*s.save = ReadIniBoolean(ini, section, L"Save", true);
        this->*s.load = ReadIniBoolean(ini, section, L"Load", true);
    }
}

void TOptionsSearchItems::SaveTo(TMemIniFileUnicode& ini) const {
    for (const auto& s : switches_) {
        const std::wstring section = section_ + s.suffix;
        ini.EraseSection(section);
        WriteIniBoolean(ini, section, L"Save", this->*s.save);
        WriteIniBoolean(ini, section, L"Load", this->*s.load);
    }
}

std::wstring_view OutputFolderName(TOutputFolder value) {
    return value == eofSelected ? L"eofSelected" : L"eofDefault";
}

TOutputFolder OutputFolderFromName(std::wstring_view name) {
    return kit::SameText(name, L"eofSelected") ? eofSelected : eofDefault;
}

void TExportToCSV::LoadFrom(const TMemIniFileUnicode& ini) {
    DelimiterChar = ini.ReadString(Section(), L"DelimiterChar", L"");
    if (DelimiterChar != L"," && DelimiterChar != L";") DelimiterChar = L",";
}

void TExportToCSV::SaveTo(TMemIniFileUnicode& ini) const {
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

void TOptionsExports::LoadFrom(const TMemIniFileUnicode& ini) {
    OutputFolder = OutputFolderFromName(ini.ReadString(section_, L"OutputFolder", L""));
    FolderSelected = ini.ReadString(section_, L"FolderSelected", L"");
    CSV.LoadFrom(ini);  // the other formats store nothing
}

void TOptionsExports::SaveTo(TMemIniFileUnicode& ini) const {
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
    LoadSettingsFile(fileName_, [this](const TMemIniFileUnicode& ini) {
        SearchParams.LoadFrom(ini);
        SearchItems.LoadFrom(ini);
        Exports.LoadFrom(ini);
    });
}

void TApplicationOptions::Save() const {
    SaveSettingsFile(fileName_, [this](TMemIniFileUnicode& ini) {
        SearchParams.SaveTo(ini);
        SearchItems.SaveTo(ini);
        Exports.SaveTo(ini);
    });
}

} // namespace app
