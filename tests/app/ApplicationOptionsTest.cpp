#include <windows.h>

#include <gtest/gtest.h>

#include "app/ApplicationOptions.h"
#include "store/MemIniFileUnicode.h"
#include "tests/support/TempFolder.h"

using app::TApplicationOptions;
using testsupport::FileExists;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

std::string WithMark(const std::string& text) { return "\xEF\xBB\xBF" + text; }

const char* const kDefaultFile =
    "[FileIni]\r\nName=KolvaranOptions.ini\r\nVersion=1.0\r\n\r\n"
    "[/Options/Search/Params]\r\nSave=True\r\nLoad=True\r\n\r\n"
    "[/Options/Search/Params/FilesAndFolders]\r\nSave=True\r\nLoad=True\r\n\r\n"
    "[/Options/Search/Params/ContainingText]\r\nSave=True\r\nLoad=True\r\n\r\n"
    "[/Options/Search/Params/DateAndSize]\r\nSave=False\r\nLoad=False\r\n\r\n"
    "[/Options/Search/Params/Attributes]\r\nSave=False\r\nLoad=False\r\n\r\n"
    "[/Options/Search/Items]\r\nSave=True\r\nLoad=True\r\n\r\n"
    "[/Options/Search/Items/FileName]\r\nSave=True\r\nLoad=True\r\n\r\n"
    "[/Options/Search/Items/SearchPath]\r\nSave=True\r\nLoad=True\r\n\r\n"
    "[/Options/Search/Items/SearchText]\r\nSave=True\r\nLoad=True\r\n\r\n"
    "[/Options/Exports]\r\nOutputFolder=eofDefault\r\nFolderSelected=\r\n\r\n"
    "[/Options/Exports/CSV]\r\nDelimiterChar=,\r\n\r\n";

} // namespace

TEST(ApplicationOptions, FreshStartSavesEverySectionInOrder) {
    TempFolder folder;
    const auto path = folder / L"KolvaranOptions.ini";
    TApplicationOptions options(path, L"");
    EXPECT_EQ(options.Exports.CSV.DelimiterChar, L";");  // only until the first load
    options.Load();
    EXPECT_EQ(options.Exports.CSV.DelimiterChar, L",");
    options.Save();
    EXPECT_EQ(ReadBytes(path), WithMark(kDefaultFile));
}

TEST(ApplicationOptions, ReadsValuesAndFallsBackPerKey) {
    struct Case {
        const char* name;
        std::string body;
        std::wstring delimiter;
        app::TOutputFolder outputFolder;
    };
    const Case cases[] = {
        {"semicolon kept", "[/Options/Exports/CSV]\r\nDelimiterChar=;\r\n", L";", app::eofDefault},
        {"pipe rejected", "[/Options/Exports/CSV]\r\nDelimiterChar=|\r\n", L",", app::eofDefault},
        {"tab rejected", "[/Options/Exports/CSV]\r\nDelimiterChar=\t\r\n", L",", app::eofDefault},
        {"selected in other case", "[/Options/Exports]\r\nOutputFolder=EOFSELECTED\r\n", L",", app::eofSelected},
        {"ordinal is no name", "[/Options/Exports]\r\nOutputFolder=1\r\n", L",", app::eofDefault},
        {"name without prefix", "[/Options/Exports]\r\nOutputFolder=Selected\r\n", L",", app::eofDefault},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const auto path = folder / L"KolvaranOptions.ini";
        WriteBytes(path, c.body);
        TApplicationOptions options(path, L"");
        options.Load();
        EXPECT_EQ(options.Exports.CSV.DelimiterChar, c.delimiter);
        EXPECT_EQ(options.Exports.OutputFolder, c.outputFolder);
    }
}

TEST(ApplicationOptions, MissingSwitchKeysKeepCurrentOrGiveTrue) {
    TempFolder folder;
    const auto path = folder / L"KolvaranOptions.ini";
    WriteBytes(path,
               "[/Options/Search/Params/DateAndSize]\r\nSave=True\r\n"
               "[/Options/Search/Params/FilesAndFolders]\r\nLoad=no\r\n"
               "[/Options/Search/Items/SearchPath]\r\nSave=False\r\n"
               "[/Options/Search/Items/SearchText]\r\nLoad=false\r\n"
               "[/Options/Exports]\r\nFolderSelected=D:\\Out\r\n");
    TApplicationOptions options(path, L"");
    options.SearchItems.SearchPathLoad = false;  // the items switches never default to the current value
    options.Load();

    EXPECT_TRUE(options.SearchParams.DateAndSize.Save);
    EXPECT_FALSE(options.SearchParams.DateAndSize.Load);       // missing: the current value
    EXPECT_TRUE(options.SearchParams.FilesAndFolders.Load);    // malformed: the current value
    EXPECT_FALSE(options.SearchItems.SearchPathSave);
    EXPECT_TRUE(options.SearchItems.SearchPathLoad);           // missing: true
    EXPECT_FALSE(options.SearchItems.SearchTextLoad);
    EXPECT_TRUE(options.SearchItems.SearchTextSave);
    EXPECT_EQ(options.Exports.FolderSelected, L"D:\\Out");
}

