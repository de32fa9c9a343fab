#include <gtest/gtest.h>

#include "engine/SearchParamsDates.h"
#include "engine/SearchParamsFiles.h"
#include "store/MemIniFileUnicode.h"
#include "tests/engine/CalendarFixture.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

using namespace engine;
using namespace engine::SearchParams;
using testsupport::At;
using testsupport::DateTimeTolerance;

namespace {

const std::wstring Owner = L"/Params/Files";
const std::wstring Modified = L"/Params/Files/Date/Modified";

// Sets the user's short date format for the test's run and puts the old one back.
class ShortDateFormat {
public:
    explicit ShortDateFormat(const wchar_t* picture) : saved_(UserShortDateFormat()) { Set(picture); }
    ~ShortDateFormat() { Set(saved_.c_str()); }
    ShortDateFormat(const ShortDateFormat&) = delete;
    ShortDateFormat& operator=(const ShortDateFormat&) = delete;

private:
    static void Set(const wchar_t* picture) { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture); }
    std::wstring saved_;
};

} // namespace

TEST(SearchParamsFiles, SizeBoundsFollowValueAndUnit) {
    struct Case { TSizeUnitType unit; std::int32_t value; long double bytes; };
    const Case cases[] = {
        {suMB, 10, 10485760.0L}, {suGB, 10, 10737418240.0L}, {suKB, -5, 0}, {suKB, 0, 0},
        {suBytes, 7, 7}, {suGB, 32767, 32767.0L * 1073741824.0L}, {static_cast<TSizeUnitType>(9), 5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.unit) << " " << c.value);
        EXPECT_EQ(SizeToBytes(c.unit, c.value), c.bytes);
    }

    TSearchSize size(Owner);
    EXPECT_EQ(size.Section(), L"/Params/Files/Size");
    EXPECT_EQ(size.UnitTypeFrom(), suKB);
    size.SetValueFrom(10);
    EXPECT_EQ(size.BytesFrom(), 10240.0L);
    size.SetUnitTypeFrom(suMB);
    EXPECT_EQ(size.BytesFrom(), 10485760.0L);
    size.SetUnitTypeFrom(suGB);
    EXPECT_EQ(size.BytesFrom(), 10737418240.0L);
    size.SetValueFrom(-5);
    EXPECT_EQ(size.BytesFrom(), 0.0L);
    size.SetValueTo(3);
    size.SetUnitTypeTo(suBytes);
    EXPECT_EQ(size.BytesTo(), 3.0L);
    EXPECT_EQ(size.BytesFrom(), 0.0L);
}

TEST(SearchParamsFiles, DelayBoundWithAFixedClock) {
    testsupport::FakeInteraction clock;
    struct Case { TDateDelayType delay; std::int32_t count; double now; double expected; };
    const Case cases[] = {
        {ddMonths, 1, At(2023, 3, 31, 10), At(2023, 2, 28, 10)},
        {ddMonths, 1, At(2024, 3, 31, 10), At(2024, 2, 29, 10)},
        {ddYears, 1, At(2024, 2, 29, 10), At(2023, 2, 28, 10)},
        {ddWeeks, 2, At(2023, 3, 15, 12), At(2023, 3, 1, 12)},
        {ddDays, 3, At(2023, 3, 2, 12), At(2023, 2, 27, 12)},
        {ddHours, 5, At(2023, 3, 2, 3), At(2023, 3, 1, 22)},
        {ddMinutes, 90, At(2023, 3, 2, 0, 30), At(2023, 3, 1, 23)},
        {ddSeconds, 30, At(2023, 3, 2, 0, 0, 10), At(2023, 3, 1, 23, 59, 40)},
        // Periods beyond the calendar give its first day instead of failing the search.
        {ddYears, 32767, At(2023, 3, 15), MinDateTime},
        {ddMonths, 32767, At(2023, 3, 15), MinDateTime},
        {ddDays, 2147483647, At(2023, 3, 15), MinDateTime},
        {ddYears, -32767, At(2023, 3, 15), MaxDateTime},
    };
    TSearchDateModified date(Owner + L"/Date");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.delay) << " x " << c.count);
        clock.now = c.now;
        date.DelayType = c.delay;
        date.ValuePeriodDelayPos = c.count;
        EXPECT_NEAR(date.GetDelayDateTime(), c.expected, DateTimeTolerance);
    }

    date.DelayType = ddDate;
    date.SetValueDateDelay(At(2010, 5, 5, 14, 30));
    date.SetValueTimeDelay(At(1899, 12, 30, 8, 15));
    EXPECT_NEAR(date.GetDelayDateTime(), At(2010, 5, 5, 8, 15), DateTimeTolerance);
}

