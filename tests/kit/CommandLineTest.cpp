#include <gtest/gtest.h>

#include "kit/CommandLine.h"
#include "kit/Strings.h"

// The command lines Explorer makes from the verbs' `"<exe>" "%1"` and `"<exe>" <LOCALDRIVES>`, and by hand.
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kit::CommandLineParameters(c.line), c.parameters) << kit::WideToUtf8(c.line);
    }
}
