#include "tests/support/ClipboardText.h"

#include <windows.h>

#include <cstring>

namespace testsupport {

void PutTextOnClipboard(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(block), text.c_str(), bytes);
        GlobalUnlock(block);
        if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    }
    CloseClipboard();
}

std::optional<std::wstring> ClipboardText() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(block));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

} // namespace testsupport
