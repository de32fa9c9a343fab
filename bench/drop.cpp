// Drop benchmark: how long a drop from another program holds the window's thread, which does all of it before the
// drop ends, at the worst its data can ask within the bounds the program puts on it, and for a person's ordinary
// drop. Each drop is read as the file target reads it and taken by the real main window's search-path box; the
// time is the best of three, against the second a drop may take. The drops:
// - an ID list array of as many children as the library reads, each naming a folder in a folder of 20,000
//   entries (under Wine the shell reads the whole folder for each child);
// - a file drop list of names missing from that folder (each costs the box a read of the folder), as many as the
//   box's text holds;
// - a file drop list of folders whose paths are as long as a path can be, as many as the box's text holds;
// - a file drop list of as many one-character names as the library reads, and one that fills the largest medium;
// - three folders and 300 files of one folder, as a person drops them.
// The window reads the settings of the Wine prefix it runs in and saves none.
//   bench_drop [folder]
// Without a folder the folders are made under the temporary folder. Made folders are reused by later runs in the
// same place (tools/wine-run alone makes a fresh prefix each time, so name a folder outside it to keep them).
#include "app/ProgramObjects.h"
#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropPIDL.h"
#include "dragdrop/DragDropRegistration.h"
#include "kit/Clock.h"
#include "kit/Exception.h"
#include "program/Program.h"
#include "ui/FMWMainFree.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::wstring>;
using ui::TMRUFolderComboBox;
constexpr double kDropTarget = 1.0;  // seconds a drop may hold the window's thread

