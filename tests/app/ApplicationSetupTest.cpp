#include <windows.h>
#include <shlobj.h>

#include "store/MemIniFileUnicode.h"
#include "tests/app/SettingsFolderFixture.h"

using app::TApplicationInit;
using store::TMemIniFileUnicode;
using testsupport::FileExists;
using testsupport::FolderExists;
using testsupport::WriteBytes;

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

using ApplicationSetup = SettingsFolderTest;

TEST_F(ApplicationSetup, FirstStartCreatesTheSettingsFolderAndNamesTheFiles) {
    ASSERT_FALSE(FolderExists(MakerFolder()));
    TApplicationInit init(L"C:\\Program Files\\Kolvaran\\Kolvaran.exe");
    EXPECT_TRUE(FolderExists(init.SettingsFolder));
    EXPECT_TRUE(EndsWith(init.SettingsFolder, L"\\AppData\\Roaming\\Harbelune\\Kolvaran\\")) << init.SettingsFolder;
    EXPECT_TRUE(EndsWith(init.ExportsFolder, L"\\Kolvaran\\Exports\\")) << init.ExportsFolder;
    EXPECT_FALSE(FolderExists(init.ExportsFolder));  // made by the first export, not here
    EXPECT_EQ(init.SectionPrefix, L"");
    EXPECT_EQ(init.ExeFileName, L"C:\\Program Files\\Kolvaran\\Kolvaran.exe");
    EXPECT_EQ(init.LegacyIniFileName, init.SettingsFolder + L"Kolvaran.ini");
    EXPECT_EQ(init.PositionIniFileName, init.SettingsFolder + L"KolvaranPosition.ini");
    EXPECT_EQ(init.LayoutIniFileName, init.SettingsFolder + L"KolvaranLayout.ini");
    EXPECT_EQ(init.ParamsIniFileName, init.SettingsFolder + L"KolvaranParams.ini");
    EXPECT_EQ(init.ItemsIniFileName, init.SettingsFolder + L"KolvaranItems.ini");
    EXPECT_EQ(init.OptionsIniFileName, init.SettingsFolder + L"KolvaranOptions.ini");
    for (const auto* name : {L"KolvaranItems.ini", L"KolvaranParams.ini", L"KolvaranOptions.ini"})
        EXPECT_FALSE(FileExists(init.SettingsFolder + name)) << "the constructor writes no file";
}

TEST_F(ApplicationSetup, AFileInPlaceOfTheFolderIsAnInitializationError) {
    WriteBytes(MakerFolder(), "not a folder");
    try {
        TApplicationInit init(L"Kolvaran.exe");
        FAIL() << "no error raised";
    } catch (const app::InitializationError& e) {
        EXPECT_EQ(e.Message(), L"Unable to Create Application Directory: '" + TApplicationInit::GetSettingsFolder() + L"'");
    }
}

TEST_F(ApplicationSetup, MigratesTheLegacyFileAndRemovesIt) {
    MakeSettingsFolder();
    WriteBytes(SettingsFile(L"Kolvaran.ini"),
               "[HISTORYPathToSearch]\r\nN0=C:\\A\r\nN1=D:\\\r\nSELECTED=C:\\A\r\n"
               "[HISTORYFileMask]\r\nN0=*.txt\r\n");
    TApplicationInit init(L"Kolvaran.exe");
    EXPECT_FALSE(FileExists(init.LegacyIniFileName));
    EXPECT_TRUE(init.MRUItems.SearchFolders.FolderValue.Items.empty()) << "empty until the main window loads them";
    EXPECT_TRUE(init.MRUItems.FileMask.List(engine::nmManualWildcards).Items.empty());

    TMemIniFileUnicode items(init.ItemsIniFileName);
    EXPECT_EQ(items.ReadSectionValues(L"/Items/Folders/FolderValue"),
              (std::vector<std::wstring>{L"Number0=C:\\A", L"Number1=D:\\", L"SELECTED=C:\\A", L"Count=3"}));
    EXPECT_EQ(items.ReadSectionValues(L"/Items/Files/FileMask/ManualWildcards"),
              (std::vector<std::wstring>{L"Number0=*.txt", L"Count=1"}));
    // The migrated text list ends under the current name of the words list.
    EXPECT_FALSE(items.SectionExists(L"/Items/Text/TextMask/SimpleText"));
    EXPECT_EQ(items.ReadSectionValues(L"/Items/Text/TextMask/WordsText"), std::vector<std::wstring>{L"Count=0"});

    TMemIniFileUnicode params(init.ParamsIniFileName);
    EXPECT_EQ(params.ReadSectionValues(L"/Params/Folders/FolderValue"), std::vector<std::wstring>{L"Selected=C:\\A"});
}

