#include "engine/FolderIdentity.h"

#include "engine/LongPaths.h"
#include "kit/Handles.h"

namespace engine {

std::optional<FolderId> IdentifyFolder(std::wstring_view path) {
    const std::wstring longPath = LongPath(path);
    kit::UniqueHandle folder{CreateFileW(longPath.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    if (!folder) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(folder.get(), &info)) return std::nullopt;
    return FolderId{info.dwVolumeSerialNumber,
                    (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool TAncestorFolders::Contains(const std::wstring& walkPath, std::wstring_view target) {
    const std::optional<FolderId> targetId = IdentifyFolder(target);
    if (!targetId) return false;
    for (Level& level : levels_) {
        if (!level.looked) {
            level.id = IdentifyFolder(std::wstring_view(walkPath).substr(0, level.pathLength));
            level.looked = true;
        }
        if (level.id == targetId) return true;
    }
    return false;
}

} // namespace engine
