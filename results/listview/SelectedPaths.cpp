#include "results/listview/SelectedPaths.h"

#include "kit/Strings.h"

#include <algorithm>

namespace results {

bool PathIsInside(std::wstring_view path, std::wstring_view folder) {
    const std::wstring prefix = kit::IncludeTrailingPathDelimiter(folder);
    return kit::StartsWithText(path, prefix);
}

std::vector<std::wstring> SelectedPathList(const std::vector<TSelectedEntry>& selected) {
    std::vector<std::wstring> folders;
    for (const TSelectedEntry& entry : selected)
        if (entry.folder) folders.push_back(entry.path);
    // Outermost folders only: a selected folder inside another selected one goes with it.
    const auto insideAnother = [&folders](const std::wstring& path) {
        return std::any_of(folders.begin(), folders.end(),
                           [&path](const std::wstring& folder) { return PathIsInside(path, folder); });
    };
    std::vector<std::wstring> outermost;
    for (const std::wstring& folder : folders)
        if (!insideAnother(folder)) outermost.push_back(folder);
    folders = std::move(outermost);

    std::vector<std::wstring> paths;
    for (const TSelectedEntry& entry : selected)
        if (!insideAnother(entry.path)) paths.push_back(entry.path);
    return paths;
}

std::wstring PathListText(const std::vector<std::wstring>& paths) {
    std::wstring text;
    for (const std::wstring& path : paths) {
        text += path;
        text += L'\0';
    }
    text += L'\0';
    return text;
}

} // namespace results
