#pragma once
// The shell's view of a file-system folder and of the names in it, for the shell calls on result files.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "kit/Handles.h"

namespace results {

// The shell folder object of a folder path; null when the shell cannot parse or bind it.
kit::ComPtr<IShellFolder> BindShellFolder(const std::wstring& folderPath);
// The item id of `name` relative to `folder`; null when the folder cannot parse it.
kit::UniquePidl ParseChildName(IShellFolder& folder, const std::wstring& name);

} // namespace results
