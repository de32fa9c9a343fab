#pragma once
// A check a person does by eye: no two visible controls of a window answer the same Alt+letter.
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// The access key of a caption ("S&top" gives 'T'; "&&" is a literal ampersand), or 0 when it has none.
wchar_t AccessKey(const std::wstring& caption);

// Every clash among the visible buttons and labels inside `window` (its descendants, at any depth) and the items
// of its menu bar, as "'T': \"S&top\" and \"Search &Text\"". Edit boxes and combo boxes hold the user's text
// and are left out.
std::vector<std::wstring> AccessKeyClashes(HWND window);
// Every clash among the items of one menu (not those of its submenus); a shortcut after a tab is no key.
std::vector<std::wstring> AccessKeyClashes(HMENU menu);

} // namespace testsupport
