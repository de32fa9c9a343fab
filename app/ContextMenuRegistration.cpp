#include "app/ContextMenuRegistration.h"

#include <functional>

#include "kit/Exception.h"
#include "kit/Guard.h"
#include "kit/Interaction.h"
#include "kit/Registry.h"

namespace app {
namespace {

struct Place {
    TContextMenuPlace bit;
    const wchar_t* name;       // as the step texts name it
    const wchar_t* shellKey;   // below the classes root, the verb's name follows
    const wchar_t* parameter;  // after the quoted program path on the command line
};

constexpr Place kPlaces[] = {
    {cmpMyComputer, L"My Computer", L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\", L"<LOCALDRIVES>"},
    {cmpMyDocuments, L"My Documents", L"CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\shell\\", L"\"%1\""},
    {cmpDrives, L"Drives", L"Drive\\shell\\", L"\"%1\""},
    {cmpFolders, L"Folders", L"Directory\\shell\\", L"\"%1\""},
};

// Explorer on 64-bit Windows reads the 64-bit view, and the classes root's CLSID branch is redirected for a
// 32-bit program: without the flag it would write (and read back) keys Explorer never sees.
kit::RegistryKeyPath VerbKey(const Place& place, const std::wstring& verbName) {
    return {HKEY_CLASSES_ROOT, place.shellKey + verbName, KEY_WOW64_64KEY};
}

std::wstring StepText(const wchar_t* operation, const Place& place) {
    return std::wstring(L"Function: ") + operation + L" for <Add \"Kolvaran...\" Item to " + place.name + L">";
}

void ShowStepError(HWND owner, const std::wstring& step, const std::exception& e) {
    kit::UserInteraction().ShowMessage(owner, step + L"\r\nError: " + kit::ExceptionMessage(e),
                                       kit::MessageType::Error, kit::MessageButtons::Ok);
}

// Fills a verb key just made: its caption, icon and command. False when the command key was refused.
bool FillVerb(const kit::RegistryKeyPath& verb, const Place& place, const std::wstring& exe,
              const std::wstring& caption, std::wstring& step) {
    kit::RegistryWriter& writer = kit::RegistryWrites();
    const std::wstring quotedExe = L"\"" + exe + L"\"";
    step = StepText(L"Check Option Write Value", place);
    writer.WriteText(verb, L"", caption);
    writer.WriteText(verb, L"Icon", quotedExe);
    step = StepText(L"Check Option Command", place);
    const kit::RegistryKeyPath command{verb.root, verb.path + L"\\command", verb.view};
    if (!writer.CreateKey(command)) return false;
    step = StepText(L"Check Option Command Write Value", place);
    writer.WriteText(command, L"", quotedExe + L" " + place.parameter);
    return true;
}

// Makes the verb of one place. A verb without its command would show in Explorer's menu and do nothing, and
// read back as set: whatever stopped it half-way, the key goes again.
void AddVerb(const kit::RegistryKeyPath& verb, const Place& place, const std::wstring& exe,
             const std::wstring& caption, std::wstring& step) {
    kit::RegistryWriter& writer = kit::RegistryWrites();
    step = StepText(L"Check Option", place);
    if (!writer.CreateKey(verb)) return;
    bool filled = false;
    try {
        filled = FillVerb(verb, place, exe, caption, step);
    } catch (...) {
        writer.DeleteTree(verb);
        throw;
    }
    if (!filled) writer.DeleteTree(verb);
}

} // namespace

std::uint8_t GetContextMenuOptions(const std::wstring& verbName) {
    std::uint8_t mask = 0;
    for (const Place& place : kPlaces)
        if (kit::RegistryKeyExists(VerbKey(place, verbName))) mask |= place.bit;
    return mask;
}

bool SetContextMenuOptions(std::uint8_t mask, const std::wstring& exe, const std::wstring& verbName,
                           const std::wstring& caption, HWND owner) {
    std::wstring step;
    try {
        for (const Place& place : kPlaces) {
            const kit::RegistryKeyPath verb = VerbKey(place, verbName);
            const bool wanted = (mask & place.bit) != 0;
            step = StepText(L"Set Option", place);
            if (kit::RegistryKeyExists(verb)) {
                if (wanted) continue;  // the verb there stays as it is, whatever it holds
                step = StepText(L"Uncheck Option", place);
                kit::RegistryWrites().DeleteTree(verb);
            } else if (wanted) {
                AddVerb(verb, place, exe, caption, step);
            }
        }
        return true;
    } catch (const std::exception& e) {
        ShowStepError(owner, step, e);
        return false;
    }
}

namespace {

constexpr wchar_t kMakerKey[] = L"Software\\Harbelune\\Kolvaran";
constexpr wchar_t kMakerParentKey[] = L"Software\\Harbelune";
constexpr wchar_t kContextMenuHandler[] = L"{5B1E7A42-90C3-4D6E-A1F8-2C7D93E04B61}";
constexpr wchar_t kSearchHandler[] = L"{8E4F2D17-6A35-4B9C-B0E2-71D5C8A39F04}";
constexpr wchar_t kSearchHandlerKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindExtensions\\Static\\SearchHandler";
constexpr wchar_t kApprovedKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

// On 64-bit Windows the classes root's CLSID branch and the machine's Software key each have a 32-bit and a
// 64-bit view, and the earlier installation may have written to either, whatever this build's bitness. A key
// both views share is simply found gone in the second. (32-bit Windows ignores the flags: one view.)
constexpr REGSAM kRegistryViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

kit::RegistryKeyPath ClassesKey(const std::wstring& path, REGSAM view = 0) { return {HKEY_CLASSES_ROOT, path, view}; }
kit::RegistryKeyPath MachineKey(const std::wstring& path, REGSAM view = 0) { return {HKEY_LOCAL_MACHINE, path, view}; }

// Each answers whether what it removes is gone now: deleted, or not there to begin with.
bool KeyGone(const kit::RegistryKeyPath& key) {
    return kit::RegistryWrites().DeleteKey(key) || !kit::RegistryKeyExists(key);
}

bool TreeGone(const kit::RegistryKeyPath& key) {
    return !kit::RegistryKeyExists(key) || kit::RegistryWrites().DeleteTree(key);
}

bool ValueGone(const kit::RegistryKeyPath& key, const wchar_t* name) {
    if (kit::RegistryWrites().DeleteValue(key, name)) return true;
    const kit::UniqueRegKey opened = kit::OpenRegistryKeyReadOnly(key);
    return !opened || !kit::ReadRegistryText(opened.get(), name).has_value();
}

// A key that other programs' entries may share: it stays, rightly, while it holds their subkeys.
bool SharedKeyGone(const kit::RegistryKeyPath& key) {
    if (KeyGone(key)) return true;
    const kit::UniqueRegKey opened = kit::OpenRegistryKeyReadOnly(key);
    return opened && kit::RegistryKeyHasSubKeys(opened.get());
}

// The earlier handlers' keys in one view; whether every one of them is gone.
bool RemoveLegacyKeys(REGSAM view) {
    const std::function<bool()> steps[] = {
        [&] { return KeyGone(ClassesKey(L"Folder\\shellex\\ContextMenuHandlers\\Kolvaran", view)); },
        [&] { return ValueGone(MachineKey(kApprovedKey, view), kContextMenuHandler); },
        [&] { return TreeGone(ClassesKey(std::wstring(L"CLSID\\") + kContextMenuHandler, view)); },
        [&] { return TreeGone(ClassesKey(L"KvrShellExtCM.Kolvaran Context Menu", view)); },
        [&] { return KeyGone(MachineKey(std::wstring(kSearchHandlerKey) + L"\\0\\DefaultIcon", view)); },
        [&] { return KeyGone(MachineKey(std::wstring(kSearchHandlerKey) + L"\\0", view)); },
        [&] { return SharedKeyGone(MachineKey(kSearchHandlerKey, view)); },
        [&] { return TreeGone(ClassesKey(std::wstring(L"CLSID\\") + kSearchHandler, view)); },
        [&] { return TreeGone(ClassesKey(L"KvrShellExtSE.Kolvaran Search Engine", view)); },
    };
    // Each step stands alone: a key already gone, or a refused delete, must not keep the later ones from running.
    bool allGone = true;
    for (const auto& step : steps) {
        bool gone = false;
        kit::GuardedQuiet(L"removing the earlier shell extension", [&] { gone = step(); });
        allGone = allGone && gone;
    }
    return allGone;
}

void RemoveMakerKeys(REGSAM view) {
    TreeGone(MachineKey(kMakerKey, view));
    const kit::RegistryKeyPath parent = MachineKey(kMakerParentKey, view);
    const kit::UniqueRegKey opened = kit::OpenRegistryKeyReadOnly(parent);
    if (opened && !kit::RegistryKeyHasSubKeys(opened.get())) kit::RegistryWrites().DeleteKey(parent);
}

} // namespace

std::wstring ReadHKLMString(const std::wstring& key, const std::wstring& valueName, REGSAM view) {
    const kit::UniqueRegKey opened = kit::OpenRegistryKeyReadOnly(MachineKey(key, view));
    if (!opened) return {};
    return kit::ReadRegistryText(opened.get(), valueName.c_str()).value_or(std::wstring());
}

bool IsInstalledEditionAbsent() {
    bool absent = true;
    for (const REGSAM view : kRegistryViews)
        kit::GuardedQuiet(L"installed edition", [&] {
            absent = absent && ReadHKLMString(kMakerKey, L"ApplicationFullPath", view).empty();
        });
    return absent;
}

void DeleteHKLMKey(const std::wstring& key) { kit::RegistryWrites().DeleteKey(MachineKey(key)); }

void RemoveLegacyShellExtension() {
    bool allGone = true;
    for (const REGSAM view : kRegistryViews) allGone = RemoveLegacyKeys(view) && allGone;
    // The maker's key is what brings this clean-up back at the next start: it goes only once nothing is left.
    if (!allGone) return;
    for (const REGSAM view : kRegistryViews)
        kit::GuardedQuiet(L"removing the maker's key", [&] { RemoveMakerKeys(view); });
}

} // namespace app
