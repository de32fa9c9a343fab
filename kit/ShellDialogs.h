#pragma once
// The system's folder browser and save dialog, as the real interaction shows them.
#include "kit/Interaction.h"

namespace kit {

std::optional<std::wstring> ShowFolderBrowser(HWND owner, const FolderBrowseRequest& request);
std::optional<SaveFileAnswer> ShowSaveDialog(HWND owner, const SaveFileRequest& request);

} // namespace kit
