#include <gtest/gtest.h>

#include "app/ApplicationOptions.h"
#include "engine/FileTypesGroups.h"
#include "engine/FileTypesIFilters.h"
#include "engine/SearchParams.h"
#include "kit/Files.h"
#include "store/MemIniFileUnicode.h"
#include "tests/engine/CalendarFixture.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"

using namespace engine;
using namespace engine::SearchParams;
using testsupport::At;

namespace {

// A filter registry for the test, as start-up makes the program's (its scan never runs here).
class IFiltersRegistry {
public:
    IFiltersRegistry() : filters_(groups_) {}
    TFileTypesIFilters& Filters() { return filters_; }

private:
    TFileTypesGroups groups_;
    TFileTypesIFilters filters_;
};

app::TOptionsSearchParams AllGroups(bool on) {
    app::TOptionsSearchParams options(L"/Options");
    for (app::TOptionsParam* group : std::initializer_list<app::TOptionsParam*>{
             &options.FilesAndFolders, &options.ContainingText, &options.DateAndSize, &options.Attributes})
        group->Save = group->Load = on;
    return options;
}

// A model with a value off its default in every stored group.
void ChangeEverything(TSearchParams& params) {
    params.ShowFileNames = false;
    params.AppendResults = true;
    params.Files.FileMask.SetManualWildcards(L"*.txt");
    params.Files.Date.Enabled = true;
    params.Files.Date.DateLastAccess.RangeType = drOlderThen;
    params.Files.Date.DateLastAccess.SetValueDateTo(At(2001, 2, 3));
    params.Files.Size.Enabled = true;
    params.Files.Size.SetValueTo(700);
    params.Files.Size.SetUnitTypeTo(suMB);
    params.Files.Attributes.Enabled = true;
    params.Files.Attributes.SetValues({saArchive});
    params.Folders.FolderValue = L"<EVERYWHERE>";
    params.Folders.SearchInSubfolders = false;
    params.Text.WholeWords = false;
    params.Text.TextSource = tsTextFilter;
    params.Text.TextMask.SetPhrasesText(L"to be");
    params.Text.SkipAudioFiles = false;
}

// The file's bytes without its header section, which every save rewrites (and moves to the end).
std::string BytesWithoutHeader(const std::wstring& file) {
    std::string bytes = testsupport::ReadBytes(file);
    const std::size_t start = bytes.find("[FileIni]\r\n");
    if (start == std::string::npos) return bytes;
    const std::size_t end = bytes.find("\r\n\r\n", start);
    bytes.erase(start, end == std::string::npos ? std::string::npos : end + 4 - start);
    return bytes;
}

const std::vector<std::wstring> DefaultSections = {
    L"FileIni", L"/Params",
    L"/Params/Files/FileMask/Type", L"/Params/Files/FileMask/SimpleText", L"/Params/Files/FileMask/ManualWildcards",
    L"/Params/Files/FileMask/RegularExpression",
    L"/Params/Folders", L"/Params/Folders/FolderValue",
    L"/Params/Text", L"/Params/Text/Source", L"/Params/Text/IFilters/DocumentFiles", L"/Params/Text/Match",
    L"/Params/Text/TextMask/Type", L"/Params/Text/TextMask/WordsText", L"/Params/Text/TextMask/PhrasesText",
    L"/Params/Text/TextMask/HexadecimalCode", L"/Params/Text/TextMask/RegularExpression",
    L"/Params/Text/SkipFiles",
};

} // namespace

TEST(SearchParams, SaveWithTheDefaultOptionsWritesTheDefaultGroups) {
    testsupport::FakeInteraction clock;
    IFiltersRegistry registry;
    testsupport::TempFolder folder;
    const std::wstring file = folder / CriteriaFileName;
    TSearchParams params;
    params.Text.TextMask.SetBinaryCode(L"0101");
    params.SaveToFile(file, app::TOptionsSearchParams(L"/Options"), &registry.Filters());

    const store::TMemIniFileUnicode ini(file);
    EXPECT_EQ(ini.ReadSections(), DefaultSections);
    EXPECT_EQ(ini.ReadSectionValues(L"FileIni"),
              (std::vector<std::wstring>{L"Name=KolvaranParams.ini", L"Description=", L"Tags=", L"Version=1.0"}));
    EXPECT_EQ(ini.ReadSectionValues(L"/Params"),
              (std::vector<std::wstring>{L"ShowFileNames=True", L"ShowFoldernames=True", L"AppendResults=False"}));
    EXPECT_EQ(ini.ReadSectionValues(L"/Params/Folders"),
              (std::vector<std::wstring>{L"SearchInSubfolders=True", L"IncludeHiddenSubfolders=False"}));
    EXPECT_EQ(ini.ReadString(L"/Params/Text/TextMask/Type", L"Selected", L""), L"tmBinaryCode");
    EXPECT_EQ(ini.ReadSectionValues(L"/Params/Text/SkipFiles"),
              (std::vector<std::wstring>{L"HiddenFiles=True", L"SystemFiles=True", L"ImageFiles=True",
                                         L"AudioFiles=True", L"VideoFiles=True"}));

    // The binary mode comes back, its text does not.
    TSearchParams loaded;
    loaded.LoadFromFile(file, app::TOptionsSearchParams(L"/Options"), &registry.Filters());
    EXPECT_EQ(loaded.Text.TextMask.MaskType(), tmBinaryCode);
    EXPECT_EQ(loaded.Text.TextMask.BinaryCode(), L"");
}

