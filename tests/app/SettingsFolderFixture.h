#pragma once
// Gives each test an empty settings folder of the throwaway prefix, and removes what the test left there.
#include <gtest/gtest.h>

#include "app/ApplicationSetup.h"
#include "tests/support/TempFolder.h"

class SettingsFolderTest : public testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }

    static std::wstring MakerFolder() {
        std::wstring folder = app::TApplicationInit::GetSettingsFolder();  // ...\Harbelune\Kolvaran\ .
        folder.pop_back();
        return folder.substr(0, folder.find_last_of(L'\\'));
    }
    static void Clear() { testsupport::RemoveTree(MakerFolder()); }
    static std::wstring SettingsFile(const wchar_t* name) { return app::TApplicationInit::GetSettingsFolder() + name; }
    static void MakeSettingsFolder() { SHCreateDirectoryExW(nullptr, app::TApplicationInit::GetSettingsFolder().c_str(), nullptr); }
};
