#pragma once
// Cut and copy of result files: the clipboard as the file manager reads it, a file drop list and the drop effect
// a paste is to use.
#include <windows.h>

#include <string>

namespace results {

inline constexpr DWORD DropEffectCopy = 1;
inline constexpr DWORD DropEffectMove = 2;  // a cut: the paste moves the files
inline constexpr const wchar_t* PreferredDropEffectFormat = L"Preferred DropEffect";

// Replaces the clipboard's content with the files of `pathListText` (PathListText) and the drop effect, with
// `owner` as the clipboard's owner. Throws kit::Exception when the clipboard cannot be opened or set, or the
// memory cannot be had; the clipboard is closed on every path.
void PutFilesOnClipboard(HWND owner, const std::wstring& pathListText, DWORD dropEffect);

} // namespace results
