#include "kit/Registry.h"

#include "kit/Exception.h"
#include "kit/Strings.h"

namespace kit {

std::optional<std::wstring> ReadRegistryText(HKEY key, const wchar_t* valueName) {
    std::wstring value(64, L'\0');
    for (;;) {
        DWORD type = 0;
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes);
        if (status == ERROR_MORE_DATA) {
            value.resize(bytes / sizeof(wchar_t) + 1);
            continue;
        }
        if (status != ERROR_SUCCESS) return std::nullopt;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::wstring();
        value.resize(bytes / sizeof(wchar_t));
        // Stored texts usually carry their terminator, and may carry more.
        const std::size_t end = value.find(L'\0');
        if (end != std::wstring::npos) value.resize(end);
        return value;
    }
}

namespace {

UniqueRegKey OpenKey(HKEY root, const std::wstring& path, REGSAM access) {
    UniqueRegKey key;
    if (RegOpenKeyExW(root, path.empty() ? nullptr : path.c_str(), 0, access, key.put()) != ERROR_SUCCESS)
        key.reset();
    return key;
}

UniqueRegKey OpenKey(const RegistryKeyPath& key, REGSAM access) { return OpenKey(key.root, key.path, access | key.view); }

// An empty name stands for the key's default value.
const wchar_t* ValueName(const std::wstring& name) { return name.empty() ? nullptr : name.c_str(); }

class SystemRegistryWriter : public RegistryWriter {
public:
    bool CreateKey(const RegistryKeyPath& key) override {
        UniqueRegKey created;
        return RegCreateKeyExW(key.root, key.path.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | key.view,
                               nullptr, created.put(), nullptr) == ERROR_SUCCESS;
    }

    void WriteText(const RegistryKeyPath& key, const std::wstring& name, const std::wstring& value) override {
        const UniqueRegKey opened = OpenKey(key, KEY_SET_VALUE);
        LSTATUS status = ERROR_FILE_NOT_FOUND;
        if (opened)
            status = RegSetValueExW(opened.get(), ValueName(name), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        if (status != ERROR_SUCCESS)
            throw Exception(L"Failed to set data for " + QuotedString(name) + L": " +
                            SystemErrorMessage(static_cast<DWORD>(status)));
    }

    bool DeleteValue(const RegistryKeyPath& key, const std::wstring& name) override {
        const UniqueRegKey opened = OpenKey(key, KEY_SET_VALUE);
        return opened && RegDeleteValueW(opened.get(), ValueName(name)) == ERROR_SUCCESS;
    }

    bool DeleteKey(const RegistryKeyPath& key) override {
        return RegDeleteKeyExW(key.root, key.path.c_str(), key.view, 0) == ERROR_SUCCESS;
    }

    bool DeleteTree(const RegistryKeyPath& key) override {
        // Through the parent, opened in the key's view: RegDeleteTreeW takes no view of its own.
        const std::size_t slash = key.path.rfind(L'\\');
        const std::wstring parentPath = slash == std::wstring::npos ? std::wstring() : key.path.substr(0, slash);
        const std::wstring name = slash == std::wstring::npos ? key.path : key.path.substr(slash + 1);
        const UniqueRegKey parent =
            OpenKey(key.root, parentPath, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE | DELETE | key.view);
        return parent && !name.empty() && RegDeleteTreeW(parent.get(), name.c_str()) == ERROR_SUCCESS;
    }
};

SystemRegistryWriter g_system;
RegistryWriter* g_current = &g_system;

} // namespace

UniqueRegKey OpenRegistryKeyReadOnly(const RegistryKeyPath& key) { return OpenKey(key, KEY_READ); }

bool RegistryKeyExists(const RegistryKeyPath& key) { return static_cast<bool>(OpenRegistryKeyReadOnly(key)); }

bool RegistryKeyHasSubKeys(HKEY key) {
    DWORD subKeys = 0;
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
           subKeys > 0;
}

RegistryWriter& RegistryWrites() { return *g_current; }
void SetRegistryWrites(RegistryWriter* replacement) { g_current = replacement ? replacement : &g_system; }
RegistryWriter& RealRegistryWriter() { return g_system; }

} // namespace kit
