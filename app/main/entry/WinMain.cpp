#include <windows.h>

#include "app/main/Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return app::RunProgram(instance, showCommand);
}
