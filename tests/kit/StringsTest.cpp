#include <gtest/gtest.h>

#include "kit/Strings.h"

TEST(Strings, Utf8RoundTrip) {
    const std::wstring text = L"R&D \u00C0\u00E9 \U0001F600";
    EXPECT_EQ(kit::Utf8ToWide(kit::WideToUtf8(text)), text);
}
