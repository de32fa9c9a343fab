#include "app/ApplicationSetup.h"

#include <windows.h>
#include <shlobj.h>

#include <utility>
#include <vector>

#include "app/ShellNamespace.h"
#include "kit/Files.h"
#include "kit/Strings.h"
#include "store/MemIniFileUnicode.h"

namespace app {
namespace {

const wchar_t kMakerFolder[] = L"Harbelune";
const wchar_t kProductFolder[] = L"Kolvaran";

struct NameValue {
    std::wstring name;
    std::wstring value;
};

NameValue SplitLine(const std::wstring& line) {
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) return {line, L""};
    return {line.substr(0, equals), line.substr(equals + 1)};
}

std::vector<NameValue> ReadPairs(const store::TMemIniFileUnicode& ini, const std::wstring& section) {
    std::vector<NameValue> pairs;
    for (const auto& line : ini.ReadSectionValues(section)) pairs.push_back(SplitLine(line));
    return pairs;
}

// The recent lists hold the old file's lines while they move; empty again on every way out, so the
// lists stay empty until the main window loads the Items file.
class MigrationLists {
public:
    explicit MigrationLists(TApplicationMRUItems& items)
        : fileMasks(items.FileMask.List(engine::nmManualWildcards).Items),
          folders(items.SearchFolders.FolderValue.Items),
          texts(items.SearchText.List(engine::tmWordsText).Items) {
        Clear();
    }
    ~MigrationLists() { Clear(); }
    MigrationLists(const MigrationLists&) = delete;
    MigrationLists& operator=(const MigrationLists&) = delete;

    std::vector<std::wstring>& fileMasks;
    std::vector<std::wstring>& folders;
    std::vector<std::wstring>& texts;

private:
    void Clear() {
        fileMasks.clear();
        folders.clear();
        texts.clear();
    }
};

std::wstring ReplaceFirst(std::wstring text, std::wstring_view what, std::wstring_view by) {
    const size_t at = text.find(what);
    if (at != std::wstring::npos) text.replace(at, what.size(), by);
    return text;
}

std::wstring JoinFolder(const std::wstring& base, std::initializer_list<const wchar_t*> parts) {
    std::wstring folder = kit::IncludeTrailingPathDelimiter(base);
    for (const wchar_t* part : parts) folder = kit::IncludeTrailingPathDelimiter(folder + part);
    return folder;
}

} // namespace

std::wstring GetAppDataProductFolder() {
    return JoinFolder(GetSpecialFolderPath(CSIDL_APPDATA), {kMakerFolder, kProductFolder});
}

std::wstring GetDocumentsProductFolder() { return JoinFolder(GetSpecialFolderPath(CSIDL_PERSONAL), {kProductFolder}); }

std::wstring TApplicationInit::GetSettingsFolder() { return GetAppDataProductFolder(); }

std::wstring TApplicationInit::GetExportsFolder() { return JoinFolder(GetDocumentsProductFolder(), {L"Exports"}); }

void RenameIniSection(const std::wstring& fileName, const std::wstring& oldSection, const std::wstring& newSection) {
    store::TMemIniFileUnicode ini(fileName);
    if (!ini.SectionExists(oldSection)) return;
    const std::vector<NameValue> pairs = ReadPairs(ini, oldSection);
    ini.EraseSection(oldSection);
    for (const auto& pair : pairs) ini.WriteString(newSection, pair.name, pair.value);
    ini.UpdateFile();
}