// A selected folder written by hand or by an older version: a relative one would name wherever the current
// directory is at an export, so it reads as none; a full one with either slash stays.
TEST(ApplicationOptions, ARelativeSelectedFolderReadsAsNone) {
    struct Case { const char* text; std::wstring folder; };
    const Case cases[] = {
        {"Exports", L""},
        {".\\Exports", L""},
        {"..\\Exports", L""},
        {"C:Exports", L""},
        {"\\Exports", L""},
        {"C:\\Exports", L"C:\\Exports"},
        {"C:/Exports", L"C:/Exports"},
        {"\\\\server\\share\\Exports", L"\\\\server\\share\\Exports"},
        {"//server/share/Exports", L"//server/share/Exports"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TempFolder folder;
        const auto path = folder / L"KolvaranOptions.ini";
        WriteBytes(path, std::string("[/Options/Exports]\r\nOutputFolder=eofSelected\r\nFolderSelected=") + c.text +
                             "\r\n");
        TApplicationOptions options(path, L"");
        options.Load();
        EXPECT_EQ(options.Exports.OutputFolder, app::eofSelected);
        EXPECT_EQ(options.Exports.FolderSelected, c.folder);
    }
}

TEST(ApplicationOptions, ChangedValuesRoundTrip) {
    TempFolder folder;
    const auto path = folder / L"KolvaranOptions.ini";
    TApplicationOptions written(path, L"");
    written.SearchParams.Load = false;
    written.SearchParams.Attributes.Save = true;
    written.SearchItems.FileNameSave = false;
    written.Exports.OutputFolder = app::eofSelected;
    written.Exports.FolderSelected = L"C:\\Exports \u00C0";
    written.Exports.CSV.DelimiterChar = L";";
    written.Save();

    TApplicationOptions read(path, L"");
    read.Load();
    EXPECT_FALSE(read.SearchParams.Load);
    EXPECT_TRUE(read.SearchParams.Attributes.Save);
    EXPECT_FALSE(read.SearchItems.FileNameSave);
    EXPECT_TRUE(read.SearchItems.FileNameLoad);
    EXPECT_EQ(read.Exports.OutputFolder, app::eofSelected);
    EXPECT_EQ(read.Exports.FolderSelected, L"C:\\Exports \u00C0");
    EXPECT_EQ(read.Exports.CSV.DelimiterChar, L";");
}

TEST(ApplicationOptions, SaveRewritesItsSectionsAndKeepsOthers) {
    TempFolder folder;
    const auto path = folder / L"KolvaranOptions.ini";
    WriteBytes(path,
               "[FileIni]\r\nName=old.ini\r\nDescription=x\r\n"
               "[/Options/Exports]\r\nObsolete=1\r\nFolderSelected=D:\\A\r\n"
               "[Foreign]\r\nk=v\r\n");
    TApplicationOptions options(path, L"");
    options.Load();
    options.Save();
    store::TMemIniFileUnicode ini(path);
    EXPECT_EQ(ini.ReadSectionValues(L"FileIni"), (std::vector<std::wstring>{L"Name=KolvaranOptions.ini", L"Version=1.0"}));
    EXPECT_EQ(ini.ReadSectionValues(L"/Options/Exports"),
              (std::vector<std::wstring>{L"OutputFolder=eofDefault", L"FolderSelected=D:\\A"}));
    EXPECT_EQ(ini.ReadString(L"Foreign", L"k", L""), L"v");
}

TEST(ApplicationOptions, FailedSaveKeepsTheLastGoodFile) {
    TempFolder folder;
    const auto path = folder / L"KolvaranOptions.ini";
    const std::string good = "[/Options/Exports/CSV]\r\nDelimiterChar=;\r\n";
    WriteBytes(path, good);
    CreateDirectoryW((path + L".new").c_str(), nullptr);  // the store's temporary file cannot be made

    TApplicationOptions options(path, L"");
    options.Load();
    options.Exports.CSV.DelimiterChar = L",";
    options.Save();  // swallowed, nothing shown
    ASSERT_TRUE(FileExists(path));
    EXPECT_EQ(ReadBytes(path), good);
}
