#include "engine/SearchParams.h"

#include "app/ApplicationOptions.h"
#include "kit/Strings.h"
#include "store/MemIniFileUnicode.h"
#include "store/SettingsFile.h"

namespace engine::SearchParams {
namespace {

bool Loads(const app::TOptionsSearchParams& options, const app::TOptionsParam& group) {
    return options.Load && group.Load;
}
bool Saves(const app::TOptionsSearchParams& options, const app::TOptionsParam& group) {
    return options.Save && group.Save;
}

} // namespace

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

void TSearchParams::LoadFromFile(const std::wstring& fileName, const app::TOptionsSearchParams& options) {
    store::LoadSettingsFile(fileName, [&](const store::TMemIniFileUnicode& ini) {
        if (Loads(options, options.FilesAndFolders)) {
            ShowFileNames = store::ReadIniBoolean(ini, section_, L"ShowFileNames", true);
            ShowFoldernames = store::ReadIniBoolean(ini, section_, L"ShowFoldernames", true);
            AppendResults = store::ReadIniBoolean(ini, section_, L"AppendResults", false);
        }
        Files.Load(ini, options);
        Folders.Load(ini, options);
        if (Loads(options, options.ContainingText)) Text.Load(ini);
    });
}

void TSearchParams::SaveToFile(const std::wstring& fileName, const app::TOptionsSearchParams& options) const {
    store::SaveSettingsFile(fileName, [&](store::TMemIniFileUnicode& ini) {
        // This file's header also carries a description and tags, between the name and the version.
        ini.EraseSection(L"FileIni");
        ini.WriteString(L"FileIni", L"Name", kit::ExtractFileName(fileName));
        ini.WriteString(L"FileIni", L"Description", L"");
        ini.WriteString(L"FileIni", L"Tags", L"");
        ini.WriteString(L"FileIni", L"Version", L"1.0");
        if (Saves(options, options.FilesAndFolders)) {
            ini.EraseSection(section_);
            store::WriteIniBoolean(ini, section_, L"ShowFileNames", ShowFileNames);
            store::WriteIniBoolean(ini, section_, L"ShowFoldernames", ShowFoldernames);
            store::WriteIniBoolean(ini, section_, L"AppendResults", AppendResults);
        }
        Files.Save(ini, options);
        Folders.Save(ini, options);
        if (Saves(options, options.ContainingText)) Text.Save(ini);
    });
}

} // namespace engine::SearchParams
