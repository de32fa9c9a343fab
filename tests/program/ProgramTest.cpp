#include <windows.h>

#include "app/UKvrVARGeneral.h"
#include "engine/SearchParams.h"
#include "kit/Handles.h"
#include "kit/Registry.h"
#include "program/Program.h"
#include "tests/app/LegacyKeysFixture.h"
#include "tests/app/SettingsFolderFixture.h"
#include "tests/support/FakeInteraction.h"
#include "tests/support/FakeRegistryWriter.h"
#include "ui/FMWMainFree.h"

using testsupport::FakeInteraction;

TEST(Program, CommandLineTextQuotesEveryParameter) {
    struct Case { std::vector<std::wstring> parameters; std::wstring text; };
    const Case cases[] = {
        {{}, L""},
        {{L"a", L"b"}, L"\"a\"\"b\""},
        {{L"C:\\Program Files\\x"}, L"\"C:\\Program Files\\x\""},
    };
    for (const auto& c : cases) EXPECT_EQ(program::BuildCommandLineText(c.parameters), c.text);
}

namespace {

int g_windowsSeen = 0;
bool g_criteriaReady = false;  // the criteria model existed, in its window mode, while the window ran

// Closes the main window from inside the program's own message loop, as a person clicking the close box.
void CALLBACK CloseMainWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    if (HWND main = FindWindowW(ui::TfrmMerrowinMain::kClassName, nullptr)) {
        if (IsWindowVisible(main)) ++g_windowsSeen;
        g_criteriaReady = app::GlobalSearchParams &&
                          app::GlobalSearchParams->OperativeMode == engine::omUserGraphicInterface;
        PostMessageW(main, WM_CLOSE, 0, 0);
        KillTimer(nullptr, timer);
    }
}

} // namespace

using ProgramStart = SettingsFolderTest;

TEST_F(ProgramStart, RunsTheMainWindowAndEndsWhenItCloses) {
    FakeInteraction interaction;
    g_windowsSeen = 0;
    g_criteriaReady = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMainWindow);
    EXPECT_EQ(program::RunProgram(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_windowsSeen, 1);
    EXPECT_TRUE(interaction.asked.empty());
    EXPECT_TRUE(testsupport::FolderExists(app::TApplicationInit::GetSettingsFolder()));
    EXPECT_EQ(app::GlobalApplicationInit, nullptr) << "freed after the loop";
    EXPECT_TRUE(g_criteriaReady);
    EXPECT_EQ(app::GlobalSearchParams, nullptr);
    EXPECT_EQ(app::GlobalSearchStatistics, nullptr);
    EXPECT_EQ(app::GlobalFileTypesGroups, nullptr);
    EXPECT_EQ(app::GlobalFileTypesIFilters, nullptr);
    EXPECT_EQ(app::GlobalFilterFile, nullptr);
}

TEST_F(ProgramStart, AnUncreatableSettingsFolderShowsOneErrorAndNoWindow) {
    testsupport::WriteBytes(MakerFolder(), "a file where the folder belongs");
    FakeInteraction interaction;
    g_windowsSeen = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, CloseMainWindow);
    EXPECT_EQ(program::RunProgram(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
    // Any window would have been found by the timer while the loop ran; give it the chance anyway.
    MSG msg;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 100;)
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_windowsSeen, 0);
    EXPECT_EQ(FindWindowW(ui::TfrmMerrowinMain::kClassName, nullptr), nullptr);
    ASSERT_EQ(interaction.asked.size(), 1u);
    EXPECT_EQ(interaction.asked[0].text,
              L"Unable to Create Application Directory: '" + app::TApplicationInit::GetSettingsFolder() + L"'");
    EXPECT_EQ(interaction.asked[0].type, kit::MessageType::Error);
    EXPECT_EQ(interaction.asked[0].buttons, kit::MessageButtons::Ok);
}

namespace {

const wchar_t* const kVerbKeys[] = {L"Drive\\shell", L"Folder\\Shell", L"Directory\\Shell"};

void SetDefault(const wchar_t* path, const wchar_t* value) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, path);
    if (!value) return;
    kit::UniqueRegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    if (*value != L'-')
        RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

// The default value, "-" for a key without one, or nullptr text "(no key)".
std::wstring ReadDefault(const wchar_t* path) {
    kit::UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return L"(no key)";
    return kit::ReadRegistryText(key.get(), nullptr).value_or(L"-");
}

} // namespace

TEST(Program, FixShellDefaultVerbs) {
    // Per key: what it holds before ("-" a key without a default value, nullptr no key) and after.
    struct Case { const wchar_t* before[3]; const wchar_t* after[3]; };
    const Case cases[] = {
        {{L"", L"find", L"-"}, {L"none", L"-", L"none"}},
        {{L"open", L"-", L"explore"}, {L"open", L"-", L"explore"}},
        {{nullptr, nullptr, nullptr}, {L"(no key)", L"(no key)", L"(no key)"}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i) SetDefault(kVerbKeys[i], c.before[i]);
        program::FixShellDefaultVerbs();
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadDefault(kVerbKeys[i]), c.after[i]) << kVerbKeys[i];
    }
}

TEST_F(ProgramStart, RemovesTheEarlierShellExtensionOnlyWhenTheMakersKeyNamesAnInstallation) {
    // The keys of the earlier installation present at start (half: the context-menu handler's already gone).
    enum class Keys { None, All, Half };
    struct Case { const char* name; Keys keys; bool installed; bool removed; };
    const Case cases[] = {
        {"all present", Keys::All, true, true},
        {"half gone", Keys::Half, true, true},
        {"no installation named", Keys::All, false, false},
        {"nothing there", Keys::None, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        apptest::RemoveLegacyKeys();
        if (c.keys != Keys::None) apptest::MakeLegacyKeys(c.installed);
        if (c.keys == Keys::Half) {
            kit::RealRegistryWriter().DeleteKey({HKEY_CLASSES_ROOT, L"Folder\\shellex\\ContextMenuHandlers\\Kolvaran"});
            kit::RealRegistryWriter().DeleteTree({HKEY_CLASSES_ROOT, L"CLSID\\{5B1E7A42-90C3-4D6E-A1F8-2C7D93E04B61}"});
            kit::RealRegistryWriter().DeleteTree({HKEY_CLASSES_ROOT, L"KvrShellExtCM.Kolvaran Context Menu"});
        }
        const std::vector<std::wstring> before = apptest::LegacyKeysLeft();
        FakeInteraction interaction;
        testsupport::FakeRegistryWriter registry;
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMainWindow);
        EXPECT_EQ(program::RunProgram(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
        KillTimer(nullptr, timer);

        if (c.removed) {
            EXPECT_EQ(apptest::LegacyKeysLeft(), std::vector<std::wstring>{});
            EXPECT_FALSE(kit::RegistryKeyExists({HKEY_LOCAL_MACHINE, L"Software\\Harbelune"}));
            ASSERT_FALSE(registry.calls.empty());
            EXPECT_EQ(registry.calls.back(), L"DeleteKey HKLM(64)\\Software\\Harbelune") << "the maker's key goes last";
            if (c.keys == Keys::All) {
                EXPECT_EQ(registry.calls, apptest::LegacyRemovalCalls());
            }
        } else {
            EXPECT_EQ(apptest::LegacyKeysLeft(), before);
            EXPECT_EQ(registry.calls, std::vector<std::wstring>{}) << "no key touched";
        }
    }
    apptest::RemoveLegacyKeys();
}
