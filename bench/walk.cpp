// Walk benchmark: times a bare FindFirstFileW/FindNextFileW walk, the folder walker with its events and
// message pumping, the walker plus a wildcard name test, and a whole search through the program's main
// window (Search pressed, every entry a row in the list), over one tree; prints entries/s and the ratios to
// the bare walk, and the private memory the window's first search added per row. The window reads the settings
// of the Wine prefix it runs in and saves none.
//   bench_walk [folder [files folders]]...
// Without a folder, a tree of 100,000 files in 1,000 folders is built under the temporary folder; with a
// folder and counts, that tree is built there: file names of 25 characters in folders of 30 (so a row's folder
// path is about 50 characters under a short root). A built tree is reused by later runs. A folder alone is
// walked as it is. Several trees (each a folder, with or without counts) are measured one after the other, so
// one run shows how the ratios hold as a tree grows.
#include "app/ProgramObjects.h"
#include "engine/FilterNameMask.h"
#include "engine/LongPaths.h"
#include "engine/MerrowinFile.h"
#include "engine/MessagePump.h"
#include "kit/Clock.h"
#include "kit/Exception.h"
#include "program/Program.h"
#include "ui/ControlIds.h"
#include "ui/FMWMainFree.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <functional>
#include <string>
#include <vector>

namespace {

// 25 characters: "document-00000012345.text".
std::wstring FileName(long index) {
    wchar_t name[32];
    swprintf(name, 32, L"document-%011ld.text", index);
    return name;
}

// 30 characters with the backslash: "folder-of-many-documents-0012\".
std::wstring FolderName(long index) {
    wchar_t name[40];
    swprintf(name, 40, L"folder-of-many-documents-%04ld\\", index);
    return name;
}

bool BuildTree(const std::wstring& root, long files, long folders) {
    const std::wstring done = root + L"tree-complete";
    if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    std::printf("building %ld files in %ld folders under %ls ...\n", files, folders, root.c_str());
    CreateDirectoryW(root.c_str(), nullptr);
    const long perFolder = files / folders;
    for (long f = 0; f < folders; ++f) {
        const std::wstring folder = root + FolderName(f);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (long i = 0; i < perFolder; ++i) {
            const std::wstring file = folder + FileName(f * perFolder + i);
            HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (h == INVALID_HANDLE_VALUE) return false;
            CloseHandle(h);
        }
    }
    HANDLE h = CreateFileW(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return true;
}

long BareWalk(const std::wstring& folder) {
    long entries = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(engine::ListingPattern(folder).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0) continue;
        ++entries;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) entries += BareWalk(folder + data.cFileName + L"\\");
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
}

struct Figure {
    long entries;
    double seconds;
};

// The process's private bytes: its commit charge. The extended record's PrivateUsage is the same figure on
// Windows, but Wine 8 leaves it at 0 and fills this one (from the process's anonymous resident memory).
double PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.PagefileUsage);
}

// The private memory around one search through the window, and the rows it listed.
struct MemoryFigure {
    double before = 0, after = 0;
    long rows = 0;
    double PerRow() const { return rows > 0 ? (after - before) / rows : 0; }
};

Figure Best(int runs, const std::function<long()>& walk) {
    Figure best{0, 1e30};
    for (int i = 0; i < runs; ++i) {
        const double start = kit::Seconds();
        const long entries = walk();
        const double seconds = kit::Seconds() - start;
        if (seconds < best.seconds) best = {entries, seconds};
    }
    return best;
}

long Walk(const std::wstring& root, const engine::FilterFile::TNameMask* mask) {
    engine::TMerrowinFile walker;
    walker.StartFolder = root;
    long entries = 0, matched = 0;
    const auto found = [&](engine::TMerrowinFile&, const engine::TFoundEntry& entry) {
        ++entries;
        if (mask && mask->Matches(entry.FileName)) ++matched;
    };
    walker.OnFileFound = found;
    walker.OnFolderFound = found;
    walker.Execute();
    if (mask) std::printf("    (%ld of %ld names matched)\n", matched, entries);
    return entries;
}

// The program's main window over the tree, its criteria as Reset leaves them (so none loaded from the
// settings filters), every entry listed. Destroyed without a close, so no settings are saved.
class WindowSearch {
public:
    WindowSearch(app::ProgramObjects& objects, const std::wstring& root) {
        objects.CreateSettingsHolder();
        objects.CreateSearchObjects();
        window_.Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, {});
        window_.actACTIONResetExecute();
        const HWND files = Page(ui::ids::kPageFilesAndFolders);
        Type(GetDlgItem(files, ui::ids::kFileMask), L"*");
        const HWND path = GetDlgItem(files, ui::ids::kSearchPath);
        Type(reinterpret_cast<HWND>(SendMessageW(path, CBEM_GETEDITCONTROL, 0, 0)), root);
        Type(GetDlgItem(Page(ui::ids::kPageContainingText), ui::ids::kSearchText), L"");
    }

    // Presses Search, which returns once the run is over (the search pumps its own loop); the rows listed.
    long Run() {
        SendMessageW(GetDlgItem(window_.hwnd(), ui::ids::kSearchPause), BM_CLICK, 0, 0);
        const HWND list = GetDlgItem(window_.hwnd(), ui::ids::kResultList);
        return static_cast<long>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    }