TApplicationInit::TApplicationInit(std::wstring exeFileName)
    : SectionPrefix(),
      ExeFileName(std::move(exeFileName)),
      SettingsFolder(GetSettingsFolder()),
      ExportsFolder(GetExportsFolder()),
      LegacyIniFileName(SettingsFolder + L"Kolvaran.ini"),
      PositionIniFileName(SettingsFolder + L"KolvaranPosition.ini"),
      LayoutIniFileName(SettingsFolder + L"KolvaranLayout.ini"),
      ParamsIniFileName(SettingsFolder + L"KolvaranParams.ini"),
      ItemsIniFileName(SettingsFolder + L"KolvaranItems.ini"),
      OptionsIniFileName(SettingsFolder + L"KolvaranOptions.ini"),
      Position(PositionIniFileName, SectionPrefix),
      MRUItems(ItemsIniFileName, SectionPrefix),
      Options(OptionsIniFileName, SectionPrefix) {
    if (!kit::DirectoryExists(SettingsFolder) && !kit::ForceDirectories(SettingsFolder))
        throw InitializationError(L"Unable to Create Application Directory: " + kit::QuotedString(SettingsFolder));
    if (kit::FileExists(LegacyIniFileName)) MigrateLegacySettings();
    RenamePlainTextSections();
    RenameSimpleTextSections();
}

void TApplicationInit::MigrateLegacySettings() {
    MigrationLists lists(MRUItems);
    {
        store::TMemIniFileUnicode legacy(LegacyIniFileName);
        lists.fileMasks = legacy.ReadSectionValues(L"HISTORYFileMask");
        lists.folders = legacy.ReadSectionValues(L"HISTORYPathToSearch");
        lists.texts = legacy.ReadSectionValues(L"HISTORYTextToSearch");
    }

    // The old file goes only once its contents stand in the new files; a failed write keeps it, and the
    // next start migrates again (the writes only replace keys, so a repeat does no harm).
    bool written = true;
    try {
        store::TMemIniFileUnicode items(ItemsIniFileName);
        const std::pair<const wchar_t*, const std::vector<std::wstring>*> sections[] = {
            {L"/Items/Files/FileMask/ManualWildcards", &lists.fileMasks},
            {L"/Items/Folders/FolderValue", &lists.folders},
            {L"/Items/Text/TextMask/SimpleText", &lists.texts},
        };
        for (const auto& [section, lines] : sections) {
            const std::wstring fullSection = SectionPrefix + section;
            for (const auto& line : *lines) {
                const NameValue pair = SplitLine(line);
                items.WriteString(fullSection, ReplaceFirst(pair.name, L"N", L"Number"), pair.value);
            }
            items.WriteInteger(fullSection, L"Count", static_cast<int>(lines->size()));
        }
        items.UpdateFile();
    } catch (const std::exception&) {
        written = false;
    }
    try {
        store::TMemIniFileUnicode params(ParamsIniFileName);
        for (const auto& line : lists.folders) {
            const NameValue pair = SplitLine(line);
            const std::wstring name = ReplaceFirst(ReplaceFirst(pair.name, L"N", L"Number"), L"SELECTED", L"Selected");
            if (name == L"Selected")
                params.WriteString(SectionPrefix + L"/Params/Folders/FolderValue", L"Selected", pair.value);
        }
        params.UpdateFile();
    } catch (const std::exception&) {
        written = false;
    }
    if (written) DeleteFileW(LegacyIniFileName.c_str());
}

void TApplicationInit::RenameSectionIfPossible(const std::wstring& fileName, const std::wstring& oldSection,
                                               const std::wstring& newSection) {
    try {
        RenameIniSection(fileName, SectionPrefix + oldSection, SectionPrefix + newSection);
    } catch (const std::exception&) {
    }
}

void TApplicationInit::RenamePlainTextSections() {
    RenameSectionIfPossible(ItemsIniFileName, L"/Items/Text/TextMask/PlainText", L"/Items/Text/TextMask/SimpleText");
    RenameSectionIfPossible(ParamsIniFileName, L"/Params/Text/TextMask/PlainText", L"/Params/Text/TextMask/SimpleText");
}

void TApplicationInit::RenameSimpleTextSections() {
    RenameSectionIfPossible(ItemsIniFileName, L"/Items/Text/TextMask/SimpleText", L"/Items/Text/TextMask/WordsText");
    RenameSectionIfPossible(ParamsIniFileName, L"/Params/Text/TextMask/SimpleText", L"/Params/Text/TextMask/WordsText");
}

} // namespace app