TEST_F(ApplicationSetup, LegacyFileStaysWhenItsContentsCannotBeWritten) {
    MakeSettingsFolder();
    const std::string legacy = "[HISTORYTextToSearch]\r\nN0=hello\r\n";
    WriteBytes(SettingsFile(L"Kolvaran.ini"), legacy);
    CreateDirectoryW(SettingsFile(L"KolvaranItems.ini").c_str(), nullptr);  // the Items file cannot be replaced
    TApplicationInit init(L"Kolvaran.exe");
    EXPECT_EQ(testsupport::ReadBytes(init.LegacyIniFileName), legacy) << "kept for the next start";

    RemoveDirectoryW(init.ItemsIniFileName.c_str());
    TApplicationInit next(L"Kolvaran.exe");
    EXPECT_FALSE(FileExists(next.LegacyIniFileName));
    EXPECT_EQ(TMemIniFileUnicode(next.ItemsIniFileName).ReadString(L"/Items/Text/TextMask/WordsText", L"Number0", L""),
              L"hello");
}

TEST_F(ApplicationSetup, OlderTextSectionsEndAsWordsText) {
    MakeSettingsFolder();
    WriteBytes(SettingsFile(L"KolvaranItems.ini"),
               "[/Items/Text/TextMask/PlainText]\r\nNumber0=old\r\nCount=1\r\n");
    WriteBytes(SettingsFile(L"KolvaranParams.ini"),
               "[/Params/Text/TextMask/SimpleText]\r\nValue=simple\r\nOther=1\r\n"
               "[/Params/Text/TextMask/WordsText]\r\nValue=words\r\nKept=2\r\n");
    TApplicationInit init(L"Kolvaran.exe");

    TMemIniFileUnicode items(init.ItemsIniFileName);
    EXPECT_EQ(items.ReadSections(), std::vector<std::wstring>{L"/Items/Text/TextMask/WordsText"});
    EXPECT_EQ(items.ReadSectionValues(L"/Items/Text/TextMask/WordsText"),
              (std::vector<std::wstring>{L"Number0=old", L"Count=1"}));
    TMemIniFileUnicode params(init.ParamsIniFileName);
    EXPECT_EQ(params.ReadSectionValues(L"/Params/Text/TextMask/WordsText"),
              (std::vector<std::wstring>{L"Value=simple", L"Kept=2", L"Other=1"}));
}

TEST_F(ApplicationSetup, AFailingSectionRenameDoesNotStopTheStart) {
    MakeSettingsFolder();
    const std::string items = "[/Items/Text/TextMask/PlainText]\r\nNumber0=old\r\n";
    WriteBytes(SettingsFile(L"KolvaranItems.ini"), items);
    CreateDirectoryW(SettingsFile(L"KolvaranItems.ini.new").c_str(), nullptr);  // every write of it fails
    EXPECT_NO_THROW(TApplicationInit(L"Kolvaran.exe"));
    EXPECT_EQ(testsupport::ReadBytes(SettingsFile(L"KolvaranItems.ini")), items);
}
