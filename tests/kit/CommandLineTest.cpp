#include <gtest/gtest.h>

#include "kit/CommandLine.h"
#include "kit/Strings.h"

// The command lines Explorer makes from the verbs' `"<exe>" "%1"` and `"<exe>" <LOCALDRIVES>`, those of a launcher
// that quotes as the C runtime reads (a path's last backslash doubled before its closing quote), and by hand.
TEST(CommandLine, ParametersAreSplitAsTheVerbsWriteThem) {
    struct Case { const char* name; const wchar_t* line; std::vector<std::wstring> parameters; };
    const Case cases[] = {
        {"a drive root", L"\"C:\\Program Files\\Kolvaran\\Kolvaran.exe\" \"D:\\\"", {L"D:\\"}},
        {"a folder with its backslash", L"\"C:\\Kolvaran.exe\" \"C:\\Data\\Reports\\\"", {L"C:\\Data\\Reports\\"}},
        {"a folder with blanks", L"\"C:\\Program Files\\Kolvaran\\Kolvaran.exe\" \"C:\\My Documents\\Old  Reports\"",
         {L"C:\\My Documents\\Old  Reports"}},
        {"a share", L"\"C:\\Kolvaran.exe\" \"\\\\server\\share\\folder\"", {L"\\\\server\\share\\folder"}},
        {"a share's root", L"\"C:\\Kolvaran.exe\" \"\\\\server\\share\\\"", {L"\\\\server\\share\\"}},
        {"the local drives", L"\"C:\\Kolvaran.exe\" <LOCALDRIVES>", {L"<LOCALDRIVES>"}},
        {"no parameter", L"\"C:\\Program Files\\Kolvaran\\Kolvaran.exe\"", {}},
        {"no parameter, blanks after", L"\"C:\\Kolvaran.exe\"   ", {}},
        {"a program path without quotes", L"C:\\Kolvaran\\Kolvaran.exe D:\\ E:\\", {L"D:\\", L"E:\\"}},
        {"tabs between", L"Kolvaran.exe\t\"D:\\\"\t x", {L"D:\\", L"x"}},
        {"quotes inside a parameter", L"Kolvaran.exe C:\\\"Program Files\"\\x", {L"C:\\Program Files\\x"}},
        {"an empty pair gives nothing", L"Kolvaran.exe \"\" \"D:\\\"", {L"D:\\"}},
        {"an unclosed quote runs to the end", L"Kolvaran.exe \"C:\\a b", {L"C:\\a b"}},
        {"an empty line", L"", {}},
        {"a folder quoted for the C runtime", L"\"C:\\Kolvaran.exe\" \"C:\\a b\\\\\"", {L"C:\\a b\\"}},
        {"a drive root quoted for the C runtime", L"\"C:\\Kolvaran.exe\" \"D:\\\\\"", {L"D:\\"}},
        {"a share's root quoted for the C runtime", L"\"C:\\Kolvaran.exe\" \"\\\\server\\share\\\\\"",
         {L"\\\\server\\share\\"}},
        {"four backslashes before a quote give two", L"Kolvaran.exe \"C:\\a\\\\\\\\\" x", {L"C:\\a\\\\", L"x"}},
        {"three backslashes before a quote stay three", L"Kolvaran.exe \"C:\\a\\\\\\\" x",
         {L"C:\\a\\\\\\", L"x"}},
        {"backslashes before no quote stay", L"Kolvaran.exe D:\\\\ C:\\\\a", {L"D:\\\\", L"C:\\\\a"}},
        {"no blank after the program's path", L"\"C:\\Program Files\\Kolvaran\\Kolvaran.exe\"D:\\", {L"D:\\"}},
        {"no blank after the program's path, a quoted parameter", L"\"C:\\Kolvaran.exe\"\"C:\\a b\\\" x",
         {L"C:\\a b\\", L"x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kit::CommandLineParameters(c.line), c.parameters) << kit::WideToUtf8(c.line);
    }
}
