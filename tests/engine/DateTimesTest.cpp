#include <gtest/gtest.h>

#include "engine/DateTimes.h"
#include "engine/SearchParamsDates.h"
#include "kit/Strings.h"

#include <tuple>

using namespace engine;

namespace {

auto Fields(const TDateTimeParts& p) {
    return std::make_tuple(p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second, p.Millisecond);
}

} // namespace

// Before 30 December 1899 the day is the floor and the time still runs forwards, so a filter comparing values
// sees the earlier time as the smaller one; the criteria's stored dates read the same day as the cells.
TEST(DateTimes, ValuesBeforeTheEpochRoundTripAndKeepTheirOrder) {
    struct Case { TDateTimeParts parts; double value; };
    const Case cases[] = {  // in time order
        {{1, 1, 1, 0, 0, 0, 0}, -693593.0},
        {{1, 1, 1, 12, 0, 0, 0}, -693592.5},
        {{1800, 2, 28, 23, 59, 59, 999}, -36464.0 + 86399999.0 / 86400000},
        {{1899, 12, 29, 6, 0, 0, 0}, -0.75},
        {{1899, 12, 29, 18, 0, 0, 0}, -0.25},
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
        {{1899, 12, 30, 0, 0, 0, 1}, 1.0 / 86400000},
    };
    double previous = -1e9;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value);
        const double value = EncodeDateTime(c.parts);
        EXPECT_DOUBLE_EQ(value, c.value);
        EXPECT_GT(value, previous);
        previous = value;
        const auto back = DecodeDateTime(value);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(Fields(*back), Fields(c.parts));
        EXPECT_EQ(SearchParams::DateToStoredText(value),
                  kit::Format(L"%04d-%02d-%02d", c.parts.Year, c.parts.Month, c.parts.Day));
    }
    EXPECT_FALSE(DecodeDateTime(-693593.25).has_value());  // 31 December of the year 0
}

// The walker converts a folder's file times with one reading of the local offset; each time must come out as the
// system's own two conversions make it, the failures' markers included.
TEST(DateTimes, OneConverterGivesWhatEachSystemConversionGives) {
    const auto marker = [](int unit) { return (unit * 3600.0 + unit * 60.0 + unit + unit / 1000.0) / 86400.0; };
    const auto reference = [&](const FILETIME& time) {
        if (time.dwLowDateTime == 0 && time.dwHighDateTime == 0) return marker(2);
        FILETIME local;
        if (!FileTimeToLocalFileTime(&time, &local)) return marker(4);
        SYSTEMTIME calendar;
        if (!FileTimeToSystemTime(&local, &calendar)) return marker(6);
        return SystemTimeToDateTime(calendar);
    };
    const FILETIME times[] = {
        {0, 0},                        // never set
        {1, 0}, {10000, 0},            // 1 January 1601, a tick and a millisecond in
        {0xB0E7A800, 0x01D6376A},      // June 2020
        {0x12345678, 0x01D9ABCD},      // 2023, a time between two milliseconds
        {0xFFFFFFFF, 0x7FFFFFFF},      // the last time a calendar takes, and beyond it
        {0xFFFFFFFF, 0xFFFFFFFF},
    };
    const TFileTimeConverter converter;
    for (const FILETIME& time : times) {
        SCOPED_TRACE(testing::Message() << std::hex << time.dwHighDateTime << " " << time.dwLowDateTime);
        EXPECT_EQ(converter.ToDateTime(time), reference(time));
    }
}
