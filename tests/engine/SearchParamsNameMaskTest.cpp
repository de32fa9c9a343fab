#include <gtest/gtest.h>

#include "engine/SearchParamsNameMask.h"
#include "store/MemIniFileUnicode.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/TempFolder.h"

using namespace engine;
using engine::SearchParams::TFileNameMask;

namespace {

const std::wstring Owner = L"/Params/Files";

std::wstring ThirtyOneRuns() {
    std::wstring mask;
    for (int i = 0; i < 31; ++i) mask += L"*a";
    return mask;
}

} // namespace

TEST(SearchParamsNameMask, ValueRules) {
    TFileNameMask mask(Owner);
    EXPECT_EQ(mask.Section(), L"/Params/Files/FileMask");
    EXPECT_EQ(mask.MaskTypeList(), (std::vector<std::wstring>{L"Simple", L"Wildcards"}));
    EXPECT_EQ(mask.MaskType(), nmSimpleText);

    mask.SetRegularExpression(L"*.*");
    mask.SetManualWildcards(L"*.*");
    EXPECT_EQ(mask.MaskType(), nmManualWildcards);
    EXPECT_EQ(mask.ManualWildcards(), L"");
    EXPECT_EQ(mask.RegularExpression(), L"*.*");

    mask.SetManualWildcards(L"*.txt");
    mask.SetMaskType(nmSimpleText);
    mask.SetValue(L"*");
    EXPECT_EQ(mask.SimpleText(), L"");
    EXPECT_EQ(mask.ManualWildcards(), L"*.txt");
    EXPECT_EQ(mask.RegularExpression(), L"*.*");
    mask.SetValue(L"**");  // only the exact texts mean "every name"
    EXPECT_EQ(mask.Value(), L"**");

    mask.SetMaskType(static_cast<TNameMaskType>(9));
    mask.SetValue(L"dropped");
    EXPECT_EQ(mask.Value(), L"");
    mask.Reset();
    EXPECT_EQ(mask.MaskType(), nmSimpleText);
    EXPECT_EQ(mask.ManualWildcards(), L"");
}

TEST(SearchParamsNameMask, IsValidWarnsAboutAMaskThatDoesNotCompile) {
    testsupport::FakeInteraction dialogs;
    TFileNameMask mask(Owner);
    mask.SetManualWildcards(ThirtyOneRuns());
    EXPECT_FALSE(mask.IsValid());
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, L"Invalid 'Wildcards' File Mask.\r\n'" + ThirtyOneRuns() +
                                         L"' is an invalid mask at (62)");
    EXPECT_EQ(dialogs.asked[0].type, kit::MessageType::Warning);
    EXPECT_EQ(dialogs.asked[0].buttons, kit::MessageButtons::Ok);

    // Empty texts, word groups and the regular-expression mode pass without a dialog.
    mask.SetManualWildcards(L"");
    EXPECT_TRUE(mask.IsValid());
    mask.SetSimpleText(ThirtyOneRuns());
    EXPECT_TRUE(mask.IsValid());
    mask.SetRegularExpression(ThirtyOneRuns());
    EXPECT_TRUE(mask.IsValid());
    EXPECT_EQ(dialogs.asked.size(), 1u);
}

TEST(SearchParamsNameMask, SaveAndLoad) {
    testsupport::TempFolder folder;
    store::TMemIniFileUnicode ini(folder / L"criteria.ini");
    TFileNameMask saved(Owner);
    saved.SetSimpleText(L"report 2010");
    saved.SetRegularExpression(L"^a.*");
    saved.SetManualWildcards(L"*.txt|*.doc");
    ini.WriteString(L"/Params/Files/FileMask/SimpleText", L"Stale", L"gone");
    saved.Save(ini);
    EXPECT_EQ(ini.ReadSection(L"/Params/Files/FileMask/SimpleText"), (std::vector<std::wstring>{L"Selected"}));
    EXPECT_EQ(ini.ReadString(L"/Params/Files/FileMask/Type", L"Selected", L""), L"nmManualWildcards");
    const std::vector<std::wstring> sections = ini.ReadSections();
    // Erased and written again, so the stale section moves into the writer's order.
    EXPECT_EQ(sections, (std::vector<std::wstring>{L"/Params/Files/FileMask/Type",
                                                   L"/Params/Files/FileMask/SimpleText",
                                                   L"/Params/Files/FileMask/ManualWildcards",
                                                   L"/Params/Files/FileMask/RegularExpression"}));

    TFileNameMask loaded(Owner);
    loaded.Load(ini);
    EXPECT_EQ(loaded.MaskType(), nmManualWildcards);
    EXPECT_EQ(loaded.SimpleText(), L"report 2010");
    EXPECT_EQ(loaded.ManualWildcards(), L"*.txt|*.doc");
    EXPECT_EQ(loaded.RegularExpression(), L"^a.*");
}

TEST(SearchParamsNameMask, LoadTakesStoredModesAndTextsAsTheyAre) {
    testsupport::TempFolder folder;
    struct Case { const wchar_t* stored; TNameMaskType expected; };
    const Case cases[] = {
        {L"nmRegularExpression", nmRegularExpression},  // not offered by the list, still selected
        {L"NMMANUALWILDCARDS", nmManualWildcards},
        {L"nmSomethingElse", nmSimpleText},
        {L"", nmSimpleText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.stored << '"');
        store::TMemIniFileUnicode ini(folder / L"criteria.ini");
        ini.WriteString(L"/Params/Files/FileMask/Type", L"Selected", c.stored);
        ini.WriteString(L"/Params/Files/FileMask/ManualWildcards", L"Selected", L"*.*");
        TFileNameMask mask(Owner);
        mask.SetRegularExpression(L"kept?");
        mask.Load(ini);
        EXPECT_EQ(mask.MaskType(), c.expected);
        EXPECT_EQ(mask.ManualWildcards(), L"*.*");
        EXPECT_EQ(mask.RegularExpression(), L"");  // a missing key reads as empty
    }
}
