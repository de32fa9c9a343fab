#include "kit/ShellDialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "kit/Guard.h"
#include "kit/Handles.h"

namespace kit {
namespace {

int CALLBACK BrowseCallback(HWND browser, UINT msg, LPARAM, LPARAM data) {
    int answer = 0;
    Guarded(browser, L"folder browser", [&] {
        const auto& request = *reinterpret_cast<const FolderBrowseRequest*>(data);
        if (msg == BFFM_INITIALIZED) {
            // Set here, not as the browser's title: that shows as a text inside the dialog.
            if (!request.caption.empty()) SetWindowTextW(browser, request.caption.c_str());
            if (!request.startFolder.empty())
                SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(request.startFolder.c_str()));
        }
        // A typed folder that does not exist keeps the browser open.
        if (msg == BFFM_VALIDATEFAILEDW) answer = 1;
    });
    return answer;
}

// "Name\0patterns\0...\0\0", as the dialog takes its filter.
std::wstring FilterOf(const std::vector<FileType>& types) {
    std::wstring filter;
    for (const FileType& type : types) {
        filter += type.name;
        filter += L'\0';
        filter += type.patterns;
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

} // namespace

std::optional<std::wstring> ShowFolderBrowser(HWND owner, const FolderBrowseRequest& request) {
    wchar_t name[MAX_PATH] = L"";
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = name;
    info.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_VALIDATE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&request);
    // No "insert a disk" box for a drive without a medium while the person browses.
    const ScopedErrorMode errors(SEM_FAILCRITICALERRORS);
    const UniquePidl chosen(SHBrowseForFolderW(&info));
    if (!chosen) return std::nullopt;
    wchar_t path[MAX_PATH] = L"";
    // A place that is no folder of the file system (the printers, the network) answers an empty folder.
    if (!SHGetPathFromIDListW(chosen.get(), path)) return std::wstring();
    return std::wstring(path);
}

std::optional<SaveFileAnswer> ShowSaveDialog(HWND owner, const SaveFileRequest& request) {
    const std::wstring filter = FilterOf(request.types);
    std::wstring file = request.fileName;
    file.resize(32768, L'\0');  // room for a long path
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = request.types.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.typeIndex);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = OrNull(request.initialFolder);
    dialog.lpstrTitle = OrNull(request.title);
    dialog.lpstrDefExt = OrNull(request.defaultExtension);
    // The dialog would make the folder it shows the program's current folder, which holds that folder in use (it
    // cannot be deleted or renamed while the program runs) and moves what a relative path names.
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    return SaveFileAnswer{file.c_str(), static_cast<int>(dialog.nFilterIndex)};
}

void ShowFileProperties(HWND owner, const std::vector<std::wstring>& paths) {
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) return;
    std::vector<UniquePidl> items;
    for (const std::wstring& path : paths) {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        PIDLIST_RELATIVE item = nullptr;
        std::wstring name = path;  // the shell may write to the name it parses
        if (SUCCEEDED(desktop->ParseDisplayName(owner, nullptr, name.data(), nullptr, &item, nullptr)))
            items.emplace_back(reinterpret_cast<PIDLIST_ABSOLUTE>(item));
    }
    if (items.empty()) return;
    std::vector<PCUITEMID_CHILD> children;
    for (const UniquePidl& item : items) children.push_back(reinterpret_cast<PCUITEMID_CHILD>(item.get()));
    ComPtr<IDataObject> data;
    if (FAILED(desktop->GetUIObjectOf(owner, static_cast<UINT>(children.size()), children.data(), IID_IDataObject,
                                      nullptr, data.put_void())))
        return;
    SHMultiFileProperties(data.get(), 0);
}

} // namespace kit
