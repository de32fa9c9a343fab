#pragma once
// The registry an earlier installation of the maker's shell extensions left behind, made in the test prefix.
#include <string>
#include <vector>

#include "kit/Registry.h"

namespace apptest {

inline constexpr const wchar_t* kMakerKey = L"Software\\Harbelune\\Kolvaran";
inline constexpr const wchar_t* kApprovedKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
inline constexpr const wchar_t* kHandlerClsid = L"{5B1E7A42-90C3-4D6E-A1F8-2C7D93E04B61}";
inline constexpr const wchar_t* kOtherClsid = L"{00000000-1111-2222-3333-444444444444}";
inline const std::wstring kSearchHandlerKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindExtensions\\Static\\SearchHandler";

// A key of the earlier installation, made with a subkey where the removal takes the whole tree.
struct LegacyKey {
    HKEY root;
    std::wstring path;
    const wchar_t* subkey;  // null: none
};

inline std::vector<LegacyKey> LegacyKeys() {
    return {
        {HKEY_CLASSES_ROOT, L"Folder\\shellex\\ContextMenuHandlers\\Kolvaran", nullptr},
        {HKEY_CLASSES_ROOT, L"CLSID\\{5B1E7A42-90C3-4D6E-A1F8-2C7D93E04B61}", L"InprocServer32"},
        {HKEY_CLASSES_ROOT, L"KvrShellExtCM.Kolvaran Context Menu", L"CLSID"},
        {HKEY_LOCAL_MACHINE, kSearchHandlerKey, L"0\\DefaultIcon"},
        {HKEY_CLASSES_ROOT, L"CLSID\\{8E4F2D17-6A35-4B9C-B0E2-71D5C8A39F04}", L"InprocServer32"},
        {HKEY_CLASSES_ROOT, L"KvrShellExtSE.Kolvaran Search Engine", L"CLSID"},
        {HKEY_LOCAL_MACHINE, kMakerKey, nullptr},
    };
}

// The removal's every call, in order, as testsupport::FakeRegistryWriter records them.
inline std::vector<std::wstring> LegacyRemovalCalls() {
    return {
        L"DeleteKey HKCR\\Folder\\shellex\\ContextMenuHandlers\\Kolvaran",
        std::wstring(L"DeleteValue HKLM\\") + kApprovedKey + L"\\" + kHandlerClsid,
        L"DeleteTree HKCR\\CLSID\\{5B1E7A42-90C3-4D6E-A1F8-2C7D93E04B61}",
        L"DeleteTree HKCR\\KvrShellExtCM.Kolvaran Context Menu",
        L"DeleteKey HKLM\\" + kSearchHandlerKey + L"\\0\\DefaultIcon",
        L"DeleteKey HKLM\\" + kSearchHandlerKey + L"\\0",
        L"DeleteKey HKLM\\" + kSearchHandlerKey,
        L"DeleteTree HKCR\\CLSID\\{8E4F2D17-6A35-4B9C-B0E2-71D5C8A39F04}",
        L"DeleteTree HKCR\\KvrShellExtSE.Kolvaran Search Engine",
        L"DeleteTree HKLM\\Software\\Harbelune\\Kolvaran",
        L"DeleteKey HKLM\\Software\\Harbelune",
    };
}

inline bool ApprovedValueExists(const wchar_t* name) {
    const kit::UniqueRegKey key = kit::OpenRegistryKeyReadOnly({HKEY_LOCAL_MACHINE, kApprovedKey});
    return key && kit::ReadRegistryText(key.get(), name).has_value();
}

// Makes every key of the earlier installation, the handler's entry among the approved ones (beside another
// program's), and the maker's key, naming the installed program when `installed`.
inline void MakeLegacyKeys(bool installed) {
    kit::RegistryWriter& writer = kit::RealRegistryWriter();
    for (const LegacyKey& key : LegacyKeys())
        writer.CreateKey({key.root, key.subkey ? key.path + L"\\" + key.subkey : key.path});
    writer.CreateKey({HKEY_LOCAL_MACHINE, kApprovedKey});
    writer.WriteText({HKEY_LOCAL_MACHINE, kApprovedKey}, kHandlerClsid, L"Kolvaran Context Menu");
    writer.WriteText({HKEY_LOCAL_MACHINE, kApprovedKey}, kOtherClsid, L"Another program");
    if (installed)
        writer.WriteText({HKEY_LOCAL_MACHINE, kMakerKey}, L"ApplicationFullPath",
                         L"C:\\Program Files\\Kolvaran\\Kolvaran.exe");
}

// What is left of them: the keys by path, and the handler's approved entry by its class id.
inline std::vector<std::wstring> LegacyKeysLeft() {
    std::vector<std::wstring> left;
    for (const LegacyKey& key : LegacyKeys())
        if (kit::RegistryKeyExists({key.root, key.path})) left.push_back(key.path);
    if (ApprovedValueExists(kHandlerClsid)) left.push_back(kHandlerClsid);
    return left;
}

inline void RemoveLegacyKeys() {
    kit::RegistryWriter& writer = kit::RealRegistryWriter();
    for (const LegacyKey& key : LegacyKeys()) writer.DeleteTree({key.root, key.path});
    writer.DeleteValue({HKEY_LOCAL_MACHINE, kApprovedKey}, kHandlerClsid);
    writer.DeleteValue({HKEY_LOCAL_MACHINE, kApprovedKey}, kOtherClsid);
    writer.DeleteTree({HKEY_LOCAL_MACHINE, L"Software\\Harbelune"});
}

} // namespace apptest
