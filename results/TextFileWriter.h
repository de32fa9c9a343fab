#pragma once
// A text file written line by line: UTF-8 without byte-order mark, CR LF line ends, each line on disk when
// WriteLine returns.
#include "kit/Handles.h"

#include <string>
#include <string_view>

namespace results {

class TTextFileWriter {
public:
    // Creates the file anew, replacing one that exists; throws kit::Exception when it cannot.
    explicit TTextFileWriter(const std::wstring& fileName);
    // Throws kit::Exception when the write fails (disk full, the medium gone).
    void WriteLine(std::wstring_view line);
private:
    kit::UniqueHandle file_;
};

} // namespace results
