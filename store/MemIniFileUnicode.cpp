#include "store/MemIniFileUnicode.h"

#include <windows.h>

#include <algorithm>

#include "kit/Exception.h"
#include "kit/Files.h"
#include "kit/Handles.h"
#include "kit/Strings.h"

namespace store {
namespace {

// The file's bytes; `complete` is false when a file exists but could not be read whole.
std::string ReadWholeFile(const std::wstring& path, bool& complete) {
    std::string bytes;
    complete = true;
    kit::UniqueHandle file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
    if (!file) {
        const DWORD error = GetLastError();
        complete = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || kit::DirectoryExists(path);
        return bytes;
    }
    char buffer[16384];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr)) {
            complete = false;
            break;
        }
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return bytes;
}

std::wstring DecodeUtf16(const std::string& bytes, size_t start, bool bigEndian) {
    std::wstring text;
    text.reserve((bytes.size() - start) / 2);
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

// A line break inside a key or value would start a new key or section when the file is read back;
// it is written as a blank, and the store holds what the file will hold.
std::wstring SingleLine(std::wstring_view text) {
    std::wstring line(text);
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == L'\r' && i + 1 < line.size() && line[i + 1] == L'\n') line.erase(i + 1, 1);
        if (line[i] == L'\r' || line[i] == L'\n') line[i] = L' ';
    }
    return line;
}

bool ParseInteger(const std::wstring& text, int& value) {
    if (text.empty()) return false;
    long long number = 0;
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        if (text.size() > 10) return false;
        for (size_t i = 2; i < text.size(); ++i) {
            const wchar_t c = text[i];
            int digit;
            if (c >= L'0' && c <= L'9') digit = c - L'0';
            else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
            else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
            else return false;
            number = number * 16 + digit;
        }
        value = static_cast<int>(static_cast<unsigned int>(number));
        return true;
    }
    size_t i = 0;
    bool negative = false;
    if (text[0] == L'-' || text[0] == L'+') {
        negative = text[0] == L'-';
        i = 1;
    }
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return false;
        number = number * 10 + (text[i] - L'0');
        if (number > 2147483648LL) return false;
    }
    if (negative) number = -number;
    if (number > 2147483647LL) return false;
    value = static_cast<int>(number);
    return true;
}

} // namespace

std::wstring DecodeSettingsText(const std::string& bytes) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        return kit::Utf8ToWide(std::string_view(bytes).substr(3));
    if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) return DecodeUtf16(bytes, 2, false);
    if (bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) return DecodeUtf16(bytes, 2, true);
    // Without a mark, text that is valid UTF-8 is UTF-8: reading it as ANSI would double-encode it on save.
    if (kit::IsValidUtf8(bytes)) return kit::Utf8ToWide(bytes);
    return kit::CodePageToWide(bytes, CP_ACP);
}

TMemIniFileUnicode::TMemIniFileUnicode(std::wstring fileName) : fileName_(std::move(fileName)) {
    Parse(DecodeSettingsText(ReadWholeFile(fileName_, readWhole_)));
}

void TMemIniFileUnicode::Parse(const std::wstring& text) {
    Section* current = nullptr;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = kit::Trim(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == L'\r' && start < text.size() && text[start] == L'\n') ++start;

        if (line.empty() || line[0] == L';') continue;
        if (line.front() == L'[' && line.back() == L']') {
            const std::wstring name = line.substr(1, line.size() - 2);
            current = FindSection(name);
            if (!current) {
                sections_.push_back({name, {}});
                current = &sections_.back();
            }
            continue;
        }
        if (!current) continue;
        const size_t equals = line.find(L'=');
        if (equals == std::wstring::npos)
            current->lines.push_back({line, L"", false});
        else
            current->lines.push_back(
                {kit::Trim(line.substr(0, equals)), kit::Trim(line.substr(equals + 1)), true});
    }
}

const TMemIniFileUnicode::Section* TMemIniFileUnicode::FindSection(std::wstring_view name) const {
    for (const auto& section : sections_)
        if (kit::SameText(section.name, name)) return &section;
    return nullptr;
}

