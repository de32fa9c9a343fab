#include "kit/Registry.h"

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

} // namespace kit