TEST(SearchParams, EveryGroupRoundTrips) {
    testsupport::FakeInteraction clock;
    IFiltersRegistry registry;
    testsupport::TempFolder folder;
    const std::wstring file = folder / CriteriaFileName;
    TSearchParams saved;
    ChangeEverything(saved);
    saved.Files.Attributes.SetValues(TSearchAttributes::DefaultValues);
    saved.SaveToFile(file, AllGroups(true), &registry.Filters());

    const store::TMemIniFileUnicode ini(file);
    const std::wstring values = L"/Params/Files/Attributes/Values";
    ASSERT_EQ(ini.ReadSection(values).size(), 15u);
    for (int i = 0; i < ScanAttributeCount; ++i) {
        const auto member = static_cast<TScanAttribute>(i);
        EXPECT_EQ(store::ReadIniBoolean(ini, values, IdentifierName(member).substr(2), false),
                  TSearchAttributes::DefaultValues.Contains(member));
    }
    EXPECT_EQ(saved.Files.Attributes.Win32Attributes(), 18615u);
    for (const wchar_t* section : {L"/Params/Files/Date", L"/Params/Files/Date/Creation/DelayType",
                                   L"/Params/Files/Size/UnitTypeTo", L"/Params/Files/Attributes/Match"})
        EXPECT_TRUE(ini.SectionExists(section)) << section;
    EXPECT_FALSE(ini.SectionExists(L"/Params/Text/TextMask/BinaryCode"));

    clock.now = At(2030, 6, 1);
    TSearchParams loaded;
    loaded.LoadFromFile(file, AllGroups(true), &registry.Filters());
    EXPECT_FALSE(loaded.ShowFileNames);
    EXPECT_TRUE(loaded.AppendResults);
    EXPECT_EQ(loaded.Files.FileMask.MaskType(), nmManualWildcards);
    EXPECT_EQ(loaded.Files.FileMask.Value(), L"*.txt");
    EXPECT_TRUE(loaded.Files.Date.Enabled);
    EXPECT_EQ(loaded.Files.Date.DateLastAccess.RangeType, drOlderThen);
    EXPECT_EQ(loaded.Files.Date.DateLastAccess.DateTimeTo(), At(2001, 2, 3));
    EXPECT_EQ(loaded.Files.Size.BytesTo(), 700.0L * 1024 * 1024);
    EXPECT_TRUE(loaded.Files.Attributes.Enabled);
    EXPECT_EQ(loaded.Files.Attributes.Win32Attributes(), 18615u);
    EXPECT_EQ(loaded.Folders.FolderValue, L"<EVERYWHERE>");
    EXPECT_FALSE(loaded.Folders.SearchInSubfolders);
    EXPECT_FALSE(loaded.Text.WholeWords);
    EXPECT_EQ(loaded.Text.TextSource, tsTextFilter);
    EXPECT_EQ(loaded.Text.TextMask.MaskType(), tmPhrasesText);
    EXPECT_EQ(loaded.Text.TextMask.Value(), L"to be");
    EXPECT_FALSE(loaded.Text.SkipAudioFiles);
    EXPECT_TRUE(loaded.Text.SkipVideoFiles);

    // Reset restores what a person sets, but not the folder text the window rebuilds its lists from.
    loaded.Reset();
    EXPECT_TRUE(loaded.ShowFileNames);
    EXPECT_TRUE(loaded.Text.WholeWords);
    EXPECT_TRUE(loaded.Text.SkipAudioFiles);
    EXPECT_FALSE(loaded.Files.Date.Enabled);
    EXPECT_EQ(loaded.Files.FileMask.Value(), L"");
    EXPECT_EQ(loaded.Folders.FolderValue, L"<EVERYWHERE>");
}

TEST(SearchParams, GroupsSwitchedOffLeaveTheirSectionsAlone) {
    testsupport::FakeInteraction clock;
    IFiltersRegistry registry;
    testsupport::TempFolder folder;
    const std::wstring file = folder / CriteriaFileName;
    TSearchParams saved;
    saved.SaveToFile(file, AllGroups(true), &registry.Filters());
    const std::string written = BytesWithoutHeader(file);
    {
        store::TMemIniFileUnicode ini(file);
        ini.WriteString(L"FileIni", L"Description", L"old");
        ini.UpdateFile();
    }

    TSearchParams changed;
    ChangeEverything(changed);
    changed.SaveToFile(file, AllGroups(false), &registry.Filters());
    EXPECT_EQ(BytesWithoutHeader(file), written);
    const store::TMemIniFileUnicode header(file);
    EXPECT_EQ(header.ReadSectionValues(L"FileIni"),
              (std::vector<std::wstring>{L"Name=KolvaranParams.ini", L"Description=", L"Tags=", L"Version=1.0"}));
    auto masterOff = AllGroups(true);
    masterOff.Save = masterOff.Load = false;
    changed.SaveToFile(file, masterOff, &registry.Filters());
    EXPECT_EQ(BytesWithoutHeader(file), written);

    changed.LoadFromFile(file, AllGroups(false), &registry.Filters());
    changed.LoadFromFile(file, masterOff, &registry.Filters());
    EXPECT_FALSE(changed.ShowFileNames);
    EXPECT_EQ(changed.Files.FileMask.Value(), L"*.txt");
    EXPECT_EQ(changed.Folders.FolderValue, L"<EVERYWHERE>");
    EXPECT_FALSE(changed.Text.WholeWords);
    EXPECT_TRUE(changed.Files.Size.Enabled);
    EXPECT_EQ(changed.Files.Attributes.Values(), (TScanAttributes{saArchive}));
}

