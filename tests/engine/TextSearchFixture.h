#pragma once
// Files for the contained-text tests: a text in a given encoding, optionally placed so that a chosen byte of
// it falls at the start of the second 32,768-byte chunk.
#include "engine/FileTypesGroups.h"
#include "engine/FilterText.h"
#include "tests/support/TempFolder.h"

#include <string>

namespace textfixture {

enum class Enc { Utf16LE, Utf16BE, Utf8, Ansi, Utf16LENoMark };
const char* EncName(Enc e);

// The text's bytes in the encoding, without a mark.
std::string Encode(Enc e, std::wstring_view text);
// The mark, then the text.
std::string FileBytes(Enc e, std::wstring_view text);
// The mark, blanks, then the text, so that the text's byte `split` is byte 32,768 of the file.
std::string Straddling(Enc e, std::wstring_view text, std::size_t split);

// A text test over one file of a temporary folder.
class TextSearch {
public:
    TextSearch() : filter(groups) {}
    // Writes the file "f.txt" and runs the test on it with the words (or phrases) `value`.
    bool Run(const std::string& bytes, const std::wstring& value);

    engine::TFileTypesGroups groups;
    engine::TFilterText filter;
    testsupport::TempFolder folder;
};

} // namespace textfixture
