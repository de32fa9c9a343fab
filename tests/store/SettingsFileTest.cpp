#include <gtest/gtest.h>

#include <stdexcept>

#include "store/SettingsFile.h"
#include "tests/support/TempFolder.h"

using testsupport::FileExists;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;

TEST(SettingsFile, FailedLoadDeletesTheFileAndIsSwallowed) {
    TempFolder folder;
    const auto path = folder / L"KolvaranItems.ini";
    WriteBytes(path, "[A]\r\nk=v\r\n");
    std::wstring seen;
    store::LoadSettingsFile(path, [&](const store::TMemIniFileUnicode& ini) {
        seen = ini.ReadString(L"A", L"k", L"");
        throw std::runtime_error("bad settings");
    });
    EXPECT_EQ(seen, L"v");
    EXPECT_FALSE(FileExists(path));
}

TEST(SettingsFile, FailedSaveKeepsTheFileAndWritesNothingHalfDone) {
    TempFolder folder;
    const auto path = folder / L"KolvaranItems.ini";
    const std::string good = "[A]\r\nk=v\r\n";
    WriteBytes(path, good);
    store::SaveSettingsFile(path, [](store::TMemIniFileUnicode& ini) {
        ini.EraseSection(L"A");
        throw std::runtime_error("out of memory halfway");
    });
    EXPECT_EQ(ReadBytes(path), good);
}

TEST(SettingsFile, SaveReplacesTheHeader) {
    TempFolder folder;
    const auto path = folder / L"KolvaranItems.ini";
    WriteBytes(path, "[B]\r\nk=v\r\n[FileIni]\r\nName=other\r\nTags=x\r\n");
    store::SaveSettingsFile(path, [](store::TMemIniFileUnicode& ini) { ini.WriteString(L"C", L"n", L"1"); });
    EXPECT_EQ(ReadBytes(path),
              "\xEF\xBB\xBF[B]\r\nk=v\r\n\r\n[FileIni]\r\nName=KolvaranItems.ini\r\nVersion=1.0\r\n\r\n[C]\r\nn=1\r\n\r\n");
}
