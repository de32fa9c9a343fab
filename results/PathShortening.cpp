#include "results/PathShortening.h"

#include <vector>

namespace results {
namespace {

// "C:\", "\\server\share\" or nothing, and the rest split at backslashes.
void SplitPath(const std::wstring& path, std::wstring& root, std::vector<std::wstring>& parts) {
    size_t start = 0;
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
        start = 3;
    } else if (path.rfind(L"\\\\", 0) == 0) {
        const size_t server = path.find(L'\\', 2);
        const size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        start = share == std::wstring::npos ? path.size() : share + 1;
    }
    root = path.substr(0, start);
    while (start <= path.size()) {
        const size_t end = path.find(L'\\', start);
        parts.push_back(path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
}

} // namespace

std::wstring MinimizePath(const std::wstring& path, int maxWidth,
                          const std::function<int(const std::wstring&)>& measure) {
    if (measure(path) <= maxWidth) return path;
    std::wstring root;
    std::vector<std::wstring> parts;
    SplitPath(path, root, parts);
    // A folder path's closing backslash belongs to its last folder, which then stays like a file name.
    const bool closed = parts.size() > 1 && parts.back().empty();
    if (closed) parts.pop_back();
    const std::wstring end = closed ? L"\\" : L"";
    // Drop folders after the root one at a time, then the root too; the last part (the name) always stays.
    for (size_t dropped = 1; dropped < parts.size(); ++dropped) {
        std::wstring text = root + L"...";
        for (size_t i = dropped; i < parts.size(); ++i) text += L"\\" + parts[i];
        text += end;
        if (measure(text) <= maxWidth) return text;
    }
    return L"...\\" + parts.back() + end;
}

} // namespace results
