#pragma once
// The benchmark's corpus: 10,000 small text files in 100 folders and one 256 MB file, once in ASCII and
// once in UTF-16LE with its mark. The search words occur in some small files, also capitalised and inside
// longer words, so case and whole-word searches list different files.
#include <string>
#include <vector>

namespace benchtext {

inline const std::vector<std::wstring> SearchWords = {L"zephyr", L"quartz", L"jumble", L"fjord", L"wyvern"};

struct CorpusFile {
    std::wstring folder;  // ends in "\"
    std::wstring name;
    unsigned long long size;
};

// Builds `root` + "ascii\" and `root` + "utf16\" unless a finished corpus is there already.
bool BuildCorpus(const std::wstring& root);
// Every file under the folder, the small ones first (in folder order) and the large one last.
std::vector<CorpusFile> ListCorpus(const std::wstring& folder);

} // namespace benchtext
