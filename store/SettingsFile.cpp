#include "store/SettingsFile.h"

#include <windows.h>

#include "kit/Strings.h"

namespace store {

void LoadSettingsFile(const std::wstring& fileName, const std::function<void(const TMemIniFileUnicode&)>& read) {
    try {
        const TMemIniFileUnicode ini(fileName);
        read(ini);
    } catch (...) {
        DeleteFileW(fileName.c_str());
    }
}

void SaveSettingsFile(const std::wstring& fileName, const std::function<void(TMemIniFileUnicode&)>& write) {
    try {
        TMemIniFileUnicode ini(fileName);
        ini.EraseSection(L"FileIni");
        ini.WriteString(L"FileIni", L"Name", kit::ExtractFileName(fileName));
        ini.WriteString(L"FileIni", L"Version", L"1.0");
        write(ini);
        ini.UpdateFile();
    } catch (...) {
        // Deleting here would destroy the last good settings the failed write left in place.
    }
}

} // namespace store
