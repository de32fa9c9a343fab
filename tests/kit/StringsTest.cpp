#include <gtest/gtest.h>

#include "kit/Strings.h"

TEST(Strings, Utf8RoundTrip) {
    const std::wstring text = L"R&D \u00C0\u00E9 \U0001F600";
    EXPECT_EQ(kit::Utf8ToWide(kit::WideToUtf8(text)), text);
}

TEST(Strings, ExtractFileExtTakesTheLastDotOfTheNameOnly) {
    struct Case { const wchar_t* path; const wchar_t* ext; };
    const Case cases[] = {
        {L"C:\\out\\results.CSV", L".CSV"}, {L"C:\\out\\page.tar.htm", L".htm"}, {L"C:\\out.d\\results", L""},
        {L"results.", L"."},                {L"C:.hidden", L".hidden"},         {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kit::WideToUtf8(c.path));
        EXPECT_EQ(kit::ExtractFileExt(c.path), c.ext);
    }
}
