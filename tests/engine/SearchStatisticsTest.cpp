#include <gtest/gtest.h>

#include "engine/SearchStatistics.h"
#include "tests/support/FakeInteraction.h"

using engine::TSearchStatistics;

namespace {

constexpr LCID EnglishUS = 0x0409;
constexpr LCID GermanGermany = 0x0407;

class SearchStatisticsTest : public testing::Test {
protected:
    // Moves both clocks of the seam on, as the real ones move.
    void Advance(DWORD milliseconds) {
        clock.ticks += milliseconds;
        clock.now += milliseconds / 86400000.0;
    }

    testsupport::FakeInteraction clock;
    TSearchStatistics stats{EnglishUS};
};

} // namespace

TEST_F(SearchStatisticsTest, EmptySearch) {
    stats.Reset();
    stats.EndSearch();
    EXPECT_EQ(stats.GetObjectsFoundText(), L"Objects Found: 0 Files and 0 Folders");
    EXPECT_EQ(stats.GetTotalSizeText(), L"Total Size: 0 KBytes");
    EXPECT_EQ(stats.GetSummaryText(),
              L" Total Objects Found: 0 - Search Time: 00:00:000 (min.sec.msec) - Controlled: 0 Objects - Speed: 0 "
              L"Objects/sec.");
    EXPECT_EQ(stats.SearchMilliseconds(), 5);
    EXPECT_EQ(stats.Speed(), 0);
}

TEST_F(SearchStatisticsTest, CountsOneSearchAndKeepsTheValuesUntilReset) {
    stats.AddControlledObjects(99);
    stats.Reset();
    const double start = clock.now;
    stats.AddScannedFiles(40);
    stats.AddScannedFolders(5);
    stats.AddControlledObjects(45);
    stats.AddScannedFiles(2);
    stats.AddControlledObjects(2);
    for (int i = 0; i < 12; ++i) {
        stats.IncFilesFound();
        stats.IncObjectsFound();
        stats.AddSize(100);
    }
    for (int i = 0; i < 3; ++i) {
        stats.IncFoldersFound();
        stats.IncObjectsFound();
    }
    Advance(1000);
    stats.EndSearch();
    EXPECT_EQ(stats.ScannedFiles(), 42);
    EXPECT_EQ(stats.ScannedFolders(), 5);
    EXPECT_EQ(stats.TotalSize(), 1200);
    EXPECT_EQ(stats.SearchStart(), start);
    EXPECT_EQ(stats.SearchStop(), clock.now);
    EXPECT_EQ(stats.GetObjectsFoundText(), L"Objects Found: 12 Files and 3 Folders");
    const std::wstring summary =
        L" Total Objects Found: 15 - Search Time: 00:01:000 (min.sec.msec) - Controlled: 47 Objects - Speed: 47 "
        L"Objects/sec.";
    EXPECT_EQ(stats.GetSummaryText(), summary);
    Advance(5000);
    EXPECT_EQ(stats.GetSummaryText(), summary);

    stats.Reset();
    EXPECT_EQ(stats.GetObjectsFoundText(), L"Objects Found: 0 Files and 0 Folders");
    EXPECT_EQ(stats.ControlledObjects(), 0);
    EXPECT_EQ(stats.TotalSize(), 0);
    EXPECT_EQ(stats.SearchStart(), clock.now);
}

TEST_F(SearchStatisticsTest, TotalSizeInWholeKilobytesWithTheLocalesSeparator) {
    struct SizeCase { LCID locale; long double bytes; const wchar_t* text; };
    const SizeCase cases[] = {
        {EnglishUS, 1023, L"Total Size: 0 KBytes"},
        {EnglishUS, 1535, L"Total Size: 1 KBytes"},
        {EnglishUS, 1048576, L"Total Size: 1,024 KBytes"},
        {EnglishUS, 1125899906842624.0L + 1023, L"Total Size: 1,099,511,627,776 KBytes"},
        {GermanGermany, 1048576, L"Total Size: 1.024 KBytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text);
        TSearchStatistics local(c.locale);
        local.AddSize(c.bytes);
        EXPECT_EQ(local.GetTotalSizeText(), c.text);
    }
}

TEST_F(SearchStatisticsTest, TimeAndSpeed) {
    struct SpeedCase { std::int64_t controlled; DWORD milliseconds; const wchar_t* time; const wchar_t* speed; };
    const SpeedCase cases[] = {
        {10000, 2500, L"00:02:500", L"4,000"},
        // Within the clock's resolution: the speed is taken over 5 ms.
        {10000, 0, L"00:00:000", L"2,000,000"},
        {3, 2000, L"00:02:000", L"2"},  // 1.5 rounds up
        {1, 3723004, L"02:03:004", L"0"},
        // A day and an hour: the text wraps at the hour, the speed does not.
        {90000, 90000000, L"00:00:000", L"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.time);
        stats.Reset();
        stats.AddControlledObjects(c.controlled);
        Advance(c.milliseconds);
        stats.EndSearch();
        EXPECT_EQ(stats.GetSummaryText(), std::wstring(L" Total Objects Found: 0 - Search Time: ") + c.time +
                                              L" (min.sec.msec) - Controlled: " + std::to_wstring(c.controlled) +
                                              L" Objects - Speed: " + c.speed + L" Objects/sec.");
        EXPECT_EQ(stats.SearchMilliseconds(), c.milliseconds ? c.milliseconds : 5);
        EXPECT_DOUBLE_EQ(stats.SearchTime(), c.milliseconds / 86400000.0);
    }
}

TEST_F(SearchStatisticsTest, SearchTimeIgnoresAClockSetBack) {
    stats.Reset();
    stats.AddControlledObjects(500);
    clock.ticks += 250;
    clock.now -= 1.0 / 24;  // daylight saving ends during the search
    stats.EndSearch();
    EXPECT_NE(stats.GetSummaryText().find(L"Search Time: 00:00:250 "), std::wstring::npos);
    EXPECT_EQ(stats.Speed(), 2000);
}

TEST_F(SearchStatisticsTest, CountersPassTwoBillion) {
    stats.Reset();
    stats.AddControlledObjects(3000000000LL);
    stats.AddControlledObjects(3000000000LL);
    Advance(1000);
    stats.EndSearch();
    EXPECT_NE(stats.GetSummaryText().find(L"Controlled: 6000000000 Objects - Speed: 6,000,000,000 "),
              std::wstring::npos);
}

TEST_F(SearchStatisticsTest, ExportTime) {
    stats.StartExport();
    const double start = clock.now;
    Advance(61234);
    stats.EndExport();
    EXPECT_EQ(stats.ExportStart(), start);
    EXPECT_EQ(stats.ExportStop(), clock.now);
    EXPECT_EQ(stats.GetExportTimeText(), L" Done - Export Time: 01:01:234 (min.sec.msec)");
    EXPECT_DOUBLE_EQ(stats.ExportTime(), 61234 / 86400000.0);
}
