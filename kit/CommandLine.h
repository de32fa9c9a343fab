#pragma once
// The program's command line, split as the Explorer verbs write it: `"<exe>" "%1"`, where %1 may be a drive root
// such as `D:\`. A backslash is an ordinary character (the C runtime's rule would read `\"` as an escaped quote).
#include <string>
#include <string_view>
#include <vector>

namespace kit {

// Arguments are separated by blanks and control characters; a double quote starts or ends a run whose blanks
// belong to the argument, and the quotes themselves are dropped. An empty pair of quotes standing alone gives no
// argument.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);
// The arguments after the program's own path.
std::vector<std::wstring> CommandLineParameters(std::wstring_view line);

} // namespace kit
