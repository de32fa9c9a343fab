#pragma once
// The program's main block: OLE and the common controls, the program-wide objects (app/ProgramObjects.h),
// the main window and its message loop.
#include <windows.h>

#include <string>
#include <vector>

namespace program {

// OLE for the shell, clipboard and drag-and-drop calls, for the whole run.
class OleSession {
public:
    OleSession();
    ~OleSession();
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool initialised_;
};

// The common-control classes the program's windows use.
void InitialiseCommonControls();

// Every parameter in double quotes, concatenated without separator; the program path is not included.
std::wstring BuildCommandLineText(const std::vector<std::wstring>& parameters);
// The command-line parameters of this process, without the program path (kit::CommandLineParameters).
std::vector<std::wstring> CommandLineParameters();

// Repairs the default verbs of the shell's drive, directory and folder classes; every failure is ignored.
void FixShellDefaultVerbs();

int RunProgram(HINSTANCE instance, int showCommand);

} // namespace program