TMemIniFileUnicode::Section* TMemIniFileUnicode::FindSection(std::wstring_view name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const TMemIniFileUnicode::Line* TMemIniFileUnicode::FindKey(const Section& section, std::wstring_view key) {
    for (const auto& line : section.lines)
        if (line.hasValue && kit::SameText(line.name, key)) return &line;
    return nullptr;
}

std::wstring TMemIniFileUnicode::ReadString(std::wstring_view section, std::wstring_view key,
                                            std::wstring_view defaultValue) const {
    const Section* found = FindSection(section);
    const Line* line = found ? FindKey(*found, key) : nullptr;
    return line ? line->value : std::wstring(defaultValue);
}

int TMemIniFileUnicode::ReadInteger(std::wstring_view section, std::wstring_view key, int defaultValue) const {
    int value = defaultValue;
    return ParseInteger(ReadString(section, key, L""), value) ? value : defaultValue;
}

void TMemIniFileUnicode::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::wstring sectionName = SingleLine(section);
    Section* target = FindSection(sectionName);
    if (!target) {
        sections_.push_back({sectionName, {}});
        target = &sections_.back();
    }
    const std::wstring keyName = SingleLine(key);
    if (auto* line = const_cast<Line*>(FindKey(*target, keyName))) {
        line->value = SingleLine(value);
        return;
    }
    target->lines.push_back({keyName, SingleLine(value), true});
}

void TMemIniFileUnicode::WriteInteger(std::wstring_view section, std::wstring_view key, int value) {
    WriteString(section, key, std::to_wstring(value));
}

void TMemIniFileUnicode::EraseSection(std::wstring_view section) {
    std::erase_if(sections_, [&](const Section& s) { return kit::SameText(s.name, section); });
}

bool TMemIniFileUnicode::SectionExists(std::wstring_view section) const { return FindSection(section) != nullptr; }

bool TMemIniFileUnicode::ValueExists(std::wstring_view section, std::wstring_view key) const {
    const Section* found = FindSection(section);
    return found && FindKey(*found, key);
}

std::vector<std::wstring> TMemIniFileUnicode::ReadSectionValues(std::wstring_view section) const {
    std::vector<std::wstring> values;
    if (const Section* found = FindSection(section))
        for (const auto& line : found->lines) values.push_back(line.hasValue ? line.name + L"=" + line.value : line.name);
    return values;
}

std::vector<std::wstring> TMemIniFileUnicode::ReadSection(std::wstring_view section) const {
    std::vector<std::wstring> keys;
    if (const Section* found = FindSection(section))
        for (const auto& line : found->lines)
            if (line.hasValue) keys.push_back(line.name);
    return keys;
}

std::vector<std::wstring> TMemIniFileUnicode::ReadSections() const {
    std::vector<std::wstring> names;
    for (const auto& section : sections_) names.push_back(section.name);
    return names;
}

std::string TMemIniFileUnicode::SerializedText() const {
    std::wstring text;
    for (const auto& section : sections_) {
        text += L"[" + section.name + L"]\r\n";
        for (const auto& line : section.lines) text += (line.hasValue ? line.name + L"=" + line.value : line.name) + L"\r\n";
        text += L"\r\n";
    }
    return "\xEF\xBB\xBF" + kit::WideToUtf8(text);
}

void TMemIniFileUnicode::UpdateFile() const {
    // Sections the writer keeps on purpose (switched-off groups) would be lost over a file read only in part.
    if (!readWhole_)
        throw kit::Exception(kit::Format(L"Cannot read file \"%ls\"; it was not overwritten.", fileName_.c_str()));
    const std::string bytes = SerializedText();
    const std::wstring temporary = fileName_ + L".new";
    {
        kit::UniqueHandle file{CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (!file)
            throw kit::Exception(kit::Format(L"Cannot create file \"%ls\". %ls", fileName_.c_str(),
                                             kit::SystemErrorMessage(GetLastError()).c_str()));
        DWORD written = 0;
        const bool ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size() && FlushFileBuffers(file.get());
        if (!ok) {
            const DWORD error = GetLastError();
            file.reset();
            DeleteFileW(temporary.c_str());
            throw kit::Exception(kit::Format(L"Cannot write file \"%ls\". %ls", fileName_.c_str(),
                                             kit::SystemErrorMessage(error).c_str()));
        }
    }
    if (!MoveFileExW(temporary.c_str(), fileName_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        throw kit::Exception(kit::Format(L"Cannot create file \"%ls\". %ls", fileName_.c_str(),
                                         kit::SystemErrorMessage(error).c_str()));
    }
}

bool ReadIniBoolean(const TMemIniFileUnicode& ini, std::wstring_view section, std::wstring_view key,
                    bool defaultValue) {
    const std::wstring text = ini.ReadString(section, key, L"");
    if (kit::SameText(text, L"True")) return true;
    if (kit::SameText(text, L"False")) return false;
    return defaultValue;
}

void WriteIniBoolean(TMemIniFileUnicode& ini, std::wstring_view section, std::wstring_view key, bool value) {
    ini.WriteString(section, key, value ? L"True" : L"False");
}

} // namespace store
