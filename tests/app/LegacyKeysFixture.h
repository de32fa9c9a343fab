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

// The removal's every call, in order, as testsupport::FakeRegistryWriter records them, for the keys MakeLegacyKeys
// makes (in the 64-bit view, the test programs' own): each key in the 64-bit view, then the 32-bit view, where
// the plain deletes and the value's are asked again and the trees are found gone, then the maker's key.
inline std::vector<std::wstring> LegacyRemovalCalls() {
    return {
        L"DeleteKey HKCR(64)\\Folder\\shellex\\ContextMenuHandlers\\Kolvaran",
        std::wstring(L"DeleteValue HKLM(64)\\") + kApprovedKey + L"\\" + kHandlerClsid,
        L"DeleteTree HKCR(64)\\CLSID\\{5B1E7A42-90C3-4D6E-A1F8-2C7D93E04B61}",
        L"DeleteTree HKCR(64)\\KvrShellExtCM.Kolvaran Context Menu",
        L"DeleteKey HKLM(64)\\" + kSearchHandlerKey + L"\\0\\DefaultIcon",
        L"DeleteKey HKLM(64)\\" + kSearchHandlerKey + L"\\0",
        L"DeleteKey HKLM(64)\\" + kSearchHandlerKey,
        L"DeleteTree HKCR(64)\\CLSID\\{8E4F2D17-6A35-4B9C-B0E2-71D5C8A39F04}",
        L"DeleteTree HKCR(64)\\KvrShellExtSE.Kolvaran Search Engine",
        L"DeleteKey HKCR(32)\\Folder\\shellex\\ContextMenuHandlers\\Kolvaran",
        std::wstring(L"DeleteValue HKLM(32)\\") + kApprovedKey + L"\\" + kHandlerClsid,
        L"DeleteKey HKLM(32)\\" + kSearchHandlerKey + L"\\0\\DefaultIcon",
        L"DeleteKey HKLM(32)\\" + kSearchHandlerKey + L"\\0",
        L"DeleteKey HKLM(32)\\" + kSearchHandlerKey,
        L"DeleteTree HKLM(64)\\Software\\Harbelune\\Kolvaran",
        L"DeleteKey HKLM(64)\\Software\\Harbelune",
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

// From both registry views: a test may have made keys in the 32-bit one.
inline void RemoveLegacyKeys() {
    kit::RegistryWriter& writer = kit::RealRegistryWriter();
    for (const REGSAM view : {REGSAM{KEY_WOW64_64KEY}, REGSAM{KEY_WOW64_32KEY}}) {
        for (const LegacyKey& key : LegacyKeys()) writer.DeleteTree({key.root, key.path, view});
        writer.DeleteValue({HKEY_LOCAL_MACHINE, kApprovedKey, view}, kHandlerClsid);
        writer.DeleteValue({HKEY_LOCAL_MACHINE, kApprovedKey, view}, kOtherClsid);
        writer.DeleteTree({HKEY_LOCAL_MACHINE, L"Software\\Harbelune", view});
    }
}

} // namespace apptest
