#include <gtest/gtest.h>

#include <string>

#include "kit/Exception.h"
#include "kit/Handles.h"
#include "kit/Registry.h"

namespace {

// A key of its own under the current user, removed again.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        key_.reset();
        RegDeleteKeyW(HKEY_CURRENT_USER, kPath);
    }
    void Set(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(RegSetValueExW(key_.get(), name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    }

    static constexpr const wchar_t* kPath = L"Software\\KolvaranRegistryTest";
    kit::UniqueRegKey key_;
};

TEST_F(RegistryTest, ReadsTextsOfAnyLengthAndStoredForm) {
    const std::wstring longText(300, L'x');
    Set(L"long", REG_SZ, longText.c_str(), static_cast<DWORD>((longText.size() + 1) * sizeof(wchar_t)));
    Set(L"unterminated", REG_SZ, L"abc", 3 * sizeof(wchar_t));
    Set(L"trailing", REG_EXPAND_SZ, L"%TEMP%\0junk", 11 * sizeof(wchar_t));
    const DWORD number = 7;
    Set(L"number", REG_DWORD, &number, sizeof(number));
    Set(nullptr, REG_SZ, L"default", 8 * sizeof(wchar_t));

    EXPECT_EQ(kit::ReadRegistryText(key_.get(), L"long"), longText);
    EXPECT_EQ(kit::ReadRegistryText(key_.get(), L"unterminated"), L"abc");
    EXPECT_EQ(kit::ReadRegistryText(key_.get(), L"trailing"), L"%TEMP%");
    EXPECT_EQ(kit::ReadRegistryText(key_.get(), L"number"), L"") << "a value that is not text reads as empty";
    EXPECT_EQ(kit::ReadRegistryText(key_.get(), nullptr), L"default");
    EXPECT_EQ(kit::ReadRegistryText(key_.get(), L"missing"), std::nullopt);
}

} // namespace

namespace {

const kit::RegistryKeyPath kTestRoot{HKEY_CURRENT_USER, L"Software\\KolvaranRegistryWrites"};

kit::RegistryKeyPath Below(const kit::RegistryKeyPath& key, const std::wstring& name) {
    return {key.root, key.path + L"\\" + name, key.view};
}

std::optional<std::wstring> ReadText(const kit::RegistryKeyPath& key, const wchar_t* name) {
    const kit::UniqueRegKey opened = kit::OpenRegistryKeyReadOnly(key);
    if (!opened) return std::nullopt;
    return kit::ReadRegistryText(opened.get(), name);
}

class RegistryWritesTest : public testing::Test {
protected:
    void SetUp() override { kit::RealRegistryWriter().DeleteTree(kTestRoot); }
    void TearDown() override { kit::RealRegistryWriter().DeleteTree(kTestRoot); }
    kit::RegistryWriter& writer = kit::RealRegistryWriter();
};

} // namespace

TEST_F(RegistryWritesTest, CreatesWritesAndDeletesKeysAndValues) {
    const kit::RegistryKeyPath verb = Below(kTestRoot, L"shell\\verb");
    const kit::RegistryKeyPath command = Below(verb, L"command");
    ASSERT_TRUE(writer.CreateKey(command)) << "missing parents are made too";
    writer.WriteText(verb, L"", L"caption");
    writer.WriteText(verb, L"Icon", L"\"C:\\x.exe\"");
    EXPECT_EQ(ReadText(verb, nullptr), L"caption");
    EXPECT_EQ(ReadText(verb, L"Icon"), L"\"C:\\x.exe\"");
    EXPECT_THROW(writer.WriteText(Below(verb, L"missing"), L"", L"x"), kit::Exception) << "no key is made by a write";

    EXPECT_TRUE(writer.DeleteValue(verb, L"Icon"));
    EXPECT_FALSE(writer.DeleteValue(verb, L"Icon"));
    EXPECT_EQ(ReadText(verb, L"Icon"), std::nullopt);
    EXPECT_TRUE(writer.DeleteValue(verb, L""));
    EXPECT_EQ(ReadText(verb, nullptr), std::nullopt);

    {
        const kit::UniqueRegKey opened = kit::OpenRegistryKeyReadOnly(verb);
        ASSERT_TRUE(opened);
        EXPECT_TRUE(kit::RegistryKeyHasSubKeys(opened.get()));
    }
    EXPECT_FALSE(writer.DeleteKey(verb)) << "a key with subkeys stays";
    EXPECT_TRUE(kit::RegistryKeyExists(command));
    EXPECT_TRUE(writer.DeleteKey(command));
    EXPECT_FALSE(kit::RegistryKeyExists(command));

    ASSERT_TRUE(writer.CreateKey(command));
    EXPECT_TRUE(writer.DeleteTree(Below(kTestRoot, L"shell")));
    EXPECT_FALSE(kit::RegistryKeyExists(Below(kTestRoot, L"shell")));
    EXPECT_TRUE(kit::RegistryKeyExists(kTestRoot));
    EXPECT_FALSE(writer.DeleteTree(Below(kTestRoot, L"shell"))) << "nothing left to delete";
}

TEST_F(RegistryWritesTest, EveryCallKeepsToTheKeysView) {
    // The 32-bit view of the machine's software branch is a branch of its own for a 64-bit program.
    const kit::RegistryKeyPath key32{HKEY_LOCAL_MACHINE, L"Software\\KolvaranRegistryView", KEY_WOW64_32KEY};
    const kit::RegistryKeyPath key64{HKEY_LOCAL_MACHINE, key32.path, KEY_WOW64_64KEY};
    writer.DeleteTree(key32);
    writer.DeleteTree(key64);
    ASSERT_TRUE(writer.CreateKey(Below(key32, L"sub")));
    writer.WriteText(key32, L"", L"32-bit");
    EXPECT_TRUE(kit::RegistryKeyExists(key32));
    EXPECT_FALSE(kit::RegistryKeyExists(key64));
    EXPECT_EQ(ReadText(key32, nullptr), L"32-bit");
    EXPECT_THROW(writer.WriteText(key64, L"", L"64-bit"), kit::Exception);
    EXPECT_FALSE(writer.DeleteKey(Below(key64, L"sub")));
    EXPECT_FALSE(writer.DeleteTree(key64));
    EXPECT_TRUE(writer.DeleteKey(Below(key32, L"sub")));
    EXPECT_TRUE(writer.DeleteTree(key32));
    EXPECT_FALSE(kit::RegistryKeyExists(key32));
}
