#pragma once
// The destination prompts of the list's file actions. The dialogs live above the results library, so the window
// that holds the list sets these, with itself as the dialogs' owner.
#include <functional>
#include <string>

namespace results {

struct TFolderPrompts {
    // Copy and Move to Folder: the modal result (IDOK when chosen); `folder` starts the prompt and receives the
    // folder chosen.
    std::function<int(const std::wstring& caption, const std::wstring& prompt, std::wstring& folder)> SelectFolder;
    // Create Shortcut: the modal result; `folder` receives the folder chosen, empty for each file's own folder.
    std::function<int(const std::wstring& caption, const std::wstring& desktopCaption,
                      const std::wstring& sourceFolderCaption, std::wstring& folder,
                      const std::wstring& selectedFolderCaption)>
        SelectShortcutFolder;
};

} // namespace results