// `count` entries `stem` and a number under `root`, folders or empty files; made when missing.
Names Entries(const std::wstring& root, const std::wstring& stem, int count, bool folders = true) {
    CreateDirectoryW(root.c_str(), nullptr);
    Names entries;
    for (int i = 0; i < count; ++i) {
        wchar_t number[16];
        swprintf(number, 16, L"%05d", i);
        entries.push_back(root + stem + number);
        if (GetFileAttributesW(entries.back().c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        if (folders) {
            CreateDirectoryW(entries.back().c_str(), nullptr);
        } else {
            const HANDLE file = CreateFileW(entries.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        }
    }
    return entries;
}

dragdrop::TUnicodeStringList ListOf(const Names& names) {
    dragdrop::TUnicodeStringList list;
    for (const std::wstring& name : names) list.Add(name);
    return list;
}

// The blocks a source puts on an HGLOBAL, as the library writes them; the ID list array's children are those of
// the names over and over, up to `children` of them.
std::string CidaBlock(const Names& names, size_t children = 0) {
    dragdrop::TPIDLClipboardFormat format;
    format.Filenames().Assign(ListOf(names));
    if (children > 0) {
        dragdrop::TPIDLList once;
        once.Assign(format.Pidls());
        format.Pidls().Clear();
        format.Pidls().AddBytes(once.ItemBytes(0));
        for (size_t i = 0; i < children; ++i)
            format.Pidls().AddBytes(once.ItemBytes(1 + static_cast<int>(i % (once.Count() - 1))));
    }
    std::string block(format.DataSize(), '\0');
    format.WriteData(reinterpret_cast<BYTE*>(block.data()), block.size());
    return block;
}

std::string DropFilesBlock(const Names& names) {
    const dragdrop::TUnicodeStringList list = ListOf(names);
    std::string block(dragdrop::DropFilesSize(list, true), '\0');
    dragdrop::WriteDropFiles(reinterpret_cast<BYTE*>(block.data()), block.size(), list, true);
    return block;
}

// `count` one-character names, each with its null, after a wide header.
std::string OneCharacterNames(size_t count) {
    std::string block(dragdrop::kDropFilesHeaderSize, '\0');
    block[0] = static_cast<char>(dragdrop::kDropFilesHeaderSize);
    block[16] = 1;
    block.reserve(block.size() + count * 4 + 2);
    for (size_t i = 0; i < count; ++i) block.append("a\0\0\0", 4);
    return block.append("\0\0", 2);
}

dragdrop::TStgMediumOwner Medium(const std::string& block) {
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, block.size());
    std::memcpy(GlobalLock(medium.hGlobal), block.data(), block.size());
    GlobalUnlock(medium.hGlobal);
    return dragdrop::TStgMediumOwner(medium);
}

// The block read as the file target reads it on a drop, then taken by the box; whether the box took it.
bool Drop(dragdrop::TClipboardFormat& format, const std::string& block, TMRUFolderComboBox& box) {
    const dragdrop::TStgMediumOwner medium = Medium(block);
    dragdrop::TFileDataFormat files(nullptr);
    files.UseSide(dragdrop::TFormatSide::Target);
    if (!format.GetDataFromMedium(nullptr, medium.get()) || !format.HasData() ||
        !files.TakeFromClipboardFormat(format))
        return false;
    return box.DropFolders(files.Files().ToVector());
}

// Best of three drops of the block, the box's text set apart before each.
void Measure(const char* what, bool idLists, const std::string& block, TMRUFolderComboBox& box) {
    double best = 1e30;
    bool taken = false;
    for (int run = 0; run < 3; ++run) {
        SetWindowTextW(box.EditHwnd(), L"C:\\");
        dragdrop::TPIDLClipboardFormat cida;
        dragdrop::TFileClipboardFormat dropFiles;
        dragdrop::TClipboardFormat& format = idLists ? static_cast<dragdrop::TClipboardFormat&>(cida) : dropFiles;
        const double start = kit::Seconds();
        taken = Drop(format, block, box);
        best = std::min(best, kit::Seconds() - start);
    }
    std::printf("%-66s %-8s %7.3f s  (target %.0f s: %s)\n", what, taken ? "taken" : "refused", best, kDropTarget,
                best <= kDropTarget ? "met" : "MISSED");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring root;
    if (argc > 1) {
        root = argv[1];
    } else {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root = std::wstring(temp) + L"kvr-drop-bench";
    }
    if (root.back() != L'\\') root += L'\\';
    CreateDirectoryW(root.c_str(), nullptr);
    std::printf("bounds: ID list children named within %lu ms; the box takes %zu characters, looked up within %lu "
                "ms\n",
                dragdrop::kIDListNamingTime, TMRUFolderComboBox::kMaxDroppedCharacters,
                TMRUFolderComboBox::kDropLookupTime);
    try {
        const program::OleSession ole;
        const dragdrop::TDragDropLibrary dragDrop;
        program::InitialiseCommonControls();
        app::ProgramObjects objects;  // freed before OLE ends, as in the program
        objects.CreateSettingsHolder();
        objects.CreateSearchObjects();
        ui::TfrmMerrowinMain window;
        window.Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, {});
        TMRUFolderComboBox& box = window.tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;

        const std::wstring large = root + L"large\\";
        const Names inLarge = Entries(large, L"folder-", 20000);
        const Names some(inLarge.begin(), inLarge.begin() + 100);
        Measure("ID list array, folders of a folder of 20,000 entries", true,
                CidaBlock(some, dragdrop::kMaxIDListChildren), box);

        const std::wstring missingStem = large + L"missing-";
        Names missing(TMRUFolderComboBox::kMaxDroppedCharacters / (missingStem.size() + 6));
        for (size_t i = 0; i < missing.size(); ++i) missing[i] = missingStem + std::to_wstring(100000 + i);
        Measure("file drop list, names missing from that folder", false, DropFilesBlock(missing), box);

        const std::wstring longRoot = root + L"long\\";
        const std::wstring longStem(MAX_PATH - 1 - longRoot.size() - 5, L'f');
        const Names longFolders = Entries(
            longRoot, longStem, static_cast<int>(TMRUFolderComboBox::kMaxDroppedCharacters / (MAX_PATH - 1)));
        Measure("file drop list, folders of 259 characters", false, DropFilesBlock(longFolders), box);

        Measure("file drop list, as many one-character names as the library reads", false,
                OneCharacterNames(dragdrop::kMaxListedNames), box);
        Measure("file drop list, the largest medium of one-character names", false,
                OneCharacterNames((dragdrop::kMaxMediumSize - dragdrop::kDropFilesHeaderSize - 2) / 4), box);

        const std::wstring ordinaryRoot = root + L"ordinary\\";
        Names ordinary = Entries(ordinaryRoot, L"folder-", 3);
        const Names files = Entries(ordinaryRoot, L"photo-", 300, false);
        ordinary.insert(ordinary.end(), files.begin(), files.end());
        Measure("a person's drop: 3 folders and 300 files, as a file drop list", false, DropFilesBlock(ordinary), box);
        Measure("the same as an ID list array", true, CidaBlock(ordinary), box);
    } catch (const std::exception& e) {
        std::printf("cannot open the main window: %ls\n", kit::ExceptionMessage(e).c_str());
        return 1;
    }
    return 0;
}
