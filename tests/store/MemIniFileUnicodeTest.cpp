#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "kit/Handles.h"
#include "store/MemIniFileUnicode.h"
#include "tests/support/TempFolder.h"

using store::TMemIniFileUnicode;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

TEST(MemIniFileUnicode, ReadsLinesTrimmedAndKeepsBareLines) {
    TempFolder folder;
    const auto path = folder / L"a.ini";
    WriteBytes(path, "junk before any section\r\n; comment\r\n[A]\r\n  Save = True  \r\nx\r\nk=v=w\r\n\r\n[b]\r\nK=\r\n");
    TMemIniFileUnicode ini(path);
    EXPECT_EQ(ini.ReadString(L"A", L"Save", L"d"), L"True");
    EXPECT_EQ(ini.ReadString(L"a", L"K", L"d"), L"v=w");
    EXPECT_EQ(ini.ReadString(L"B", L"k", L"d"), L"");      // present but empty is not the default
    EXPECT_EQ(ini.ReadString(L"B", L"missing", L"d"), L"d");
    EXPECT_EQ(ini.ReadString(L"x", L"x", L"d"), L"d");     // a bare line is not a key
    EXPECT_EQ(ini.ReadSectionValues(L"A"), (std::vector<std::wstring>{L"Save=True", L"x", L"k=v=w"}));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::wstring>{L"A", L"b"}));
}

TEST(MemIniFileUnicode, WritesUtf8WithMarkAndCrLf) {
    TempFolder folder;
    const auto path = folder / L"new.ini";
    TMemIniFileUnicode ini(path);
    ini.WriteString(L"FileIni", L"Name", L"new.ini");
    ini.WriteString(L"FileIni", L"Version", L"1.0");
    ini.WriteString(L"/Options", L"Text", L"\u00C0\u00E9");
    ini.WriteString(L"/options", L"TEXT", L"replaced");  // keys and sections match without regard to case
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(path),
              "\xEF\xBB\xBF[FileIni]\r\nName=new.ini\r\nVersion=1.0\r\n\r\n[/Options]\r\nText=replaced\r\n\r\n");
}

TEST(MemIniFileUnicode, ReadsEveryEncodingAndRewritesAsUtf8) {
    struct Case { const char* name; std::string bytes; };
    const std::string utf16le("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xC0\0\r\0\n\0", 22);
    const std::string utf16be("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0\xC0\0\r\0\n", 22);
    const Case cases[] = {
        {"utf-16le", utf16le},
        {"utf-16be", utf16be},
        {"utf-8 with mark", "\xEF\xBB\xBF[A]\r\nk=\xC3\x80\r\n"},
        {"utf-8 without mark", "[A]\nk=\xC3\x80\n"},
        {"ansi", "[A]\r\nk=\xC0\r\n"},  // not valid UTF-8: the ANSI code page (1252 here) gives U+00C0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const auto path = folder / L"enc.ini";
        WriteBytes(path, c.bytes);
        TMemIniFileUnicode ini(path);
        EXPECT_EQ(ini.ReadString(L"A", L"k", L""), L"\u00C0");
        ini.UpdateFile();
        EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF[A]\r\nk=\xC3\x80\r\n\r\n");
    }
}

TEST(MemIniFileUnicode, LineBreaksInValuesCannotInjectKeysOrSections) {
    TempFolder folder;
    const auto path = folder / L"inject.ini";
    {
        TMemIniFileUnicode ini(path);
        ini.WriteString(L"A", L"k", L"a\r\n[x]\nevil=1\rz");
        ini.UpdateFile();
    }
    TMemIniFileUnicode reread(path);
    EXPECT_FALSE(reread.SectionExists(L"x"));
    EXPECT_EQ(reread.ReadSection(L"A"), std::vector<std::wstring>{L"k"});
    EXPECT_EQ(reread.ReadString(L"A", L"k", L""), L"a [x] evil=1 z");
}

TEST(MemIniFileUnicode, FailedWriteKeepsTheLastGoodFile) {
    TempFolder folder;
    const auto path = folder / L"keep.ini";
    WriteBytes(path, "[A]\r\nk=old\r\n");
    CreateDirectoryW((path + L".new").c_str(), nullptr);  // the temporary file cannot be made
    TMemIniFileUnicode ini(path);
    ini.WriteString(L"A", L"k", L"new");
    EXPECT_ANY_THROW(ini.UpdateFile());
    EXPECT_EQ(ReadBytes(path), "[A]\r\nk=old\r\n");

    TMemIniFileUnicode missingFolder(folder / L"no such folder\\x.ini");
    missingFolder.WriteString(L"A", L"k", L"v");
    EXPECT_ANY_THROW(missingFolder.UpdateFile());
}

TEST(MemIniFileUnicode, IntegersAndBooleans) {
    TempFolder folder;
    const auto path = folder / L"n.ini";
    WriteBytes(path, "[A]\r\nhex=0x1F\r\nneg=-12\r\nbad=12a\r\nbig=99999999999\r\nt=tRuE\r\nf=FALSE\r\ny=yes\r\n"
                     "one=1\r\nempty=\r\n");
    TMemIniFileUnicode ini(path);
    EXPECT_EQ(ini.ReadInteger(L"A", L"hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger(L"A", L"neg", 0), -12);
    EXPECT_EQ(ini.ReadInteger(L"A", L"bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger(L"A", L"big", 7), 7);
    EXPECT_EQ(ini.ReadInteger(L"A", L"missing", 7), 7);
    struct Case { const wchar_t* key; bool defaultValue; bool expected; };
    const Case cases[] = {{L"t", false, true}, {L"f", true, false}, {L"y", false, false}, {L"y", true, true},
                          {L"one", false, false}, {L"empty", true, true}, {L"missing", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key);
        EXPECT_EQ(store::ReadIniBoolean(ini, L"A", c.key, c.defaultValue), c.expected);
    }
}

TEST(MemIniFileUnicode, AFileThatCouldNotBeReadIsNeverOverwritten) {
    TempFolder folder;
    const auto path = folder / L"locked.ini";
    WriteBytes(path, "[Kept]\r\nk=v\r\n");
    std::unique_ptr<TMemIniFileUnicode> ini;
    {
        // Another program holds the file without sharing it: the store sees nothing of it.
        kit::UniqueHandle lock{CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)};
        ASSERT_TRUE(lock);
        ini = std::make_unique<TMemIniFileUnicode>(path);
    }
    EXPECT_FALSE(ini->SectionExists(L"Kept"));
    ini->WriteString(L"Other", L"x", L"1");
    EXPECT_ANY_THROW(ini->UpdateFile());
    EXPECT_EQ(ReadBytes(path), "[Kept]\r\nk=v\r\n");
}