private:
    HWND Page(int pageId) const { return GetDlgItem(GetDlgItem(window_.hwnd(), ui::ids::kSelections), pageId); }
    static void Type(HWND box, const std::wstring& text) {
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    ui::TfrmMerrowinMain window_;
};

struct Tree {
    std::wstring root;
    long files = 100000, folders = 1000;
    bool build = true;
};

// The trees named on the command line: each a folder, or a folder with its file and folder counts to build.
std::vector<Tree> Trees(int argc, wchar_t** argv) {
    std::vector<Tree> trees;
    for (int i = 1; i < argc; ++i) {
        Tree tree;
        tree.root = engine::CanonicalFolder(argv[i]).value_or(L"");
        tree.build = i + 2 < argc && std::iswdigit(argv[i + 1][0]);
        if (tree.build) {
            tree.files = std::wcstol(argv[i + 1], nullptr, 10);
            tree.folders = std::wcstol(argv[i + 2], nullptr, 10);
            i += 2;
        }
        trees.push_back(tree);
    }
    if (trees.empty()) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        trees.push_back({std::wstring(temp) + L"kvr-walk-bench\\"});
    }
    return trees;
}

constexpr double WindowTarget = 1.3;     // the whole search against the bare walk
constexpr double BytesPerRowTarget = 150;  // private memory a search adds per row, on 64-bit, at a million rows

// Times the four lines over one tree; false when the window did not list what the walk found.
bool Measure(const std::wstring& root) {
    engine::FilterFile::TNameMask mask;
    mask.MaskType = engine::nmManualWildcards;
    mask.SetValue(L"*1?3*.text");

    constexpr int runs = 3;
    BareWalk(root);  // warm the caches
    const Figure bare = Best(runs, [&] { return BareWalk(root); });
    const Figure walker = Best(runs, [&] { return Walk(root, nullptr); });
    const Figure matched = Best(runs, [&] { return Walk(root, &mask); });
    Figure listed;
    MemoryFigure memory;
    try {
        const program::OleSession ole;
        program::InitialiseCommonControls();
        app::ProgramObjects objects;  // freed before OLE ends, as in the program
        WindowSearch window(objects, root);
        // The first search adds its rows to a window that holds none; the later ones free them first.
        bool first = true;
        listed = Best(runs, [&] {
            if (!first) return window.Run();
            first = false;
            memory.before = PrivateBytes();
            memory.rows = window.Run();
            memory.after = PrivateBytes();
            return memory.rows;
        });
    } catch (const std::exception& e) {
        std::printf("cannot open the main window: %ls\n", kit::ExceptionMessage(e).c_str());
        return false;
    }

    const auto print = [&](const char* what, const Figure& figure) {
        std::printf("%-28s %8ld entries  %7.3f s  %10.0f entries/s  %5.2fx", what, figure.entries, figure.seconds,
                    figure.entries / figure.seconds, figure.seconds / bare.seconds);
    };
    std::printf("best of %d runs over %ls\n", runs, root.c_str());
    print("bare FindFirstFileW walk", bare);
    std::printf("\n");
    print("walker, events, messages", walker);
    std::printf("\n");
    print("walker + wildcard mask", matched);
    std::printf("\n");
    print("main window, Search to rows", listed);
    const double ratio = listed.seconds / bare.seconds;
    std::printf("  (target %.1fx: %s)\n", WindowTarget, ratio <= WindowTarget ? "met" : "MISSED");
    constexpr double MB = 1024.0 * 1024.0;
    std::printf("private memory added by the first search: %.0f bytes a row (%ld rows, %.1f MB before, %.1f MB "
                "after; target %.0f bytes a row at 1,000,000 rows on 64-bit: %s)\n",
                memory.PerRow(), memory.rows, memory.before / MB, memory.after / MB, BytesPerRowTarget,
                memory.PerRow() <= BytesPerRowTarget ? "met" : "MISSED");
    if (listed.entries != bare.entries) {
        std::printf("the window listed %ld rows, the walk found %ld entries\n", listed.entries, bare.entries);
        return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // The walker lines pump through the program's own pump, as the window's search does.
    const engine::ScopedMessagePump pump{app::PumpProgramMessages};
    bool ok = true;
    for (const Tree& tree : Trees(argc, argv)) {
        if (tree.root.empty() || tree.folders <= 0 || (tree.build && !BuildTree(tree.root, tree.files, tree.folders))) {
            std::printf("cannot use or build the tree %ls\n", tree.root.c_str());
            return 1;
        }
        ok = Measure(tree.root) && ok;
    }
    return ok ? 0 : 1;
}
