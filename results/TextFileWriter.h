#pragma once
// A text file written line by line: UTF-8 (no byte-order mark unless one is written), CR LF line ends. The lines
// go to a new file beside it under a name no file had; Commit puts that in the file's place, so a failed write
// leaves an existing file as it was, and no other file of the person's is touched.
#include "kit/Handles.h"

#include <string>
#include <string_view>

namespace results {

class TTextFileWriter {
public:
    // Throws kit::Exception when the file cannot be made.
    explicit TTextFileWriter(const std::wstring& fileName);
    // Without Commit the partial file is removed.
    ~TTextFileWriter();
    TTextFileWriter(const TTextFileWriter&) = delete;
    TTextFileWriter& operator=(const TTextFileWriter&) = delete;
    // Throws kit::Exception when the write fails (disk full, the medium gone).
    void WriteLine(std::wstring_view line);
    // Text without a line end (a byte-order mark, U+FEFF, for the files that want one).
    void Write(std::wstring_view text);
    // Replaces the file (or makes it) with what was written; throws kit::Exception when it cannot.
    void Commit();
private:
    void WriteBytes(const std::string& bytes);

    std::wstring fileName_;
    std::wstring partialName_;
    kit::UniqueHandle file_;
    bool committed_ = false;
};

} // namespace results
