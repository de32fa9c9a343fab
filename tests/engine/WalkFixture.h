#pragma once
// Fixture trees for the walker tests and a recorder that writes every walk event as one line.
#include "engine/MerrowinFile.h"
#include "tests/support/TempFolder.h"

#include <string>
#include <vector>

namespace walkfixture {

// Makes a folder, through the long-path form so deep trees work too.
void MakeFolder(const std::wstring& path);
void MakeFile(const std::wstring& path, const std::string& bytes = "x");
// A Linux symbolic link at `link` to the folder `target` (Wine shows it as a reparse-point folder).
void MakeLink(const std::wstring& target, const std::wstring& link);

// Lines such as "started", "scan B\", "file B\b1.txt", "folder B\C", "suspended", "stopped", "done", with
// folders relative to `root`.
class Recorder {
public:
    explicit Recorder(std::wstring root) : root_(std::move(root)) {}
    void Attach(engine::TMerrowinFile& walker);
    std::vector<std::wstring> lines;

private:
    std::wstring Relative(const std::wstring& folder) const;
    std::wstring root_;
};

} // namespace walkfixture
