#pragma once
// Which folder a path really is (volume serial and file index), so a link back to an ancestor is seen.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct FolderId {
    DWORD volumeSerial;
    std::uint64_t fileIndex;
    friend bool operator==(const FolderId&, const FolderId&) = default;
};

// The identity of the folder a plain (unprefixed) path leads to, links followed; none when it cannot be opened.
std::optional<FolderId> IdentifyFolder(std::wstring_view path);

// The folders open in a walk, start folder first. Identities are looked up only when a link is met, so a
// tree without links costs nothing.
class TAncestorFolders {
public:
    // `pathLength` is the length of the shared walk path at this level.
    void Push(std::size_t pathLength) { levels_.push_back({pathLength, std::nullopt, false}); }
    void Pop() { levels_.pop_back(); }
    void Clear() { levels_.clear(); }
    // True when `target` (a folder inside the deepest level) is one of the open folders.
    bool Contains(const std::wstring& walkPath, std::wstring_view target);

private:
    struct Level {
        std::size_t pathLength;
        std::optional<FolderId> id;
        bool looked;
    };
    std::vector<Level> levels_;
};

} // namespace engine
