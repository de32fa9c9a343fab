// The verbs in Explorer's context menu, read back from the test prefix's registry, and the removal of the
// earlier shell extension.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/ContextMenuRegistration.h"
#include "kit/Registry.h"
#include "kit/Strings.h"
#include "tests/app/LegacyKeysFixture.h"
#include "tests/support/ContextMenuVerbs.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/FakeRegistryWriter.h"

using testsupport::ClassesValue;
using testsupport::ContextMenuVerb;
using testsupport::FakeInteraction;
using testsupport::FakeRegistryWriter;
using testsupport::kContextMenuVerbs;
using testsupport::VerbKey;

namespace {

constexpr const wchar_t* kExe = L"C:\\Program Files\\Kolvaran\\Kolvaran.exe";
constexpr std::uint8_t kAllPlaces = 15;
const std::wstring kQuotedExe = L"\"C:\\Program Files\\Kolvaran\\Kolvaran.exe\"";


void MakeVerb(const ContextMenuVerb& place, const std::wstring& caption) {
    ASSERT_TRUE(kit::RealRegistryWriter().CreateKey(VerbKey(place.key)));
    kit::RealRegistryWriter().WriteText(VerbKey(place.key), L"", caption);
}

class ContextMenuTest : public testing::Test {
protected:
    void SetUp() override { RemoveVerbs(); }
    void TearDown() override { RemoveVerbs(); }
    static void RemoveVerbs() { testsupport::RemoveContextMenuVerbs(); }
    static bool Set(std::uint8_t mask) {
        return app::SetContextMenuOptions(mask, kExe, app::kContextMenuVerbName, app::kContextMenuCaption);
    }
    static std::uint8_t Get() { return app::GetContextMenuOptions(app::kContextMenuVerbName); }

    FakeInteraction interaction;
};

} // namespace

TEST_F(ContextMenuTest, EachVerbHoldsTheCaptionTheIconAndItsCommandLine) {
    ASSERT_TRUE(Set(kAllPlaces));
    for (const ContextMenuVerb& place : kContextMenuVerbs) {
        SCOPED_TRACE(testing::Message() << place.key);
        EXPECT_EQ(ClassesValue(place.key, nullptr), L"Search with Kolvaran...");
        EXPECT_EQ(ClassesValue(place.key, L"Icon"), kQuotedExe);
        EXPECT_EQ(ClassesValue(std::wstring(place.key) + L"\\command", nullptr), kQuotedExe + L" " + place.parameter);
    }
    EXPECT_EQ(Get(), kAllPlaces);
    EXPECT_TRUE(interaction.asked.empty());
}

TEST_F(ContextMenuTest, TheMaskAddsAndRemovesEachPlaceOnItsOwn) {
    // From the keys present before to the mask asked; the keys present after read back as the new mask.
    struct Case { std::uint8_t before; std::uint8_t mask; };
    const Case cases[] = {{0, 0}, {0, 4 | 8}, {kAllPlaces, 0}, {1 | 4, 2 | 4}, {kAllPlaces, 1}, {8, kAllPlaces}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.before) << " -> " << int(c.mask));
        RemoveVerbs();
        ASSERT_TRUE(Set(c.before));
        EXPECT_EQ(Get(), c.before);
        EXPECT_TRUE(Set(c.mask));
        EXPECT_EQ(Get(), c.mask);
        for (const ContextMenuVerb& place : kContextMenuVerbs) {
            if (c.mask & place.bit) continue;
            EXPECT_EQ(ClassesValue(std::wstring(place.key) + L"\\command", nullptr), L"(none)") << "with its command";
        }
    }
    EXPECT_TRUE(interaction.asked.empty());
}

TEST_F(ContextMenuTest, AVerbAlreadyThereStaysAsItIs) {
    MakeVerb(kContextMenuVerbs[2], L"Another caption");
    ASSERT_TRUE(Set(kAllPlaces));
    EXPECT_EQ(ClassesValue(kContextMenuVerbs[2].key, nullptr), L"Another caption");
    EXPECT_EQ(ClassesValue(kContextMenuVerbs[2].key, L"Icon"), L"(none)");
    EXPECT_EQ(ClassesValue(kContextMenuVerbs[3].key, nullptr), L"Search with Kolvaran...");
}

