#pragma once
// The shell's file operation (copy, move, delete to the recycle bin, rename) behind a small interface: the list
// runs the real one, and a test can decide what the shell answers where the shell here answers otherwise than
// on Windows (Wine refuses a rename that changes only the letter case).
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace results {

struct TFileOperationRequest {
    UINT function = 0;        // FO_COPY, FO_MOVE, FO_DELETE, FO_RENAME
    std::wstring from;        // path list text (PathListText)
    std::wstring to;          // path list text; empty for none
    FILEOP_FLAGS flags = 0;
};

struct TFileOperationAnswer {
    int result = 0;        // SHFileOperationW's answer, 0 when it ran
    bool aborted = false;  // the person answered No or Cancel to one of the shell's questions
    // A cancelled operation is a failure too: something was left undone.
    bool Succeeded() const { return result == 0 && !aborted; }
};

class TFileOperation {
public:
    virtual ~TFileOperation() = default;
    // Runs the operation; the shell shows its own confirmations and errors, owned by `owner`.
    virtual TFileOperationAnswer Run(HWND owner, const TFileOperationRequest& request) = 0;
};

// SHFileOperationW itself.
TFileOperation& ShellFileOperation();

} // namespace results