TEST(SearchParamsFiles, DateWritersChangeTheirHalfOfTheJoinedValue) {
    testsupport::FakeInteraction clock;
    clock.now = At(2023, 3, 15, 12);
    TSearchDateCreation date(Owner + L"/Date");
    EXPECT_EQ(date.Section(), L"/Params/Files/Date/Creation");
    EXPECT_EQ(date.DateType(), dtCreation);
    EXPECT_EQ(date.ValueDateFrom(), At(2023, 3, 15, 12));
    EXPECT_EQ(date.DateTimeFrom(), At(2023, 3, 15));  // today at midnight
    EXPECT_EQ(date.DateTimeTo(), At(2023, 3, 15));

    date.SetValueTimeFrom(At(2000, 1, 1, 9, 30));
    EXPECT_NEAR(date.DateTimeFrom(), At(2023, 3, 15, 9, 30), DateTimeTolerance);
    date.SetValueTimeFrom(At(2000, 1, 1, 9, 30));
    EXPECT_NEAR(date.DateTimeFrom(), At(2023, 3, 15, 9, 30), DateTimeTolerance);
    date.SetValueDateFrom(At(2011, 7, 8, 23));
    EXPECT_NEAR(date.DateTimeFrom(), At(2011, 7, 8, 9, 30), DateTimeTolerance);
    date.SetValueDateTo(At(2012, 1, 2, 5));
    EXPECT_NEAR(date.DateTimeTo(), At(2012, 1, 2), DateTimeTolerance);
    EXPECT_NEAR(date.DateTimeFrom(), At(2011, 7, 8, 9, 30), DateTimeTolerance);
}

TEST(SearchParamsFiles, DateRowsRoundTripInTheirOrder) {
    testsupport::FakeInteraction clock;
    clock.now = At(2023, 3, 15, 12);
    testsupport::TempFolder folder;
    store::TMemIniFileUnicode ini(folder / L"criteria.ini");
    ini.WriteString(Modified, L"Stale", L"gone");

    TSearchDate saved(Owner);
    saved.Enabled = true;
    saved.DateModified.Enabled = true;
    saved.DateModified.RangeType = drNotBetween;
    saved.DateModified.SetValueDateFrom(At(2010, 5, 4, 17));
    saved.DateModified.SetValueTimeFrom(At(1899, 12, 30, 8, 15, 7));
    saved.DateModified.SetValueDateTo(At(2011, 12, 31));
    saved.DateModified.SetValueTimeTo(At(1899, 12, 30, 23, 59, 59));
    saved.DateModified.DelayType = ddWeeks;
    saved.DateModified.SetValueDateDelay(At(1850, 1, 2));
    saved.DateModified.ValuePeriodDelayPos = 40000;  // taken as it is, outside the offered bounds
    saved.Save(ini);

    EXPECT_EQ(ini.ReadSection(Modified),
              (std::vector<std::wstring>{L"Enabled", L"ValueDateFrom", L"ValueTimeFrom", L"ValueDateTo",
                                         L"ValueTimeTo", L"ValueDateDelay", L"ValueTimeDelay",
                                         L"ValuePeriodDelayPos"}));
    EXPECT_EQ(ini.ReadString(Modified, L"ValueDateFrom", L""), L"2010-05-04");
    EXPECT_EQ(ini.ReadString(Modified, L"ValueTimeFrom", L""), L"08:15:07");
    EXPECT_EQ(ini.ReadString(Modified + L"/RangeType", L"Selected", L""), L"drNotBetween");
    EXPECT_EQ(ini.ReadString(Modified + L"/DelayType", L"Selected", L""), L"ddWeeks");
    EXPECT_EQ(ini.ReadString(L"/Params/Files/Date", L"Enabled", L""), L"True");
    EXPECT_TRUE(ini.SectionExists(L"/Params/Files/Date/LastAccess/DelayType"));

    clock.now = At(2030, 1, 1);
    TSearchDate loaded(Owner);
    loaded.Load(ini);
    const TSearchDateBase& date = loaded.DateModified;
    EXPECT_TRUE(loaded.Enabled);
    EXPECT_TRUE(date.Enabled);
    EXPECT_EQ(date.RangeType, drNotBetween);
    EXPECT_EQ(date.DelayType, ddWeeks);
    EXPECT_EQ(date.ValuePeriodDelayPos, 40000);
    EXPECT_NEAR(date.DateTimeFrom(), At(2010, 5, 4, 8, 15, 7), DateTimeTolerance);
    EXPECT_NEAR(date.DateTimeTo(), At(2011, 12, 31, 23, 59, 59), DateTimeTolerance);
    EXPECT_NEAR(date.DateTimeDelay(), At(1850, 1, 2), DateTimeTolerance);
    EXPECT_FALSE(loaded.DateCreation.Enabled);
    EXPECT_NEAR(loaded.DateCreation.DateTimeFrom(), At(2023, 3, 15), DateTimeTolerance);
}