TEST_F(ContextMenuTest, ARefusedKeyIsLeftOutQuietlyAndTheOthersAreMade) {
    FakeRegistryWriter registry;
    registry.refusedCreates.insert(kContextMenuVerbs[2].key);
    EXPECT_TRUE(Set(kAllPlaces));
    EXPECT_EQ(Get(), 1 | 2 | 8);
    EXPECT_TRUE(interaction.asked.empty());
}

TEST_F(ContextMenuTest, AFailedStepIsShownWithItsTextAndLeavesNoHalfMadeVerb) {
    // Where the refusal comes, and the step the error names.
    struct Case { std::wstring refusedWrite; std::wstring refusedCreate; const wchar_t* step; };
    const std::wstring drives = kContextMenuVerbs[2].key;
    const Case cases[] = {
        {drives, L"", L"Function: Check Option Write Value for <Add \"Kolvaran...\" Item to Drives>"},
        {drives + L"\\command", L"",
         L"Function: Check Option Command Write Value for <Add \"Kolvaran...\" Item to Drives>"},
        {L"", drives + L"\\command", nullptr},  // a refused key shows nothing; the verb still goes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.refusedWrite << c.refusedCreate);
        RemoveVerbs();
        interaction.asked.clear();
        FakeRegistryWriter registry;
        if (!c.refusedWrite.empty()) registry.refusedWrites.insert(c.refusedWrite);
        if (!c.refusedCreate.empty()) registry.refusedCreates.insert(c.refusedCreate);
        const bool ok = Set(kAllPlaces);
        EXPECT_FALSE(kit::RegistryKeyExists(VerbKey(kContextMenuVerbs[2].key)));
        if (!c.step) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(Get(), 1 | 2 | 8);
            EXPECT_TRUE(interaction.asked.empty());
            continue;
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(Get(), 1 | 2) << "the places after the failed one are skipped";
        ASSERT_EQ(interaction.asked.size(), 1u);
        EXPECT_EQ(interaction.asked[0].text, std::wstring(c.step) + L"\r\nError: Access is denied.");
        EXPECT_EQ(interaction.asked[0].type, kit::MessageType::Error);
        EXPECT_EQ(interaction.asked[0].buttons, kit::MessageButtons::Ok);
    }
}

TEST_F(ContextMenuTest, ARefusedRemovalKeepsTheVerb) {
    ASSERT_TRUE(Set(kAllPlaces));
    FakeRegistryWriter registry;
    registry.refusedDeletes.insert(kContextMenuVerbs[0].key);
    EXPECT_TRUE(Set(0));
    EXPECT_EQ(Get(), 1);
}

namespace {

class LegacyShellExtensionTest : public testing::Test {
protected:
    void SetUp() override { apptest::RemoveLegacyKeys(); }
    void TearDown() override { apptest::RemoveLegacyKeys(); }
};

} // namespace

TEST_F(LegacyShellExtensionTest, RemovesEveryKeyInOrderThenTheMakersKey) {
    apptest::MakeLegacyKeys(true);
    FakeRegistryWriter registry;
    app::RemoveLegacyShellExtension();
    EXPECT_EQ(registry.calls, apptest::LegacyRemovalCalls());
    EXPECT_EQ(apptest::LegacyKeysLeft(), std::vector<std::wstring>{});
    EXPECT_TRUE(apptest::ApprovedValueExists(apptest::kOtherClsid)) << "another program's entry stays";
    EXPECT_FALSE(kit::RegistryKeyExists({HKEY_LOCAL_MACHINE, L"Software\\Harbelune"}));
}

