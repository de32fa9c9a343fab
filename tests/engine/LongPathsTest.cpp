#include <gtest/gtest.h>

#include "engine/DateTimes.h"
#include "engine/LongPaths.h"

using namespace engine;

TEST(LongPaths, CanonicalFolders) {
    struct Case { const wchar_t* folder; const wchar_t* canonical; };
    const Case cases[] = {
        {L"C:", L"C:\\"},
        {L"C:\\A\\..\\B", L"C:\\B\\"},
        {L"C:/A/B", L"C:\\A\\B\\"},
        {L"C:\\A\\\\B\\.\\", L"C:\\A\\B\\"},
        {L"\\\\?\\C:\\A\\..\\B", L"C:\\B\\"},
        {L"\\\\server\\share", L"\\\\server\\share\\"},
        {L"\\\\?\\UNC\\server\\share\\x", L"\\\\server\\share\\x\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.folder);
        EXPECT_EQ(CanonicalFolder(c.folder).value_or(L"(none)"), c.canonical);
    }
    for (const wchar_t* driveLess : {L"", L"relative", L"\\rooted", L"\\\\"}) {
        SCOPED_TRACE(testing::Message() << '"' << driveLess << '"');
        EXPECT_FALSE(CanonicalFolder(driveLess).has_value());
    }
}

TEST(LongPaths, ListingPatterns) {
    EXPECT_EQ(ListingPattern(L"C:\\"), L"\\\\?\\C:\\*.*");
    EXPECT_EQ(ListingPattern(L"\\\\server\\share\\"), L"\\\\?\\UNC\\server\\share\\*.*");
    const std::wstring longest = L"C:\\" + std::wstring(MaxPatternLength - 11, L'x') + L"\\";
    EXPECT_EQ(ListingPattern(longest).size(), MaxPatternLength);
    EXPECT_EQ(ListingPattern(longest + L"y"), L"");
}

TEST(DateTimes, FileTimesBecomeLocalDateTimes) {
    const SYSTEMTIME noon{2023, 3, 3, 15, 12, 0, 0, 0};
    EXPECT_DOUBLE_EQ(SystemTimeToDateTime(noon), 45000.5);
    const SYSTEMTIME epoch{1899, 12, 6, 30, 0, 0, 0, 0};
    EXPECT_DOUBLE_EQ(SystemTimeToDateTime(epoch), 0.0);
    const double marker = (2 * 3600 + 2 * 60 + 2 + 0.002) / 86400;
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(FILETIME{0, 0}), marker);
    // Beyond what the calendar conversion takes: one of the later markers, never an error.
    const double beyond = FileTimeToDateTime(FILETIME{0xFFFFFFFF, 0xFFFFFFFF});
    EXPECT_TRUE(beyond == (4 * 3600 + 4 * 60 + 4 + 0.004) / 86400 || beyond == (6 * 3600 + 6 * 60 + 6 + 0.006) / 86400)
        << beyond;
    FILETIME local;
    SYSTEMTIME utc{2020, 6, 1, 1, 8, 30, 15, 250};
    FILETIME file;
    SystemTimeToFileTime(&utc, &file);
    FileTimeToLocalFileTime(&file, &local);
    SYSTEMTIME expected;
    FileTimeToSystemTime(&local, &expected);
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(file), SystemTimeToDateTime(expected));
}
