#include "tests/engine/WalkFixture.h"

#include "engine/LongPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace walkfixture {

void MakeFolder(const std::wstring& path) {
    ASSERT_TRUE(CreateDirectoryW(engine::LongPath(path).c_str(), nullptr)) << "cannot make " << path;
}

void MakeFile(const std::wstring& path, const std::string& bytes) {
    testsupport::WriteBytes(engine::LongPath(path), bytes);
}

void MakeLink(const std::wstring& target, const std::wstring& link) {
    // Wine gives the Linux name of a path; /bin/ln then makes the link, as Windows programs cannot here.
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName =
        reinterpret_cast<UnixName>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    ASSERT_NE(unixName, nullptr) << "links need Wine";
    const std::wstring linkFolder = link.substr(0, link.find_last_of(L'\\') + 1);
    const std::wstring linkName = link.substr(linkFolder.size());
    char* unixTarget = unixName(target.c_str());
    char* unixFolder = unixName(linkFolder.c_str());
    ASSERT_TRUE(unixTarget && unixFolder);
    // No quoting: Wine hands a Linux program its arguments split at blanks, and fixture paths have none.
    std::string command = std::string("/bin/ln -s ") + unixTarget + " " + unixFolder + "/";
    for (wchar_t c : linkName) command += static_cast<char>(c);  // fixture names are ASCII
    HeapFree(GetProcessHeap(), 0, unixTarget);
    HeapFree(GetProcessHeap(), 0, unixFolder);
    STARTUPINFOA startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA("Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Wine cannot wait on a Linux process: wait for the link to appear instead.
    for (int i = 0; i < 1000 && GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(10);
    ASSERT_NE(GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES) << "no link at " << link;
}

void Recorder::Attach(engine::TMerrowinFile& walker) {
    using engine::TFoundEntry;
    using engine::TMerrowinFile;
    walker.OnStarted = [this](TMerrowinFile&) { lines.push_back(L"started"); };
    walker.OnScanDone = [this](TMerrowinFile&) { lines.push_back(L"done"); };
    walker.OnSuspended = [this](TMerrowinFile&) { lines.push_back(L"suspended"); };
    walker.OnStopped = [this](TMerrowinFile&) { lines.push_back(L"stopped"); };
    walker.OnScanFolder = [this](TMerrowinFile&, const std::wstring& folder) {
        lines.push_back(L"scan " + Relative(folder));
    };
    walker.OnFileFound = [this](TMerrowinFile&, const TFoundEntry& file) {
        lines.push_back(L"file " + Relative(file.Folder) + file.FileName);
    };
    walker.OnFolderFound = [this](TMerrowinFile&, const TFoundEntry& folder) {
        lines.push_back(L"folder " + Relative(folder.Folder) + folder.FileName);
    };
}

std::wstring Recorder::Relative(const std::wstring& folder) const {
    return folder.compare(0, root_.size(), root_) == 0 ? folder.substr(root_.size()) : folder;
}

} // namespace walkfixture
