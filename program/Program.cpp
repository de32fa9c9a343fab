#include "program/Program.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/ContextMenuRegistration.h"
#include "app/ProgramObjects.h"
#include "app/UKvrVARGeneral.h"
#include "dragdrop/DragDropRegistration.h"
#include "kit/CommandLine.h"
#include "kit/Exception.h"
#include "kit/Handles.h"
#include "kit/Interaction.h"
#include "kit/MessageLoop.h"
#include "kit/Registry.h"
#include "ui/FMWMainFree.h"

namespace program {
namespace {

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

OleSession::OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}

OleSession::~OleSession() {
    if (initialised_) OleUninitialize();
}

void InitialiseCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES |
                                                        ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
}

std::wstring BuildCommandLineText(const std::vector<std::wstring>& parameters) {
    std::wstring text;
    for (const auto& parameter : parameters) text += L"\"" + parameter + L"\"";
    return text;
}

std::vector<std::wstring> CommandLineParameters() { return kit::CommandLineParameters(GetCommandLineW()); }

void FixShellDefaultVerbs() {
    // A failed step (no write access to the classes root) ends the repair quietly; start-up goes on.
    if (!SetEmptyDefaultVerbToNone(L"Drive\\shell")) return;
    if (!DeleteDefaultVerb(L"Folder\\Shell")) return;
    SetEmptyDefaultVerbToNone(L"Directory\\Shell");
}

int RunProgram(HINSTANCE instance, int showCommand) {
    OleSession ole;
    dragdrop::TDragDropLibrary dragDrop;
    InitialiseCommonControls();
    app::ProgramObjects objects;

    try {
        objects.CreateSettingsHolder();
    } catch (const std::exception& e) {
        ShowStartError(e);
        return 0;
    }
    try {
        // Inside the guard: a failing constructor (its window, memory) is reported, not a silent abort.
        app::GlobalCommandLine = BuildCommandLineText(CommandLineParameters());
        objects.CreateSearchObjects();
        if (!app::IsInstalledEditionAbsent()) app::RemoveLegacyShellExtension();
        FixShellDefaultVerbs();
        ui::TfrmMerrowinMain mainForm;
        mainForm.Create(instance, showCommand, CommandLineParameters());
        return kit::RunMessageLoop();
    } catch (const std::exception& e) {
        ShowStartError(e);
        return 1;
    }
}

} // namespace program
