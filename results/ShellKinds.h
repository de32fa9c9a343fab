#pragma once
// Icons and type names asked of the shell once per kind instead of once per row. A file's type name and, for
// most kinds, its icon follow from its extension alone; the kinds whose icon is the file's own (programs,
// shortcuts, icon and cursor files, and any kind the registry gives a per-file icon) are still asked file by
// file, as are folders that may carry an icon of their own (system or read-only ones, as a desktop.ini needs).
#include "engine/UKvrTYPEFile.h"

#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>

namespace results {

// What the cache asks of the shell; tests put in their own answers.
class TShellAsk {
public:
    virtual ~TShellAsk() = default;
    // The icon of the file or folder itself (ShellIconIndex).
    virtual int FileIcon(const std::wstring& path, bool folder, UINT flags) = 0;
    // The icon of a kind, asked by a name alone with SHGFI_USEFILEATTRIBUTES.
    virtual int KindIcon(const std::wstring& name, bool folder, UINT flags) = 0;
    virtual std::wstring TypeName(const std::wstring& path, bool folder) = 0;
};

class TShellKinds {
public:
    // Asks `shell`, or the real shell when none is given.
    explicit TShellKinds(TShellAsk* shell = nullptr);

    // The system icon index of Folder + Name asked with `flags` (SHGFI_SYSICONINDEX and size flags).
    int Icon(const std::wstring& folder, const std::wstring& name, engine::TScanAttributes attributes, UINT flags);
    // The small system icon index of a folder itself (the image of a row's Folder cell).
    int FolderIcon(const std::wstring& folder);
    // The shell's type name of Folder + Name.
    std::wstring TypeName(const std::wstring& folder, const std::wstring& name, bool isFolder);
    // Everything asked so far is asked anew: a program installed since may have changed a kind.
    void Forget();

    // True when the shell draws a file of this extension (".exe") with an icon of the file's own.
    static bool HasOwnIcon(const std::wstring& extension);

private:
    TShellAsk& shell_;
    // (a folder, the extension upper-cased, the flags) -> icon index; the same without flags for type names.
    std::map<std::tuple<bool, std::wstring, UINT>, int> icons_;
    std::map<std::pair<bool, std::wstring>, std::wstring> typeNames_;
    std::map<std::wstring, bool> ownIcons_;
    std::map<std::wstring, int> folderIcons_;
};

// The program's one cache (UI thread only).
TShellKinds& ShellKinds();

} // namespace results
