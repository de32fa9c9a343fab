#include <gtest/gtest.h>

#include <string>

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
