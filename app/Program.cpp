#include "app/Program.h"

namespace app {

std::wstring BuildCommandLineText(const std::vector<std::wstring>& parameters) {
    std::wstring text;
    for (const auto& parameter : parameters) text += L"\"" + parameter + L"\"";
    return text;
}

int RunProgram(HINSTANCE, int) { return 0; }

} // namespace app
