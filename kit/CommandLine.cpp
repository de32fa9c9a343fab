#include "kit/CommandLine.h"

namespace kit {
namespace {

bool IsSeparator(wchar_t c) { return c <= L' '; }

size_t SkipSeparators(std::wstring_view line, size_t i) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    return i;
}

// Appends the run of backslashes at `i` and returns the index after it. Only a run before a double quote can be
// an escape, and only an even one: an odd run there is a path's last backslash before its closing quote.
size_t AppendBackslashes(std::wstring_view line, size_t i, std::wstring& argument) {
    size_t end = i;
    while (end < line.size() && line[end] == L'\\') ++end;
    const size_t count = end - i;
    const bool halved = end < line.size() && line[end] == L'"' && count % 2 == 0;
    argument.append(halved ? count / 2 : count, L'\\');
    return end;
}

} // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> arguments;
    size_t i = 0;
    for (;;) {
        for (;;) {
            i = SkipSeparators(line, i);
            if (line.substr(i, 2) != L"\"\"") break;
            i += 2;
        }
        if (i >= line.size()) return arguments;
        std::wstring argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsSeparator(line[i]))) {
            if (line[i] == L'\\') {
                i = AppendBackslashes(line, i, argument);
            } else if (line[i] == L'"') {
                quoted = !quoted;
                ++i;
            } else {
                argument += line[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
}

std::vector<std::wstring> CommandLineParameters(std::wstring_view line) {
    size_t i = SkipSeparators(line, 0);
    if (i < line.size() && line[i] == L'"') {
        const size_t close = line.find(L'"', i + 1);
        i = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && !IsSeparator(line[i])) ++i;
    }
    return SplitCommandLine(line.substr(i));
}

} // namespace kit
