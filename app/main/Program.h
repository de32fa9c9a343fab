#pragma once
// The program's main block: creates the global objects in their fixed order, runs the main window's
// message loop and frees the objects again.
#include <windows.h>

#include <string>
#include <vector>

namespace app {

// Every parameter in double quotes, concatenated without separator; the program path is not included.
std::wstring BuildCommandLineText(const std::vector<std::wstring>& parameters);
// The command-line parameters of this process, without the program path.
std::vector<std::wstring> CommandLineParameters();

// Repairs the default verbs of the shell's drive, directory and folder classes; every failure is ignored.
void FixShellDefaultVerbs();

int RunProgram(HINSTANCE instance, int showCommand);

} // namespace app
