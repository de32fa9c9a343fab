#include "engine/SearchParams.h"

#include "kit/Strings.h"
#include "store/MemIniFileUnicode.h"
#include "store/SettingsFile.h"

namespace engine::SearchParams {

TSearchParams::TSearchParams() : Files(section_), Folders(section_, this), Text(section_) { Reset(); }

void TSearchParams::Reset() {
    ShowFileNames = true;
    ShowFoldernames = true;
    AppendResults = false;
    Files.Reset();
    Folders.Reset();
    Text.Reset();
    Files.Date.Reset();
    Files.Size.Reset();
    Files.Attributes.Reset();
}

void TSearchParams::LoadFromFile(const std::wstring& fileName, const TCriteriaGroups& groups,
                                 TFileTypesIFilters* filters) {
    store::LoadSettingsFile(fileName, [&](const store::TMemIniFileUnicode& ini) {
        if (groups.Loads(cgFilesAndFolders)) {
            ShowFileNames = store::ReadIniBoolean(ini, section_, L"ShowFileNames", true);
            ShowFoldernames = store::ReadIniBoolean(ini, section_, L"ShowFoldernames", true);
            AppendResults = store::ReadIniBoolean(ini, section_, L"AppendResults", false);
        }
        Files.Load(ini, groups);
        Folders.Load(ini, groups);
        if (groups.Loads(cgContainingText)) Text.Load(ini, filters);
    });
}

void TSearchParams::SaveToFile(const std::wstring& fileName, const TCriteriaGroups& groups,
                               const TFileTypesIFilters* filters) const {
    store::SaveSettingsFile(fileName, [&](store::TMemIniFileUnicode& ini) {
        // This file's header also carries a description and tags, between the name and the version.
        ini.EraseSection(L"FileIni");
        ini.WriteString(L"FileIni", L"Name", kit::ExtractFileName(fileName));
        ini.WriteString(L"FileIni", L"Description", L"");
        ini.WriteString(L"FileIni", L"Tags", L"");
        ini.WriteString(L"FileIni", L"Version", L"1.0");
        if (groups.Saves(cgFilesAndFolders)) {
            ini.EraseSection(section_);
            store::WriteIniBoolean(ini, section_, L"ShowFileNames", ShowFileNames);
            store::WriteIniBoolean(ini, section_, L"ShowFoldernames", ShowFoldernames);
            store::WriteIniBoolean(ini, section_, L"AppendResults", AppendResults);
        }
        Files.Save(ini, groups);
        Folders.Save(ini, groups);
        if (groups.Saves(cgContainingText)) Text.Save(ini, filters);
    });
}

} // namespace engine::SearchParams
