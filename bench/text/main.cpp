// Text-search benchmark: over a corpus of 10,000 small files and one 256 MB file, in ASCII and in UTF-16LE,
// times a bare ReadFile loop (the floor: the same 32 KB reads, nothing else) and the contained-text test in
// several modes; prints MB/s, files/s and each ratio to the floor. For bench/text/run.sh, which compares them
// with grep's and ripgrep's, the files listed in each mode are written to <corpus>\listed-<ascii|utf16>-<mode>.txt
// and every time to <corpus>\times.txt ("<ascii|utf16> <small|large> <mode> <seconds>" a line).
//   bench_text [corpus folder]      (default: the temporary folder; built there once, then reused)
#include "bench/text/Corpus.h"
#include "engine/FileTypesGroups.h"
#include "engine/FilterText.h"
#include "kit/Clock.h"
#include "kit/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using benchtext::CorpusFile;

namespace {

struct Mode {
    const char* name;
    std::wstring value;
    engine::TMatchText match;
    bool caseSensitive;
    bool wholeWords;
};

std::wstring FiveWords() {
    std::wstring text;
    for (const std::wstring& word : benchtext::SearchWords) text += (text.empty() ? L"" : L" ") + word;
    return text;
}

// Reads every file in 32 KB chunks, stopping at the first short read, as the test does.
std::size_t BareRead(const std::vector<CorpusFile>& files) {
    static char buffer[32768];
    std::size_t opened = 0;
    for (const CorpusFile& file : files) {
        kit::UniqueHandle handle{CreateFileW((file.folder + file.name).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
        if (!handle) continue;
        ++opened;
        DWORD read = 0;
        while (ReadFile(handle.get(), buffer, sizeof(buffer), &read, nullptr) && read == sizeof(buffer)) {
        }
    }
    return opened;
}

std::vector<std::wstring> Search(engine::TFilterText& filter, const Mode& mode, const std::vector<CorpusFile>& files) {
    filter.TextMask.Value = mode.value;
    filter.MatchText = mode.match;
    filter.CaseSensitive = mode.caseSensitive;
    filter.WholeWords = mode.wholeWords;
    std::vector<std::wstring> listed;
    for (const CorpusFile& file : files)
        if (filter.Matches(file.folder, file.name, {engine::saArchive})) listed.push_back(file.folder + file.name);
    return listed;
}

// The best of five runs, in seconds.
template <typename Run>
double Best(Run run) {
    double best = 1e30;
    for (int i = 0; i < 5; ++i) {
        const double start = kit::Seconds();
        run();
        best = std::min(best, kit::Seconds() - start);
    }
    return best;
}

void Print(const char* label, const std::vector<CorpusFile>& files, double seconds, double floor, std::size_t listed) {
    double bytes = 0;
    for (const CorpusFile& file : files) bytes += static_cast<double>(file.size);
    const double mb = bytes / (1 << 20);
    std::printf("  %-28s %6zu files %8.1f MB %8.3f s %8.0f MB/s %9.0f files/s %5.2fx", label, files.size(), mb,
                seconds, mb / seconds, files.size() / seconds, seconds / floor);
    if (listed != static_cast<std::size_t>(-1)) std::printf("  %zu listed", listed);
    std::printf("\n");
}

// "five words, any" -> "five-words-any"
std::string Slug(const char* name) {
    std::string slug;
    for (const char* c = name; *c; ++c)
        if (*c != ',') slug += *c == ' ' ? '-' : *c;
    return slug;
}

void WriteListed(const std::wstring& path, const std::wstring& root, const std::vector<std::wstring>& listed) {
    std::FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out) return;
    for (const std::wstring& file : listed) {
        std::wstring relative = file.substr(root.size());
        for (wchar_t& c : relative) if (c == L'\\') c = L'/';
        std::fprintf(out, "%ls\n", relative.c_str());
    }
    std::fclose(out);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring root;
    if (argc > 1) {
        root = argv[1];
    } else {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root = std::wstring(temp) + L"kvr-text-corpus";
    }
    if (root.back() != L'\\') root += L'\\';
    if (!benchtext::BuildCorpus(root)) {
        std::printf("cannot build the corpus under %ls\n", root.c_str());
        return 1;
    }

    const std::wstring word = benchtext::SearchWords[0];
    const Mode modes[] = {
        {"one word", word, engine::mtMatchAny, true, false},
        {"five words, any", FiveWords(), engine::mtMatchAny, true, false},
        {"five words, all", FiveWords(), engine::mtMatchAll, true, false},
        {"one word, case-insensitive", word, engine::mtMatchAny, false, false},
        {"one word, whole words", word, engine::mtMatchAny, true, true},
    };
    const engine::TFileTypesGroups groups;
    engine::TFilterText filter(groups);
    filter.SkipHiddenFiles = filter.SkipSystemFiles = filter.SkipImageFiles = filter.SkipAudioFiles =
        filter.SkipVideoFiles = false;

    std::FILE* times = _wfopen((root + L"times.txt").c_str(), L"wb");
    if (!times) {
        std::printf("cannot write %lstimes.txt\n", root.c_str());
        return 1;
    }
    for (const wchar_t* corpus : {L"ascii", L"utf16"}) {
        const std::wstring folder = root + corpus + L"\\";
        std::vector<CorpusFile> all = benchtext::ListCorpus(folder);
        if (all.size() < 2) {
            std::printf("no corpus in %ls\n", folder.c_str());
            return 1;
        }
        const std::vector<CorpusFile> small(all.begin(), all.end() - 1), large(all.end() - 1, all.end());
        std::printf("%ls corpus (best of 5, after a warm-up read; the floor is the best of its runs between the "
                    "modes)\n", corpus);
        BareRead(all);
        for (const auto* set : {&small, &large}) {
            // The machine is shared: the floor is timed again after every mode, so that a busy spell during
            // one of its runs does not make the modes look cheap.
            double floor = Best([&] { BareRead(*set); });
            std::vector<std::pair<double, std::size_t>> results;
            for (const Mode& mode : modes) {
                std::vector<std::wstring> listed;
                const double seconds = Best([&] { listed = Search(filter, mode, *set); });
                results.emplace_back(seconds, listed.size());
                floor = std::min(floor, Best([&] { BareRead(*set); }));
                std::fprintf(times, "%ls %s %s %.4f\n", corpus, set == &small ? "small" : "large",
                             Slug(mode.name).c_str(), seconds);
            }
            Print(set == &small ? "bare ReadFile: small files" : "bare ReadFile: large file", *set, floor, floor,
                  static_cast<std::size_t>(-1));
            for (std::size_t m = 0; m < results.size(); ++m)
                Print(modes[m].name, *set, results[m].first, floor, results[m].second);
        }
        for (const Mode& mode : modes) {
            const std::string slug = Slug(mode.name);
            WriteListed(root + L"listed-" + corpus + L"-" + std::wstring(slug.begin(), slug.end()) + L".txt", folder,
                        Search(filter, mode, all));
        }
    }
    std::fclose(times);
    return 0;
}