TEST(SearchParams, TheFilterSelectionTravelsWithTheTextGroup) {
    testsupport::FakeInteraction clock;
    IFiltersRegistry registry;
    testsupport::TempFolder folder;
    const std::wstring file = folder / CriteriaFileName;
    {
        store::TMemIniFileUnicode ini(file);
        ini.WriteString(L"/Params/Text/IFilters/DocumentFiles", L"SelectedAll", L"True");
        ini.WriteString(L"/Params/Text/IFilters/DocumentFiles", L"Selected", L".PDF|.DOC");
        ini.UpdateFile();
    }
    TSearchParams params;
    auto noText = AllGroups(true);
    noText.ContainingText.Load = false;
    params.LoadFromFile(file, noText, &registry.Filters());
    EXPECT_FALSE(registry.Filters().DocumentFiles.SelectedAll);
    EXPECT_EQ(registry.Filters().DocumentFiles.Selected, L"Default");

    params.LoadFromFile(file, AllGroups(true), &registry.Filters());
    EXPECT_TRUE(registry.Filters().DocumentFiles.SelectedAll);
    EXPECT_EQ(registry.Filters().DocumentFiles.Selected, L".PDF|.DOC");

    registry.Filters().DocumentFiles.SelectedAll = false;
    params.SaveToFile(file, AllGroups(true), &registry.Filters());
    const store::TMemIniFileUnicode ini(file);
    EXPECT_EQ(ini.ReadString(L"/Params/Text/IFilters/DocumentFiles", L"SelectedAll", L""), L"False");
    EXPECT_EQ(ini.ReadString(L"/Params/Text/IFilters/DocumentFiles", L"Selected", L""), L".PDF|.DOC");
}

TEST(SearchParams, AMissingFileLoadsDefaultsAndAFailedSaveKeepsTheLastGoodFile) {
    testsupport::FakeInteraction clock;
    testsupport::TempFolder folder;
    const std::wstring file = folder / CriteriaFileName;
    TSearchParams params;
    params.LoadFromFile(file, AllGroups(true), nullptr);
    EXPECT_TRUE(params.ShowFileNames);
    EXPECT_TRUE(params.Folders.SearchInSubfolders);
    EXPECT_FALSE(testsupport::FileExists(file));

    params.SaveToFile(file, AllGroups(true), nullptr);
    ASSERT_TRUE(testsupport::FileExists(file));
    const std::string good = testsupport::ReadBytes(file);

    // The new text cannot be written: a folder stands where it goes.
    ASSERT_TRUE(kit::ForceDirectories(file + L".new"));
    ChangeEverything(params);
    params.SaveToFile(file, AllGroups(true), nullptr);
    EXPECT_EQ(testsupport::ReadBytes(file), good);
}

TEST(SearchParams, ResetLeavesTheHeldOnlyParts) {
    testsupport::FakeInteraction clock;
    TSearchParams params;
    EXPECT_EQ(params.Folders.Params(), &params);
    EXPECT_EQ(params.Files.Section(), L"/Params/Files");
    EXPECT_EQ(params.Folders.DirMask.Section(), L"/Params/Folders/FolderMask");
    EXPECT_EQ(params.Folders.Attributes.Section(), L"/Params/Folders/Attributes");
    EXPECT_EQ(params.Text.TextMask.Section(), L"/Params/Text/TextMask");
    EXPECT_EQ(params.Text.TextMask.MaskTypeList(), (std::vector<std::wstring>{L"Words", L"Phrases"}));
    EXPECT_EQ(params.OperativeMode, omUserGraphicInterface);
    EXPECT_EQ(params.UserGraphicInterface, ugiNormal);

    params.Matches.Enabled = true;
    params.UserGraphicInterface = ugiAdvanced;
    params.Files.AttributesExclude.SetValues({});
    params.Files.FileMaskExclude.SetSimpleText(L"x");
    params.Reset();
    EXPECT_TRUE(params.Matches.Enabled);
    EXPECT_EQ(params.UserGraphicInterface, ugiAdvanced);
    EXPECT_TRUE(params.Files.AttributesExclude.Values().Empty());
    EXPECT_EQ(params.Files.FileMaskExclude.Value(), L"");  // the file masks reset together
}