TEST(SearchParamsFiles, ChangingTheLocaleDoesNotSwapStoredDays) {
    testsupport::FakeInteraction clock;
    testsupport::TempFolder folder;
    store::TMemIniFileUnicode ini(folder / L"criteria.ini");
    TSearchDate saved(Owner);
    saved.DateModified.SetValueDateFrom(At(2010, 5, 4));
    {
        ShortDateFormat american(L"M/d/yyyy");
        saved.Save(ini);
    }
    // An older file's date, in the short date format of the machine that wrote it.
    ini.WriteString(Modified, L"ValueDateTo", L"04/05/2010");

    ShortDateFormat european(L"dd/MM/yyyy");
    ASSERT_EQ(UserShortDateFormat(), L"dd/MM/yyyy");
    TSearchDate loaded(Owner);
    loaded.Load(ini);
    EXPECT_NEAR(loaded.DateModified.DateTimeFrom(), At(2010, 5, 4), DateTimeTolerance);
    EXPECT_NEAR(loaded.DateModified.DateTimeTo(), At(2010, 5, 4), DateTimeTolerance);
}

TEST(SearchParamsFiles, UnreadableRowsFallBackToTheDefaults) {
    testsupport::FakeInteraction clock;
    clock.now = At(2023, 3, 15, 12);
    testsupport::TempFolder folder;
    store::TMemIniFileUnicode ini(folder / L"criteria.ini");
    ini.WriteString(Modified, L"Enabled", L"yes");
    ini.WriteString(Modified, L"ValueDateFrom", L"someday");
    ini.WriteString(Modified, L"ValueTimeFrom", L"teatime");
    ini.WriteString(Modified, L"ValuePeriodDelayPos", L"many");
    ini.WriteString(Modified + L"/RangeType", L"Selected", L"drSometime");
    ini.WriteString(L"/Params/Files/Size/UnitTypeFrom", L"Selected", L"suTB");
    ini.WriteString(L"/Params/Files/Size/RangeType", L"Selected", L"srsmallerthen");  // case does not matter
    ini.WriteString(L"/Params/Files/Size", L"ValueFrom", L"12");

    TSearchDate date(Owner);
    date.DateModified.Enabled = true;
    date.DateModified.ValuePeriodDelayPos = 9;
    date.Load(ini);
    EXPECT_FALSE(date.DateModified.Enabled);
    EXPECT_EQ(date.DateModified.RangeType, drBetween);
    EXPECT_EQ(date.DateModified.ValueDateFrom(), At(2023, 3, 15, 12));
    EXPECT_EQ(date.DateModified.ValueTimeFrom(), 0.0);
    EXPECT_EQ(date.DateModified.ValuePeriodDelayPos, 1);

    TSearchSize size(Owner);
    size.SetUnitTypeFrom(suGB);
    size.Load(ini);
    EXPECT_EQ(size.UnitTypeFrom(), suKB);
    EXPECT_EQ(size.RangeType, srSmallerThen);
    EXPECT_EQ(size.BytesFrom(), 12288.0L);
}

TEST(SearchParamsFiles, AttributeSetAndItsRows) {
    TSearchAttributes attributes(Owner);
    EXPECT_EQ(attributes.Values().Bits(), 9311);
    EXPECT_EQ(attributes.Win32Attributes(), 18615u);
    attributes.SetValues({saHidden, saVirtual});
    EXPECT_EQ(attributes.Win32Attributes(), DWORD{2 + 65536});

    testsupport::TempFolder folder;
    store::TMemIniFileUnicode ini(folder / L"criteria.ini");
    attributes.Reset();
    attributes.Save(ini);
    const std::wstring values = L"/Params/Files/Attributes/Values";
    const auto keys = ini.ReadSection(values);
    ASSERT_EQ(keys.size(), 15u);
    for (int i = 0; i < ScanAttributeCount; ++i) {
        const auto member = static_cast<TScanAttribute>(i);
        SCOPED_TRACE(testing::Message() << keys[i]);
        EXPECT_EQ(keys[i], std::wstring(IdentifierName(member).substr(2)));
        EXPECT_EQ(ini.ReadString(values, keys[i], L""),
                  TSearchAttributes::DefaultValues.Contains(member) ? L"True" : L"False");
    }

    for (const auto& key : keys) ini.WriteString(values, key, L"False");
    attributes.Load(ini);
    EXPECT_TRUE(attributes.Values().Empty());
    EXPECT_EQ(attributes.Win32Attributes(), 0u);
    ini.WriteString(values, L"offline", L"true");
    ini.WriteString(L"/Params/Files/Attributes/Match", L"Selected", L"maMatchAll");
    attributes.Load(ini);
    EXPECT_EQ(attributes.Values(), (TScanAttributes{saOffLine}));
    EXPECT_EQ(attributes.Win32Attributes(), DWORD{FILE_ATTRIBUTE_OFFLINE});
    EXPECT_EQ(attributes.MatchAttributes, maMatchAll);
}
