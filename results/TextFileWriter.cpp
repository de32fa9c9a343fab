#include "results/TextFileWriter.h"

#include "kit/Exception.h"
#include "kit/Strings.h"

namespace results {
namespace {

[[noreturn]] void ThrowLastError(const std::wstring& what) {
    const DWORD error = GetLastError();
    throw kit::Exception(what + L": " + kit::SystemErrorMessage(error));
}

} // namespace

TTextFileWriter::TTextFileWriter(const std::wstring& fileName)
    : file_(CreateFileW(fileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file_) ThrowLastError(fileName);
}

void TTextFileWriter::WriteLine(std::wstring_view line) {
    std::string bytes = kit::WideToUtf8(line);
    bytes += "\r\n";
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
