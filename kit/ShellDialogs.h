#pragma once
// The system's folder browser, save dialog and property sheet, as the real interaction shows them.
#include "kit/Interaction.h"

namespace kit {

std::optional<std::wstring> ShowFolderBrowser(HWND owner, const FolderBrowseRequest& request);
std::optional<SaveFileAnswer> ShowSaveDialog(HWND owner, const SaveFileRequest& request);
void ShowFileProperties(HWND owner, const std::vector<std::wstring>& paths);

} // namespace kit
