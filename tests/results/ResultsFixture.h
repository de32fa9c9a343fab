#pragma once
// Shared pieces of the result tests: the locale the texts are written for, and the export fixture.
#include "results/ResultTable.h"

namespace resultstest {

// Date and number cells follow the user's locale; the expected texts are those of US English, which the
// test prefix gets from a C or en_US environment.
bool UsEnglishLocale();
inline constexpr const char* LocaleNote = "the expected texts are US English: run with LANG=C.UTF-8 or en_US.UTF-8";

// A few rows that show what escaping and formatting must get right: a folder "R&D", a name with an apostrophe,
// accented letters, "#" and "%", a marker date, a midnight date and every size form.
void FillFixture(results::TResultTable& table);

} // namespace resultstest