TEST_F(LegacyShellExtensionTest, GoesOnPastKeysAlreadyGoneAndStepsThatFailAndKeepsTheMakersKeyUntilAllAreGone) {
    apptest::MakeLegacyKeys(true);
    // Half of it gone already, one delete refused, one that throws: every other step still runs. The maker's key
    // stays, so the next start tries again; once nothing is left, it goes too.
    kit::RealRegistryWriter().DeleteKey({HKEY_CLASSES_ROOT, L"Folder\\shellex\\ContextMenuHandlers\\Kolvaran"});
    kit::RealRegistryWriter().DeleteValue({HKEY_LOCAL_MACHINE, apptest::kApprovedKey}, apptest::kHandlerClsid);
    kit::RealRegistryWriter().DeleteTree({HKEY_LOCAL_MACHINE, apptest::kSearchHandlerKey});
    {
        FakeRegistryWriter registry;
        registry.refusedDeletes.insert(L"CLSID\\{5B1E7A42-90C3-4D6E-A1F8-2C7D93E04B61}");
        registry.throwingDeletes.insert(L"KvrShellExtSE.Kolvaran Search Engine");
        app::RemoveLegacyShellExtension();
    }
    EXPECT_EQ(apptest::LegacyKeysLeft(), (std::vector<std::wstring>{L"CLSID\\{5B1E7A42-90C3-4D6E-A1F8-2C7D93E04B61}",
                                                                     L"KvrShellExtSE.Kolvaran Search Engine",
                                                                     apptest::kMakerKey}));
    EXPECT_FALSE(app::IsInstalledEditionAbsent()) << "the clean-up comes back at the next start";

    app::RemoveLegacyShellExtension();
    EXPECT_EQ(apptest::LegacyKeysLeft(), std::vector<std::wstring>{});
    EXPECT_FALSE(kit::RegistryKeyExists({HKEY_LOCAL_MACHINE, L"Software\\Harbelune"}));
}

