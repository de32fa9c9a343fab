#pragma once
// One entry as the walker reports it and the matcher tests it.
#include "engine/UKvrTYPEFile.h"

#include <string>

namespace engine {

struct TFoundEntry {
    std::wstring FileName;           // the entry's own name
    std::wstring AlternateFileName;  // its short name, where the file system keeps one
    std::wstring Folder;             // the listed folder, with its trailing "\" and no long-path prefix
    TScanAttributes FileAttributes;
    double CreationTime = 0, LastAccessTime = 0, LastWriteTime = 0;  // local date-times
    long double FileSize = 0;                                        // 0 for a folder
};

} // namespace engine
