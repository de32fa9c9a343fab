#pragma once
// The shell's own context menu of result files (the menu the file manager shows for them), with two items of the
// program's own on top that open the file's folder. The verbs the program carries out itself are handed back to
// the caller instead of being run by the shell.
#include <windows.h>
#include <shlobj.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace results {

inline constexpr UINT OpenContainingFolderCommand = 1025;
inline constexpr UINT OpenFolderCommand = 1026;
// The shell's items are numbered from 1; the shell knows each by its offset from there. The range stops below
// the program's own items, so a shell item can never be taken for one of them.
inline constexpr UINT FirstShellCommand = 1;
inline constexpr UINT LastShellCommand = 1024;
static_assert(LastShellCommand < OpenContainingFolderCommand && LastShellCommand < OpenFolderCommand);

// The shell's verbs the list carries out itself, with its own confirmation, clipboard and row updates: the menu
// hands them back instead of running them.
inline constexpr std::array<std::wstring_view, 6> ProgramVerbs{L"cut",  L"copy",   L"delete",
                                                               L"link", L"rename", L"properties"};

// What the worker does with the items' menu.
enum class TContextMenuMode : std::uint8_t {
    cmmShow = 0,        // shows it and carries out the choice
    cmmProperties = 1,  // invokes "properties" when the items have a property sheet
    cmmDefault = 2,     // invokes the default item
    cmmCommand = 3,     // invokes the command id given
};

struct TContextMenuCall {
    std::wstring fileName;  // a full path; a name holding "*" or "?" stands for every entry it matches
    HWND owner = nullptr;
    POINT point{};  // screen coordinates
    TContextMenuMode mode = TContextMenuMode::cmmShow;
    UINT commandId = 0;  // cmmCommand: an id as the menu numbers the shell's items
    // cmmShow: the items of ProgramVerbs show greyed, as the list refuses its file actions now (a search runs).
    bool programVerbsRefused = false;
};

// Shows the menu of one file at a screen point, the items of ProgramVerbs greyed when `programVerbsRefused`. True
// when it was shown (and, for a shell item invoked, the shell accepted it); `verb` is then the chosen shell item's
// verb in lower case, empty when nothing or one of the program's own items was chosen. False when the file cannot
// be resolved or the shell gives no menu.
bool ShowResultContextMenu(const std::wstring& fileName, HWND owner, POINT point, bool programVerbsRefused,
                           std::wstring& verb);

// The worker: resolves the file (or the entries its mask matches) in its folder and shows or invokes per mode.
bool ShowContextMenuForFiles(const TContextMenuCall& call, std::wstring& verb);

// Shows or invokes per mode. `attributes` are the items' shell attribute flags; with `useCallbackWindow` the
// menu's owner is a hidden window that passes the menu's drawing messages to the shell's object (an
// IContextMenu2 or IContextMenu3).
bool TrackShellContextMenu(IContextMenu& menu, SFGAOF attributes, bool useCallbackWindow,
                           const TContextMenuCall& call, std::wstring& verb);

// The procedure of the hidden window ("ItemPropMenuCallbackHelper") that owns the menu while it shows.
LRESULT CALLBACK ContextMenuCallbackWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

} // namespace results
