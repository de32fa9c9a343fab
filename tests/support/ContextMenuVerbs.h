#pragma once
// The program's verbs in Explorer's context menu as Explorer reads them: keys of the classes root in the 64-bit
// view, each with its caption, icon and command.
#include <cstdint>
#include <string>

#include "kit/Registry.h"

namespace testsupport {

struct ContextMenuVerb {
    std::uint8_t bit;
    const wchar_t* key;
    const wchar_t* parameter;  // after the quoted program path on the command line
};

inline const ContextMenuVerb kContextMenuVerbs[] = {
    {1, L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\Kolvaran", L"<LOCALDRIVES>"},
    {2, L"CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\shell\\Kolvaran", L"\"%1\""},
    {4, L"Drive\\shell\\Kolvaran", L"\"%1\""},
    {8, L"Directory\\shell\\Kolvaran", L"\"%1\""},
};

inline kit::RegistryKeyPath VerbKey(const std::wstring& path) { return {HKEY_CLASSES_ROOT, path, KEY_WOW64_64KEY}; }

// A value below the classes root as Explorer reads it; "(none)" for a missing key or value.
inline std::wstring ClassesValue(const std::wstring& path, const wchar_t* name) {
    const kit::UniqueRegKey key = kit::OpenRegistryKeyReadOnly(VerbKey(path));
    if (!key) return L"(none)";
    return kit::ReadRegistryText(key.get(), name).value_or(L"(none)");
}

inline void RemoveContextMenuVerbs() {
    for (const ContextMenuVerb& verb : kContextMenuVerbs) kit::RealRegistryWriter().DeleteTree(VerbKey(verb.key));
}

} // namespace testsupport
