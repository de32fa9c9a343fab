#pragma once
#include <windows.h>
#include <commctrl.h>

namespace kit {

enum class IconSize { Small, Large };

// The shell's image list of file icons (the indexes SHGetFileInfoW answers with SHGFI_SYSICONINDEX). The whole
// process shares it: a control shows it (LVS_SHAREIMAGELISTS) and nothing destroys it. Null when the shell has none.
HIMAGELIST SystemImageList(IconSize size);

} // namespace kit
