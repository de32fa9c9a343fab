#pragma once
// The program's command line, split as the Explorer verbs write it, `"<exe>" "%1"` where %1 may be a drive root
// such as `D:\`, and as a launcher that quotes for the C runtime writes it, `"C:\a b\\"` for `C:\a b\`.
#include <string>
#include <string_view>
#include <vector>

namespace kit {

// Arguments are separated by blanks and control characters; a double quote starts or ends a run whose blanks
// belong to the argument, and the quotes themselves are dropped. Backslashes are ordinary characters, except that
// an even run of them before a double quote gives half as many (the C runtime's escape of a backslash); an odd run
// is kept whole, so Explorer's `"D:\"` stays `D:\`. An empty pair of quotes standing alone gives no argument.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);
// The arguments after the program's own path, which ends at its closing quote when it is quoted (as Windows
// reads it: `"<exe>"D:\` has the parameter `D:\`) and at the first blank otherwise.
std::vector<std::wstring> CommandLineParameters(std::wstring_view line);

} // namespace kit
