#include "app/main/Program.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/FileTypesGroups.h"
#include "engine/FileTypesIFilters.h"
#include "engine/FilterFile.h"
#include "engine/SearchParams.h"
#include "engine/SearchStatistics.h"
#include "kit/Exception.h"
#include "kit/Files.h"
#include "kit/Handles.h"
#include "kit/Interaction.h"
#include "kit/MessageLoop.h"
#include "kit/Registry.h"
#include "ui/FMWMainFree.h"

namespace app {
namespace {

// OLE for the shell, clipboard and drag-and-drop calls, for the whole run.
class OleSession {
public:
    OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() { if (initialised_) OleUninitialize(); }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
private:
    bool initialised_;
};

// Frees the program-wide objects in the reverse order of their creation, on every way out of the run.
class GlobalObjects {
public:
    GlobalObjects() = default;
    GlobalObjects(const GlobalObjects&) = delete;
    GlobalObjects& operator=(const GlobalObjects&) = delete;
    ~GlobalObjects() {
        FreeGlobal(GlobalFilterFile);
        FreeGlobal(GlobalFileTypesIFilters);
        FreeGlobal(GlobalFileTypesGroups);
        FreeGlobal(GlobalSearchStatistics);
        FreeGlobal(GlobalSearchParams);
        FreeGlobal(GlobalApplicationInit);
    }

private:
    template <typename T>
    static void FreeGlobal(T*& global) {
        delete global;
        global = nullptr;
    }
};

void InitialiseCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES |
                                                        ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
}

kit::UniqueRegKey OpenClassesKey(const wchar_t* path) {
    kit::UniqueRegKey key;
    // Paths are relative: Wine refuses a leading backslash with ERROR_BAD_PATHNAME.
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
        key.reset();
    return key;
}

// An empty default verb makes Explorer open drives and folders with the first verb it finds; "none" keeps
// its own default.
bool SetEmptyDefaultVerbToNone(const wchar_t* path) {
    kit::UniqueRegKey key = OpenClassesKey(path);
    if (!key) return true;
    const std::optional<std::wstring> value = kit::ReadRegistryText(key.get(), nullptr);
    if (value && !value->empty()) return true;
    static const wchar_t none[] = L"none";
    return RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(none), sizeof(none)) ==
           ERROR_SUCCESS;
}

bool DeleteDefaultVerb(const wchar_t* path) {
    kit::UniqueRegKey key = OpenClassesKey(path);
    if (!key) return true;
    if (!kit::ReadRegistryText(key.get(), nullptr)) return true;
    return RegDeleteValueW(key.get(), nullptr) == ERROR_SUCCESS;
}

void ShowStartError(const std::exception& e) {
    kit::UserInteraction().ShowMessage(nullptr, kit::ExceptionMessage(e), kit::MessageType::Error,
                                       kit::MessageButtons::Ok);
}

} // namespace

std::wstring BuildCommandLineText(const std::vector<std::wstring>& parameters) {
    std::wstring text;
    for (const auto& parameter : parameters) text += L"\"" + parameter + L"\"";
    return text;
}

std::vector<std::wstring> CommandLineParameters() {
    std::vector<std::wstring> parameters;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return parameters;
    for (int i = 1; i < count; ++i) parameters.emplace_back(arguments[i]);
    LocalFree(arguments);
    return parameters;
}

void FixShellDefaultVerbs() {
    // A failed step (no write access to the classes root) ends the repair quietly; start-up goes on.
    if (!SetEmptyDefaultVerbToNone(L"Drive\\shell")) return;
    if (!DeleteDefaultVerb(L"Folder\\Shell")) return;
    SetEmptyDefaultVerbToNone(L"Directory\\Shell");
}

int RunProgram(HINSTANCE instance, int showCommand) {
    OleSession ole;
    InitialiseCommonControls();
    GlobalObjects objects;

    try {
        GlobalApplicationInit = new TApplicationInit(kit::ExecutablePath());
    } catch (const std::exception& e) {
        ShowStartError(e);
        return 0;
    }
    try {
        // Inside the guard: a failing constructor (its window, memory) is reported, not a silent abort.
        GlobalCommandLine = BuildCommandLineText(CommandLineParameters());
        GlobalSearchParams = new engine::SearchParams::TSearchParams();
        GlobalSearchParams->Reset();
        GlobalSearchParams->OperativeMode = engine::omUserGraphicInterface;
        GlobalSearchStatistics = new engine::TSearchStatistics();
        GlobalFileTypesGroups = new engine::TFileTypesGroups();
        GlobalFileTypesIFilters = new engine::TFileTypesIFilters(*GlobalFileTypesGroups);  // arms its registry scan
        GlobalFilterFile = new engine::TFilterFile(*GlobalFileTypesGroups);
        FixShellDefaultVerbs();
        ui::TfrmMerrowinMain mainForm;
        mainForm.Create(instance, showCommand, CommandLineParameters());
        return kit::RunMessageLoop();
    } catch (const std::exception& e) {
        ShowStartError(e);
        return 1;
    }
}

} // namespace app
