#include "results/listview/FileShortcuts.h"

#include "kit/Files.h"
#include "kit/Handles.h"
#include "kit/Strings.h"

#include <shlobj.h>

#include <climits>

namespace results {

std::wstring UniqueShortcutPath(const std::wstring& folder, const std::wstring& targetName) {
    // The check and the save name the same folder, separator included, so an existing shortcut is never overwritten.
    const std::wstring base = kit::IncludeTrailingPathDelimiter(folder) + L"Shortcut to " + targetName;
    std::wstring path = base + L".lnk";
    for (int number = 1; kit::PathExists(path); ++number) {
        if (number == INT_MAX) return {};
        path = base + L"(" + std::to_wstring(number) + L").lnk";
    }
    return path;
}

bool CreateShortcutIn(const std::wstring& folder, const std::wstring& target, const std::wstring& targetFolder) {
    kit::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
        return false;
    if (FAILED(link->SetPath(target.c_str()))) return false;
    link->SetWorkingDirectory(targetFolder.c_str());
    const std::wstring path = UniqueShortcutPath(folder, kit::ExtractFileName(target));
    const auto file = link.As<IPersistFile>();
    return !path.empty() && file && SUCCEEDED(file->Save(path.c_str(), FALSE));
}

} // namespace results
