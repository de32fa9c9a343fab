#include <windows.h>

#include "app/Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return app::RunProgram(instance, showCommand);
}
