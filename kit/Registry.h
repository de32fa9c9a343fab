#pragma once
// Reading and writing the registry. The writes go through one seam: Wine grants every registry write, so the
// code that must react to a refused one meets it only through a test's replacement.
#include <windows.h>

#include <optional>
#include <string>

#include "kit/Handles.h"

namespace kit {

// The text of the value `valueName` of `key` (its default value for null): none when the value is missing or
// cannot be read; a value that is not text (REG_SZ, REG_EXPAND_SZ, unexpanded) reads as empty.
std::optional<std::wstring> ReadRegistryText(HKEY key, const wchar_t* valueName);

// A key below a root, in one view of the registry: 0 for the program's own view, KEY_WOW64_64KEY for the
// 64-bit one whatever the program's bitness (the view the 64-bit shell reads). The path is relative: Wine
// refuses a leading backslash.
struct RegistryKeyPath {
    HKEY root = nullptr;
    std::wstring path;
    REGSAM view = 0;
};

// The key opened for reading; null when it does not open.
UniqueRegKey OpenRegistryKeyReadOnly(const RegistryKeyPath& key);
bool RegistryKeyExists(const RegistryKeyPath& key);
bool RegistryKeyHasSubKeys(HKEY key);

class RegistryWriter {
public:
    virtual ~RegistryWriter() = default;
    // Opens the key, making it and its missing parents; false when that is refused.
    virtual bool CreateKey(const RegistryKeyPath& key) = 0;
    // Sets a text value (REG_SZ) of an existing key; an empty name is the default value. Throws kit::Exception
    // when the write fails.
    virtual void WriteText(const RegistryKeyPath& key, const std::wstring& name, const std::wstring& value) = 0;
    // Each false when nothing was deleted (missing, refused).
    virtual bool DeleteValue(const RegistryKeyPath& key, const std::wstring& name) = 0;
    // The key alone: one that still has subkeys stays.
    virtual bool DeleteKey(const RegistryKeyPath& key) = 0;
    // The key with its subkeys and values.
    virtual bool DeleteTree(const RegistryKeyPath& key) = 0;
};

// The writer in force; the real one unless a test replaced it.
RegistryWriter& RegistryWrites();
// Installs a replacement (nullptr restores the real one). The caller keeps ownership.
void SetRegistryWrites(RegistryWriter* replacement);
RegistryWriter& RealRegistryWriter();

} // namespace kit
