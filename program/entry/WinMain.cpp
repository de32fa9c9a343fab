#include <windows.h>

#include "program/Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return program::RunProgram(instance, showCommand);
}
