#include "bench/text/Corpus.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>

namespace benchtext {
namespace {

class Random {
public:
    std::uint32_t Next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    bool Chance(unsigned percent) { return Next() % 100 < percent; }

private:
    std::uint64_t state_ = 42;
};

// Words made of letters no search word is made of only, so none appears by accident.
std::vector<std::string> Vocabulary(Random& random) {
    const char* const syllables[] = {"ba", "de", "gi", "ko", "lu", "ma", "ne", "pi", "ro", "su", "ta", "hu",
                                     "kel", "mor", "dan", "sil", "bet", "gar", "lim", "pus"};
    std::vector<std::string> words;
    for (int i = 0; i < 400; ++i) {
        std::string word;
        for (std::uint32_t n = 1 + random.Next() % 3; n > 0; --n) word += syllables[random.Next() % 20];
        if (random.Chance(10)) word[0] = static_cast<char>(word[0] - 32);
        words.push_back(word);
    }
    return words;
}

void AppendWords(std::string& text, std::size_t bytes, const std::vector<std::string>& vocabulary, Random& random) {
    const std::size_t end = text.size() + bytes;
    while (text.size() < end) {
        text += vocabulary[random.Next() % vocabulary.size()];
        text += random.Chance(8) ? ".\r\n" : " ";
    }
}

std::string SmallText(const std::vector<std::string>& vocabulary, Random& random) {
    std::string text;
    AppendWords(text, 1000 + random.Next() % 5000, vocabulary, random);
    for (const std::wstring& wide : SearchWords) {
        const std::string word(wide.begin(), wide.end());
        std::string capital = word;
        capital[0] = static_cast<char>(capital[0] - 32);
        const std::string variants[] = {word, capital, word + "s"};
        const unsigned chances[] = {4, 2, 2};
        for (int v = 0; v < 3; ++v) {
            if (!random.Chance(chances[v])) continue;
            std::size_t at = random.Next() % text.size();
            while (at < text.size() && text[at] != ' ') ++at;  // between two words
            text.insert(at, " " + variants[v] + " ");
        }
    }
    return text;
}

std::string Encoded(const std::string& ascii, bool utf16) {
    if (!utf16) return ascii;
    std::string bytes;
    bytes.reserve(ascii.size() * 2);
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

bool Write(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = Write(file, bytes);
    CloseHandle(file);
    return ok;
}

bool BuildOne(const std::wstring& folder, bool utf16) {
    CreateDirectoryW(folder.c_str(), nullptr);
    Random random;
    const std::vector<std::string> vocabulary = Vocabulary(random);
    const std::string mark = utf16 ? std::string("\xFF\xFE") : std::string();
    for (int f = 0; f < 100; ++f) {
        const std::wstring sub = folder + L"d" + std::to_wstring(f) + L"\\";
        CreateDirectoryW(sub.c_str(), nullptr);
        for (int i = 0; i < 100; ++i)
            if (!WriteFileBytes(sub + L"f" + std::to_wstring(f * 100 + i) + L".txt",
                                mark + Encoded(SmallText(vocabulary, random), utf16)))
                return false;
    }
    // The large file holds only the last search word, at its very end, so every search reads all of it.
    HANDLE big = CreateFileW((folder + L"large.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (big == INVALID_HANDLE_VALUE) return false;
    const std::size_t total = 256u << 20, tailText = 8;  // " wyvern\n"
    const std::size_t unit = utf16 ? 2 : 1;
    bool ok = Write(big, mark);
    std::size_t written = mark.size();
    while (ok && written < total - tailText * unit) {
        std::string block;
        AppendWords(block, 1 << 20, vocabulary, random);
        block.resize(std::min(block.size(), (total - tailText * unit - written) / unit));
        const std::string bytes = Encoded(block, utf16);
        ok = Write(big, bytes);
        written += bytes.size();
    }
    ok = ok && Write(big, Encoded(" wyvern\n", utf16));
    CloseHandle(big);
    return ok;
}

} // namespace

bool BuildCorpus(const std::wstring& root) {
    const std::wstring done = root + L"corpus-complete";
    if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    std::printf("building the corpus under %ls ...\n", root.c_str());
    CreateDirectoryW(root.c_str(), nullptr);
    if (!BuildOne(root + L"ascii\\", false) || !BuildOne(root + L"utf16\\", true)) return false;
    return WriteFileBytes(done, "");
}

std::vector<CorpusFile> ListCorpus(const std::wstring& folder) {
    std::vector<CorpusFile> files;
    for (int f = 0; f < 100; ++f) {
        const std::wstring sub = folder + L"d" + std::to_wstring(f) + L"\\";
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((sub + L"*.txt").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            files.push_back({sub, data.cFileName,
                             (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    WIN32_FILE_ATTRIBUTE_DATA large;
    if (GetFileAttributesExW((folder + L"large.txt").c_str(), GetFileExInfoStandard, &large))
        files.push_back({folder, L"large.txt",
                         (static_cast<unsigned long long>(large.nFileSizeHigh) << 32) | large.nFileSizeLow});
    return files;
}

} // namespace benchtext
