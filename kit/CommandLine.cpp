#include "kit/CommandLine.h"

namespace kit {
namespace {

bool IsSeparator(wchar_t c) { return c <= L' '; }

} // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> arguments;
    size_t i = 0;
    for (;;) {
        for (;;) {
            while (i < line.size() && IsSeparator(line[i])) ++i;
            if (line.substr(i, 2) != L"\"\"") break;
            i += 2;
        }
        if (i >= line.size()) return arguments;
        std::wstring argument;
        while (i < line.size() && !IsSeparator(line[i])) {
            if (line[i] != L'"') {
                argument += line[i++];
                continue;
            }
            const size_t close = line.find(L'"', i + 1);
            const size_t end = close == std::wstring_view::npos ? line.size() : close;
            argument.append(line.substr(i + 1, end - i - 1));
            i = close == std::wstring_view::npos ? end : end + 1;
        }
        arguments.push_back(std::move(argument));
    }
}

std::vector<std::wstring> CommandLineParameters(std::wstring_view line) {
    std::vector<std::wstring> arguments = SplitCommandLine(line);
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return arguments;
}

} // namespace kit
