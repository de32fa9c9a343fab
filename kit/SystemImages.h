#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace kit {

enum class IconSize { Small, Large };

// The shell's image list of file icons (the indexes SHGetFileInfoW answers with SHGFI_SYSICONINDEX). The whole
// process shares it: a control shows it (LVS_SHAREIMAGELISTS) and nothing destroys it. Null when the shell has none.
HIMAGELIST SystemImageList(IconSize size);
// The index in the small system image list of the icon the shell shows for an existing file or folder;
// I_IMAGENONE when it answers none.
int SmallSystemIconIndex(const std::wstring& path);

} // namespace kit
