#include "tests/results/ResultsFixture.h"

#include "engine/DateTimes.h"

#include <windows.h>

#include <string>

using namespace results;

namespace resultstest {
namespace {

std::wstring LocaleText(LCTYPE type) {
    wchar_t text[100] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 100);
    return text;
}

} // namespace

bool UsEnglishLocale() {
    return LocaleText(LOCALE_SSHORTDATE) == L"M/d/yyyy" && LocaleText(LOCALE_STIMEFORMAT) == L"h:mm:ss tt" &&
           LocaleText(LOCALE_STHOUSAND) == L",";
}

void FillFixture(TResultTable& table) {
    using namespace engine;
    const double modified = EncodeDateTime({2011, 3, 2, 14, 5, 9, 123});
    const double midnight = EncodeDateTime({2010, 1, 1, 0, 0, 0, 0});
    const double marker = EncodeDateTime({1899, 12, 30, 6, 6, 6, 6});
    struct Fixture {
        const wchar_t* folder; const wchar_t* name; long double size; TScanAttributes attributes;
        const wchar_t* type;
    };
    const Fixture rows[] = {
        {L"C:\\Data\\", L"R&D", 0, {saDirectory}, L"File Folder"},
        {L"C:\\Data\\R&D\\", L"it's here.txt", 1023, {saArchive}, L"Text Document"},
        {L"C:\\Data\\R&D\\", L"\u00C0 propos.doc", 1025, {saReadOnly, saArchive}, L""},
        {L"C:\\Data\\caf\u00E9\\", L"100% #1.log", 5000000, {saHidden}, L"Log \u00C9v\u00E9nement"},
    };
    for (const Fixture& f : rows) {
        TRow& row = table.AddRow(table.Count() + 1, -1, f.attributes, modified, marker, midnight, f.size, L"",
                                 f.folder, -1, f.name, -1);
        // Set here so the files hold no answer of the shell that another system would word differently.
        row.SetTypeName(f.type);
    }
}

} // namespace resultstest
