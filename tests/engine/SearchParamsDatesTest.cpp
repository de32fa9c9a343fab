#include <gtest/gtest.h>

#include "engine/SearchParamsDates.h"
#include "tests/engine/CalendarFixture.h"

#include <optional>

using namespace engine::SearchParams;
using testsupport::At;
using testsupport::DateTimeTolerance;

namespace {

void ExpectDateTime(std::optional<double> actual, std::optional<double> expected) {
    ASSERT_EQ(actual.has_value(), expected.has_value());
    if (expected) {
        EXPECT_NEAR(*actual, *expected, DateTimeTolerance);
    }
}

} // namespace

TEST(SearchParamsDates, CalendarArithmeticStaysInsideTheCalendar) {
    struct Case { double from; std::int64_t months; double expected; };
    const Case cases[] = {
        {At(2023, 3, 31, 10), 1, At(2023, 2, 28, 10)},
        {At(2024, 3, 31, 10), 1, At(2024, 2, 29, 10)},
        {At(2024, 2, 29, 23, 59, 59), 12, At(2023, 2, 28, 23, 59, 59)},
        {At(2023, 1, 15), 13, At(2021, 12, 15)},
        {At(2023, 1, 31, 6), -1, At(2023, 2, 28, 6)},
        {At(1850, 6, 15, 12), 1, At(1850, 5, 15, 12)},  // before 1899 the time of day is still kept
        {At(2023, 3, 15), 32767LL * 12, MinDateTime},
        {At(2023, 3, 15), 2023LL * 12, MinDateTime},
        {At(2023, 3, 15), 2022LL * 12 + 2, At(1, 1, 15)},
        {At(2023, 3, 15), -9000LL * 12, MaxDateTime},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " back " << c.months);
        EXPECT_NEAR(MonthsBack(c.from, c.months), c.expected, DateTimeTolerance);
    }
    EXPECT_EQ(PeriodBack(At(2023, 3, 15), 2147483647LL, 7.0), MinDateTime);
    EXPECT_EQ(PeriodBack(At(2023, 3, 15), -2147483647LL, 7.0), MaxDateTime);
    EXPECT_NEAR(JoinDateTime(At(2010, 5, 5, 14, 30), At(1999, 1, 1, 8, 15)), At(2010, 5, 5, 8, 15), DateTimeTolerance);
    EXPECT_NEAR(JoinDateTime(At(1850, 5, 5, 14, 30), At(1850, 1, 1, 8, 15)), At(1850, 5, 5, 8, 15), DateTimeTolerance);
}

TEST(SearchParamsDates, StoredFormsDoNotDependOnTheRegion) {
    EXPECT_EQ(DateToStoredText(At(2010, 5, 4, 23, 59, 59)), L"2010-05-04");
    EXPECT_EQ(DateToStoredText(At(1, 1, 1)), L"0001-01-01");
    EXPECT_EQ(DateToStoredText(At(1850, 12, 31, 18)), L"1850-12-31");
    EXPECT_EQ(TimeToStoredText(At(2010, 5, 4, 8, 15, 7)), L"08:15:07");
    EXPECT_EQ(TimeToStoredText(At(2010, 5, 4, 23, 59, 59) + 0.9999 / 86400), L"23:59:59");
    EXPECT_EQ(TimeToStoredText(0), L"00:00:00");

    // Whatever the short date format, the stored form reads the same day.
    for (const wchar_t* picture : {L"M/d/yyyy", L"dd/MM/yyyy", L"yyyy.MM.dd", L""})
        ExpectDateTime(ParseStoredDate(L"2010-05-04", picture, At(2023, 3, 15)), At(2010, 5, 4));
}

TEST(SearchParamsDates, OlderFilesInTheShortDateFormatStillRead) {
    const double now = At(2023, 3, 15);
    struct Case { const wchar_t* text; const wchar_t* picture; std::optional<double> expected; };
    const Case cases[] = {
        {L"5/4/2010", L"M/d/yyyy", At(2010, 5, 4)},
        {L"4/5/2010", L"d/M/yyyy", At(2010, 5, 4)},
        {L"04.05.2010", L"dd.MM.yyyy", At(2010, 5, 4)},
        {L"2010/05/04", L"yyyy/MM/dd", At(2010, 5, 4)},
        {L" 04-05-2010 ", L"dd'-'MM'-'yyyy", At(2010, 5, 4)},
        {L"4/5/10", L"d/M/yy", At(2010, 5, 4)},
        {L"4/5/73", L"d/M/yy", At(1973, 5, 4)},  // fifty years back from the current year
        {L"4/5/72", L"d/M/yy", At(2072, 5, 4)},
        {L"29/02/2024", L"dd/MM/yyyy", At(2024, 2, 29)},
        {L"29/02/2023", L"dd/MM/yyyy", std::nullopt},
        {L"13/13/2010", L"dd/MM/yyyy", std::nullopt},
        {L"4 May 2010", L"d/M/yyyy", std::nullopt},
        {L"4/5", L"d/M/yyyy", std::nullopt},
        {L"4/5/2010/1", L"d/M/yyyy", std::nullopt},
        {L"4/5/2010", L"", std::nullopt},
        {L"", L"d/M/yyyy", std::nullopt},
        {L"2010-13-04", L"yyyy-MM-dd", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " as " << c.picture);
        ExpectDateTime(ParseStoredDate(c.text, c.picture, now), c.expected);
    }
}

TEST(SearchParamsDates, TimesReadInTwentyFourHourAndDesignatorForms) {
    struct Case { const wchar_t* text; std::optional<double> expected; };
    const Case cases[] = {
        {L"08:15:00", At(1899, 12, 30, 8, 15)},
        {L"8:15", At(1899, 12, 30, 8, 15)},
        {L"20.15.30", At(1899, 12, 30, 20, 15, 30)},
        {L"8:15:00 PM", At(1899, 12, 30, 20, 15)},
        {L"12:00:00 AM", 0.0},
        {L"12:30 pm", At(1899, 12, 30, 12, 30)},
        {L"AM 9:05:00", At(1899, 12, 30, 9, 5)},
        {L"13:00 PM", std::nullopt},
        {L"24:00:00", std::nullopt},
        {L"8:61", std::nullopt},
        {L"8", std::nullopt},
        {L"eight", std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text);
        ExpectDateTime(ParseStoredTime(c.text), c.expected);
    }
}
