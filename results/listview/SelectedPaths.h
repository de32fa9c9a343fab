#pragma once
// The paths the list's file actions work on: the selected rows, less what a selected folder already holds.
#include <string>
#include <string_view>
#include <vector>

namespace results {

// True when `path` lies inside `folder` (below its separator, compared ignoring case): "C:\A\x" and "C:\A\" are
// inside "C:\A", while "C:\AB\x" and "C:\A" itself are not.
bool PathIsInside(std::wstring_view path, std::wstring_view folder);

struct TSelectedEntry {
    std::wstring path;  // a row's full path, Folder + Name
    bool folder = false;
};

// The selected entries in item order, without those inside another selected folder: the folder alone stands for
// what it holds, so a copy, delete or drag never names an entry twice.
std::vector<std::wstring> SelectedPathList(const std::vector<TSelectedEntry>& selected);

// The paths as the shell's file operations and the clipboard's file drop take them: each followed by one 0
// character, and one more 0 character at the end.
std::wstring PathListText(const std::vector<std::wstring>& paths);

} // namespace results
