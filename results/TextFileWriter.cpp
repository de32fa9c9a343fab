#include "results/TextFileWriter.h"

#include "kit/Exception.h"
#include "kit/Files.h"
#include "kit/Strings.h"

namespace results {
namespace {

[[noreturn]] void ThrowLastError(const std::wstring& what) {
    const DWORD error = GetLastError();
    throw kit::Exception(what + L": " + kit::SystemErrorMessage(error));
}

// In the file's folder, so that the rename at the end stays on its volume.
HANDLE OpenPartialFile(const std::wstring& fileName, std::wstring& partialName) {
    // Found now, not at the end: a folder in the file's place could never be replaced.
    if (kit::DirectoryExists(fileName)) {
        SetLastError(ERROR_ACCESS_DENIED);
        ThrowLastError(fileName);
    }
    const HANDLE file = kit::CreateFreshFileBeside(fileName, partialName);
    if (file == INVALID_HANDLE_VALUE) ThrowLastError(fileName);
    return file;
}

} // namespace

TTextFileWriter::TTextFileWriter(const std::wstring& fileName)
    : fileName_(fileName), file_(OpenPartialFile(fileName, partialName_)) {}

TTextFileWriter::~TTextFileWriter() {
    if (committed_) return;
    file_.reset();
    DeleteFileW(partialName_.c_str());
}

void TTextFileWriter::Commit() {
    if (!FlushFileBuffers(file_.get())) ThrowLastError(L"Cannot write the file");
    file_.reset();
    if (!MoveFileExW(partialName_.c_str(), fileName_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowLastError(fileName_);
    committed_ = true;
}

void TTextFileWriter::WriteLine(std::wstring_view line) {
    WriteBytes(kit::WideToUtf8(line) + "\r\n");
}

void TTextFileWriter::Write(std::wstring_view text) { WriteBytes(kit::WideToUtf8(text)); }

void TTextFileWriter::WriteBytes(const std::string& bytes) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file_.get(), data, chunk, &written, nullptr) || written == 0) ThrowLastError(L"Cannot write the file");
        data += written;
        left -= written;
    }
}

} // namespace results