// The search handlers' key is shared with other programs' handlers: while it holds one of theirs it stays, rightly,
// and the clean-up is done; a refused delete of it is not done, and the maker's key stays for the next start.
TEST_F(LegacyShellExtensionTest, TheSharedSearchHandlersKeyStaysOnlyForAnotherProgramsHandler) {
    struct Case {
        const char* what;
        bool otherHandler;
        bool deleteRefused;
        bool done;
    };
    const Case cases[] = {
        {"its delete refused", false, true, false},
        {"holding another program's handler", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        apptest::RemoveLegacyKeys();
        apptest::MakeLegacyKeys(true);
        const kit::RegistryKeyPath other{HKEY_LOCAL_MACHINE, apptest::kSearchHandlerKey + L"\\1"};
        if (c.otherHandler) {
            ASSERT_TRUE(kit::RealRegistryWriter().CreateKey(other));
        }
        {
            FakeRegistryWriter registry;
            if (c.deleteRefused) registry.refusedDeletes.insert(apptest::kSearchHandlerKey);
            app::RemoveLegacyShellExtension();
        }
        EXPECT_TRUE(kit::RegistryKeyExists({HKEY_LOCAL_MACHINE, apptest::kSearchHandlerKey}));
        EXPECT_FALSE(kit::RegistryKeyExists({HKEY_LOCAL_MACHINE, apptest::kSearchHandlerKey + L"\\0"}));
        EXPECT_EQ(kit::RegistryKeyExists(other), c.otherHandler);
        EXPECT_EQ(app::IsInstalledEditionAbsent(), c.done) << "the clean-up comes back at the next start unless done";
        EXPECT_EQ(kit::RegistryKeyExists({HKEY_LOCAL_MACHINE, apptest::kMakerKey}), !c.done);
    }
}

// A 32-bit build on 64-bit Windows sees the 32-bit view of the classes root's CLSID branch and of the machine's
// Software key, a 64-bit build the other: the earlier handlers are looked for in both, whichever view holds them.
TEST_F(LegacyShellExtensionTest, RemovesTheHandlersFromBothRegistryViews) {
    struct Handler {
        kit::RegistryKeyPath made;  // with a subkey
        std::wstring gone;          // the key that goes, in the same view
    };
    const Handler handlers[] = {
        {{HKEY_CLASSES_ROOT, L"CLSID\\{5B1E7A42-90C3-4D6E-A1F8-2C7D93E04B61}\\InprocServer32", KEY_WOW64_32KEY},
         L"CLSID\\{5B1E7A42-90C3-4D6E-A1F8-2C7D93E04B61}"},
        {{HKEY_CLASSES_ROOT, L"CLSID\\{8E4F2D17-6A35-4B9C-B0E2-71D5C8A39F04}\\InprocServer32", KEY_WOW64_64KEY},
         L"CLSID\\{8E4F2D17-6A35-4B9C-B0E2-71D5C8A39F04}"},
        {{HKEY_LOCAL_MACHINE, apptest::kSearchHandlerKey + L"\\0\\DefaultIcon", KEY_WOW64_32KEY},
         apptest::kSearchHandlerKey},
    };
    for (const Handler& handler : handlers) ASSERT_TRUE(kit::RealRegistryWriter().CreateKey(handler.made));
    // The maker's key of a 32-bit installation.
    const kit::RegistryKeyPath maker{HKEY_LOCAL_MACHINE, apptest::kMakerKey, KEY_WOW64_32KEY};
    ASSERT_TRUE(kit::RealRegistryWriter().CreateKey(maker));
    kit::RealRegistryWriter().WriteText(maker, L"ApplicationFullPath", L"C:\\Program Files\\Kolvaran\\Kolvaran.exe");
    EXPECT_FALSE(app::IsInstalledEditionAbsent()) << "the clean-up runs";

    app::RemoveLegacyShellExtension();
    for (const Handler& handler : handlers) {
        SCOPED_TRACE(testing::Message() << kit::WideToUtf8(handler.gone) << " in view " << handler.made.view);
        EXPECT_FALSE(kit::RegistryKeyExists({handler.made.root, handler.gone, handler.made.view}));
    }
    EXPECT_FALSE(kit::RegistryKeyExists({HKEY_LOCAL_MACHINE, L"Software\\Harbelune", KEY_WOW64_32KEY}));
    EXPECT_TRUE(app::IsInstalledEditionAbsent());
}

TEST_F(LegacyShellExtensionTest, TheMakersOuterKeyStaysWhileItHoldsAnotherProduct) {
    apptest::MakeLegacyKeys(true);
    kit::RealRegistryWriter().CreateKey({HKEY_LOCAL_MACHINE, L"Software\\Harbelune\\Other"});
    app::RemoveLegacyShellExtension();
    EXPECT_FALSE(kit::RegistryKeyExists({HKEY_LOCAL_MACHINE, apptest::kMakerKey}));
    EXPECT_TRUE(kit::RegistryKeyExists({HKEY_LOCAL_MACHINE, L"Software\\Harbelune\\Other"}));
}

TEST_F(LegacyShellExtensionTest, TheInstalledEditionIsTheMakersKeyNamingAProgram) {
    // nullptr: no maker's key; "-": the key without the value.
    struct Case { const wchar_t* path; bool absent; };
    const Case cases[] = {{nullptr, true}, {L"-", true}, {L"", true}, {L"C:\\Kolvaran\\Kolvaran.exe", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.path ? c.path : L"(no key)"));
        apptest::RemoveLegacyKeys();
        const kit::RegistryKeyPath maker{HKEY_LOCAL_MACHINE, apptest::kMakerKey};
        if (c.path) kit::RealRegistryWriter().CreateKey(maker);
        if (c.path && std::wstring(c.path) != L"-")
            kit::RealRegistryWriter().WriteText(maker, L"ApplicationFullPath", c.path);
        EXPECT_EQ(app::IsInstalledEditionAbsent(), c.absent);
        EXPECT_EQ(app::ReadHKLMString(apptest::kMakerKey, L"ApplicationFullPath"),
                  c.path && std::wstring(c.path) != L"-" ? c.path : L"");
    }
}
