#include <windows.h>

#include <gtest/gtest.h>

#include "app/ApplicationItems.h"
#include "store/MemIniFileUnicode.h"
#include "tests/support/TempFolder.h"

using app::TApplicationMRUItems;
using app::TMRUItems;
using app::TOptionsSearchItems;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;
using Items = std::vector<std::wstring>;

namespace {

const wchar_t* const kSection = L"/Items/Folders/FolderValue";

Items LoadSection(const std::string& body) {
    TempFolder folder;
    const auto path = folder / L"KolvaranItems.ini";
    WriteBytes(path, "[/Items/Folders/FolderValue]\r\n" + body);
    TMRUItems list(kSection);
    list.LoadFrom(store::TMemIniFileUnicode(path));
    return list.Items;
}

// The text of one section as it stands in the file, from its header to the next one.
std::string SectionText(const std::string& file, const std::string& section) {
    const size_t start = file.find("[" + section + "]");
    if (start == std::string::npos) return {};
    return file.substr(start, file.find("\r\n[", start) - start);
}

} // namespace

TEST(MRUItems, LoadVisitsTheNumberedKeysBelowCount) {
    struct Case { const char* name; std::string body; Items expected; };
    const Case cases[] = {
        {"a number missing", "Count=3\r\nNumber0=a\r\nNumber2=c\r\n", {L"a", L"c"}},
        {"keys in any order load in number order", "Number1=b\r\nNumber0=a\r\nCount=2\r\n", {L"a", L"b"}},
        {"count larger than the keys, empty value skipped", "Count=9\r\nNumber0=\r\nNumber4=e\r\n", {L"e"}},
        {"keys at or above count", "Count=1\r\nNumber0=a\r\nNumber1=b\r\n", {L"a"}},
        {"count missing", "Number0=a\r\n", {}},
        {"count no number", "Count=many\r\nNumber0=a\r\n", {}},
        {"count negative", "Count=-1\r\nNumber0=a\r\n", {}},
        {"huge count loads the present keys at once", "Count=2147483647\r\nNumber0=a\r\nNumber7=b\r\n", {L"a", L"b"}},
        {"key names as a lookup finds them", "Count=3\r\nNUMBER0=a\r\nNumber01=x\r\nNumber+2=y\r\nNumber2\r\n", {L"a"}},
        {"the first of two equal keys", "Count=1\r\nNumber0=first\r\nnumber0=second\r\n", {L"first"}},
        {"quoted blanks lose their quotes", "Count=2\r\nNumber0=\"   \"\r\nNumber1=\" \"\r\n", {L"   ", L" "}},
        {"two quotes stay", "Count=1\r\nNumber0=\"\"\r\n", {L"\"\""}},
        {"quotes around text stay", "Count=1\r\nNumber0=\" a \"\r\n", {L"\" a \""}},
        {"equal items both kept", "Count=2\r\nNumber0=a\r\nNumber1=a\r\n", {L"a", L"a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadSection(c.body), c.expected);
    }
}

TEST(MRUItems, SaveNumbersDenselyAndQuotesBlanksInTheFileOnly) {
    TempFolder folder;
    const auto path = folder / L"KolvaranItems.ini";
    store::TMemIniFileUnicode ini(path);
    ini.WriteString(kSection, L"Stale", L"1");
    TMRUItems list(kSection);
    list.Items = {L"a", L"", L"   ", L"a"};
    list.Fixed = 7;
    list.SaveTo(ini);

    EXPECT_EQ(ini.ReadSectionValues(kSection),
              (Items{L"Number0=a", L"Number1=\"   \"", L"Number2=a", L"Count=3", L"Fixed=7"}));
    EXPECT_EQ(list.Items, (Items{L"a", L"", L"   ", L"a"}));  // the live list is not changed by saving

    ini.UpdateFile();
    TMRUItems read(kSection);
    read.LoadFrom(store::TMemIniFileUnicode(path));
    EXPECT_EQ(read.Items, (Items{L"a", L"   ", L"a"}));
    EXPECT_EQ(read.StoredCount, 3);
    EXPECT_EQ(read.Fixed, 7);
}

TEST(MRUItems, BlankTexts) {
    EXPECT_TRUE(app::IsBlankText(L""));
    EXPECT_TRUE(app::IsBlankText(L"   "));
    EXPECT_FALSE(app::IsBlankText(L" a "));
    EXPECT_FALSE(app::IsBlankText(L"\t"));
    EXPECT_TRUE(app::IsQuotedBlankText(L"\" \""));
    EXPECT_FALSE(app::IsQuotedBlankText(L"\"\""));
    EXPECT_FALSE(app::IsQuotedBlankText(L"\" x\""));
    EXPECT_FALSE(app::IsQuotedBlankText(L" \" \""));
}

TEST(ApplicationMRUItems, SaveWritesEveryStoredListInOrder) {
    TempFolder folder;
    const auto path = folder / L"KolvaranItems.ini";
    TApplicationMRUItems items(path, L"");
    items.FileMask.List(engine::nmManualWildcards).Items = {L"*.txt"};
    items.SearchText.List(engine::tmBinaryCode).Items = {L"01"};  // lives for the run only
    items.SearchFolders.FolderValue.Items = {L"C:\\"};
    items.Save(TOptionsSearchItems(L"/Options"));

    store::TMemIniFileUnicode ini(path);
    EXPECT_EQ(ini.ReadSections(),
              (Items{L"FileIni", L"/Items/Files/FileMask/SimpleText", L"/Items/Files/FileMask/ManualWildcards",
                     L"/Items/Files/FileMask/RegularExpression", L"/Items/Folders/FolderValue",
                     L"/Items/Text/TextMask/WordsText", L"/Items/Text/TextMask/PhrasesText",
                     L"/Items/Text/TextMask/HexadecimalCode", L"/Items/Text/TextMask/RegularExpression"}));
    EXPECT_EQ(ini.ReadString(L"FileIni", L"Name", L""), L"KolvaranItems.ini");
    EXPECT_EQ(ini.ReadString(L"/Items/Files/FileMask/ManualWildcards", L"Number0", L""), L"*.txt");
    EXPECT_EQ(ini.ReadSectionValues(L"/Items/Text/TextMask/WordsText"), (Items{L"Count=0", L"Fixed=0"}));
}

TEST(ApplicationMRUItems, LoadFollowsTheSwitchesAndSkipsTheBinaryList) {
    TempFolder folder;
    const auto path = folder / L"KolvaranItems.ini";
    WriteBytes(path,
               "[/Items/Files/FileMask/SimpleText]\r\nCount=1\r\nNumber0=name\r\n"
               "[/Items/Folders/FolderValue]\r\nCount=1\r\nNumber0=C:\\A\r\n"
               "[/Items/Text/TextMask/PhrasesText]\r\nCount=1\r\nNumber0=two words\r\n"
               "[/Items/Text/TextMask/BinaryCode]\r\nCount=1\r\nNumber0=0101\r\n");
    struct Case { const char* name; bool whole, fileName, searchPath, searchText; size_t masks, folders, phrases; };
    const Case cases[] = {
        {"all on", true, true, true, true, 1, 1, 1},
        {"whole off", false, true, true, true, 0, 0, 0},
        {"file names off", true, false, true, true, 0, 1, 1},
        {"search paths off", true, true, false, true, 1, 0, 1},
        {"search texts off", true, true, true, false, 1, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TOptionsSearchItems options(L"/Options");
        options.Load = c.whole;
        options.FileNameLoad = c.fileName;
        options.SearchPathLoad = c.searchPath;
        options.SearchTextLoad = c.searchText;
        TApplicationMRUItems items(path, L"");
        items.Load(options);
        EXPECT_EQ(items.FileMask.List(engine::nmSimpleText).Items.size(), c.masks);
        EXPECT_EQ(items.SearchFolders.FolderValue.Items.size(), c.folders);
        EXPECT_EQ(items.SearchText.List(engine::tmPhrasesText).Items.size(), c.phrases);
        EXPECT_TRUE(items.SearchText.List(engine::tmBinaryCode).Items.empty());
    }
}

TEST(ApplicationMRUItems, ListsNotSavedKeepTheirSectionsByteForByte) {
    TempFolder folder;
    const auto path = folder / L"KolvaranItems.ini";
    store::TMemIniFileUnicode before(path);
    before.WriteString(L"/Items/Folders/FolderValue", L"Number0", L"D:\\Old");
    before.WriteString(L"/Items/Folders/FolderValue", L"Count", L"1");
    before.WriteString(L"/Items/Folders/FolderValue", L"Custom", L"kept");
    before.WriteString(L"/Items/Text/TextMask/WordsText", L"Number0", L"old words");
    before.WriteString(L"/Items/Text/TextMask/WordsText", L"Count", L"1");
    before.UpdateFile();
    const std::string original = ReadBytes(path);
    ASSERT_NE(SectionText(original, "/Items/Folders/FolderValue").find("Custom=kept"), std::string::npos);

    struct Case { const char* name; bool whole, searchPath; };
    for (const Case c : {Case{"search paths off", true, false}, Case{"whole off", false, true}}) {
        SCOPED_TRACE(c.name);
        WriteBytes(path, original);
        TOptionsSearchItems options(L"/Options");
        options.Save = c.whole;
        options.SearchPathSave = c.searchPath;
        TApplicationMRUItems items(path, L"");
        items.SearchFolders.FolderValue.Items = {L"E:\\New"};
        items.SearchText.List(engine::tmWordsText).Items = {L"new words"};
        items.Save(options);

        const std::string after = ReadBytes(path);
        EXPECT_EQ(SectionText(after, "/Items/Folders/FolderValue"), SectionText(original, "/Items/Folders/FolderValue"));
        EXPECT_EQ(SectionText(after, "/Items/Text/TextMask/WordsText").find("new words") != std::string::npos, c.whole);
    }
}
