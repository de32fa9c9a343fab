#pragma once
// Shortcuts (.lnk files) to result files, made with the shell's link object.
#include <string>

namespace results {

// The path a new shortcut to a file named `targetName` takes in `folder`: "Shortcut to <name>.lnk", or when that
// exists (as a file or a folder) "Shortcut to <name>(1).lnk", "(2)" and so on. Empty when every number is taken.
std::wstring UniqueShortcutPath(const std::wstring& folder, const std::wstring& targetName);

// Saves a shortcut to `target`, working in `targetFolder`, in `folder` under a name no existing file has. False
// when the shell refuses the target or the shortcut cannot be saved.
bool CreateShortcutIn(const std::wstring& folder, const std::wstring& target, const std::wstring& targetFolder);

} // namespace results
