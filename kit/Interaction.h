#pragma once
// The one seam for everything that would wait for a person, start another program or wait for time: message
// dialogs and questions, the text prompt, the folder browser, the save dialog, the shell's verbs, pop-up menus,
// the clock and waits. The program uses the real implementation; tests install their own and check what was asked.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace kit {

enum class MessageType { Information, Warning, Error, Confirmation };
enum class MessageButtons { Ok, Abort, AbortIgnore, AbortRetry, AbortRetryIgnore, YesNo };
enum class MessageAnswer { Ok, Abort, Retry, Ignore, Yes, No };

// A shell verb on a file ("open", "play", "explore", ...); what ShellExecuteW is asked.
struct ShellRequest {
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    std::wstring directory;
    int showCommand = SW_SHOWNORMAL;
};

// The folder browser: no root, an edit box, the new dialog style, typed folders validated, the system's
// critical-error boxes off while it shows.
struct FolderBrowseRequest {
    std::wstring caption;      // the browser's window caption, set once it has opened
    std::wstring startFolder;  // selected when it opens; empty: none
};

struct FileType {
    std::wstring name;      // "Text files (*.txt)"
    std::wstring patterns;  // "*.TXT", several joined by ";"
};

// The save dialog: it asks before overwriting, wants an existing folder, and can be resized.
struct SaveFileRequest {
    std::wstring title;
    std::vector<FileType> types;
    int typeIndex = 1;              // the type chosen at first, counted from 1
    std::wstring defaultExtension;  // without the dot, added to a name typed without one; empty: none
    std::wstring initialFolder;
    std::wstring fileName;
};

struct SaveFileAnswer {
    std::wstring fileName;
    int typeIndex = 1;  // the type chosen, counted from 1
};

class Interaction {
public:
    virtual ~Interaction() = default;
    virtual MessageAnswer ShowMessage(HWND owner, const std::wstring& text, MessageType type,
                                      MessageButtons buttons) = 0;
    // A Yes/No question with its own caption and the answer Enter gives; Escape and the close box answer No.
    virtual MessageAnswer AskYesNo(HWND owner, const std::wstring& text, const std::wstring& caption,
                                   MessageType type, MessageAnswer defaultAnswer) = 0;
    // One line of text: `prompt` over an edit that starts with `value`, OK and Cancel. True, `value` then
    // holding the text, on OK.
    virtual bool InputQuery(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                            std::wstring& value) = 0;
    // The folder chosen, none when cancelled.
    virtual std::optional<std::wstring> BrowseForFolder(HWND owner, const FolderBrowseRequest& request) = 0;
    // The file and type chosen, none when cancelled.
    virtual std::optional<SaveFileAnswer> SaveFile(HWND owner, const SaveFileRequest& request) = 0;
    // ShellExecuteW's answer: above 32 when the verb ran, else the error code.
    virtual INT_PTR ShellExecuteVerb(HWND owner, const ShellRequest& request) = 0;
    // A pop-up menu at a screen point, opened with the right button; `owner` gets its drawing messages. The
    // command id chosen, 0 when it closed without a choice.
    virtual UINT TrackMenu(HWND owner, HMENU menu, POINT screenPoint) = 0;
    // The shell's property sheet of files and folders (paths that do not exist are left out); nothing shows when
    // none of them can be had.
    virtual void ShowFileProperties(HWND owner, const std::vector<std::wstring>& paths) = 0;
    // Local date-time as a day count from 30 December 1899, the time of day as the fraction.
    virtual double Now() = 0;
    virtual DWORD TickCount() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

// The interaction in force; the real one unless a test replaced it. Whichever answers, every call that waits on a
// person (all but the clock and the waits) holds a ModalWait meanwhile: the program's other windows are off and
// the work that would change what the caller acts on waits.
Interaction& UserInteraction();
// Installs a replacement (nullptr restores the real one). The caller keeps ownership.
void SetUserInteraction(Interaction* replacement);

// The real implementation, for tests that want to drive the real dialogs.
Interaction& RealInteraction();

// Adds `extension` (".txt") to a name the save dialog answered. The dialog asked about the name as typed, so an
// existing file of the new name is asked about here ("<name> already exists. Overwrite?", No by default, under
// `caption`). False when the person would keep that file.
bool AddExtensionAskingOverwrite(HWND owner, std::wstring& fileName, const std::wstring& extension,
                                 const std::wstring& caption);

} // namespace kit
