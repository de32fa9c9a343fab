#include "results/ShellFolder.h"

namespace results {

kit::ComPtr<IShellFolder> BindShellFolder(const std::wstring& folderPath) {
    kit::ComPtr<IShellFolder> desktop;
    if (folderPath.empty() || FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return {};
    kit::UniquePidl folderId;
    std::wstring path = folderPath;  // the call takes a writable text
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, path.data(), nullptr,
                                         reinterpret_cast<PIDLIST_RELATIVE*>(folderId.put()), nullptr)))
        return {};
    kit::ComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(folderId.get(), nullptr, IID_IShellFolder, folder.put_void()))) return {};
    return folder;
}

kit::UniquePidl ParseChildName(IShellFolder& folder, const std::wstring& name) {
    kit::UniquePidl child;
    std::wstring text = name;
    if (name.empty() || FAILED(folder.ParseDisplayName(nullptr, nullptr, text.data(), nullptr,
                                                       reinterpret_cast<PIDLIST_RELATIVE*>(child.put()), nullptr)))
        child.reset();
    return child;
}

} // namespace results
