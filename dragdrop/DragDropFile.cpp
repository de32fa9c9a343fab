#include "dragdrop/DragDropFile.h"

#include <cstring>
#include <string_view>

#include "dragdrop/DragDropPIDL.h"
#include "kit/Strings.h"

namespace dragdrop {
namespace {

// The names of a list in its own character width; false when a name or the list runs past the text, or when it
// holds more than kMaxListedNames names.
template <typename Char>
bool SplitNameList(std::basic_string_view<Char> text, std::vector<std::basic_string<Char>>& names) {
    size_t position = 0;
    for (;;) {
        if (position >= text.size() || names.size() > kMaxListedNames) return false;  // no empty name ends the list
        const size_t end = text.find(Char{0}, position);
        if (end == text.npos) return false;
        if (end == position) return !names.empty();
        names.emplace_back(text.substr(position, end - position));
        position = end + 1;
    }
}

// Each name in the list's width, without its null. An empty name cannot be written: it would end the list.
std::vector<std::string> EncodeNames(const TUnicodeStrings& names, bool wide, UINT codePage) {
    std::vector<std::string> encoded;
    encoded.reserve(static_cast<size_t>(names.Count()));
    for (int i = 0; i < names.Count(); ++i) {
        const std::wstring name = names.Get(i);
        if (name.empty()) continue;
        if (wide)
            encoded.emplace_back(reinterpret_cast<const char*>(name.data()), name.size() * sizeof(wchar_t));
        else
            encoded.push_back(WideToCodePage(name, codePage));  // bytes, not characters: multibyte pages
    }
    return encoded;
}

size_t EncodedListSize(const std::vector<std::string>& encoded, size_t nullSize) {
    size_t size = nullSize;
    for (const std::string& name : encoded) size += name.size() + nullSize;
    return size;
}

DWORD ReadDword(const BYTE* block, size_t offset) {
    DWORD value;
    std::memcpy(&value, block + offset, sizeof(value));
    return value;
}

void WriteDword(BYTE* block, size_t offset, DWORD value) { std::memcpy(block + offset, &value, sizeof(value)); }

} // namespace

// --- Name lists and DROPFILES

bool ReadFilenameList(const BYTE* buffer, size_t length, bool wide, TUnicodeStrings& names, UINT codePage) {
    std::vector<std::wstring> found;
    bool ok;
    if (wide) {
        std::wstring text(length / sizeof(wchar_t), L'\0');  // whole characters only
        std::memcpy(text.data(), buffer, text.size() * sizeof(wchar_t));
        ok = SplitNameList<wchar_t>(text, found);
    } else {
        std::vector<std::string> bytes;
        ok = SplitNameList<char>(std::string_view(reinterpret_cast<const char*>(buffer), length), bytes);
        for (const std::string& name : bytes) found.push_back(kit::CodePageToWide(name, codePage));
    }
    names.BeginUpdate();
    names.Clear();
    if (ok)
        for (const std::wstring& name : found) names.Add(name);
    names.EndUpdate();
    return ok;
}

size_t FilenameListSize(const TUnicodeStrings& names, bool wide, UINT codePage) {
    return EncodedListSize(EncodeNames(names, wide, codePage), wide ? sizeof(wchar_t) : 1);
}

bool WriteFilenameList(BYTE* buffer, size_t capacity, bool wide, const TUnicodeStrings& names, UINT codePage) {
    const std::vector<std::string> encoded = EncodeNames(names, wide, codePage);
    const size_t nullSize = wide ? sizeof(wchar_t) : 1;
    if (EncodedListSize(encoded, nullSize) > capacity) return false;
    for (const std::string& name : encoded) {
        std::memcpy(buffer, name.data(), name.size());
        std::memset(buffer + name.size(), 0, nullSize);
        buffer += name.size() + nullSize;
    }
    std::memset(buffer, 0, nullSize);
    return true;
}

bool IsWritableNameMap(const TUnicodeStrings& names) {
    if (names.Count() == 0) return false;
    for (int i = 0; i < names.Count(); ++i)
        if (names.Get(i).empty()) return false;
    return true;
}

bool ReadDropFiles(const BYTE* block, size_t size, TUnicodeStrings& files, UINT codePage) {
    if (size <= kDropFilesHeaderSize) {
        files.Clear();
        return false;
    }
    const DWORD namesOffset = ReadDword(block, 0);
    if (namesOffset < kDropFilesHeaderSize || namesOffset >= size) {
        files.Clear();
        return false;
    }
    const bool wide = ReadDword(block, 16) != 0;
    return ReadFilenameList(block + namesOffset, size - namesOffset, wide, files, codePage);
}

size_t DropFilesSize(const TUnicodeStrings& files, bool wide, UINT codePage) {
    return kDropFilesHeaderSize + FilenameListSize(files, wide, codePage);
}

bool WriteDropFiles(BYTE* block, size_t size, const TUnicodeStrings& files, bool wide, UINT codePage) {
    if (size <= kDropFilesHeaderSize) return false;
    std::memset(block, 0, size);
    WriteDword(block, 0, kDropFilesHeaderSize);
    WriteDword(block, 16, wide ? 1 : 0);
    return WriteFilenameList(block + kDropFilesHeaderSize, size - kDropFilesHeaderSize, wide, files, codePage);
}

// --- The clipboard formats

const TClipboardFormatClass TFileClipboardFormat::Class{L"TFileClipboardFormat", nullptr, CF_HDROP,
                                                        &CreateClipboardFormat<TFileClipboardFormat>};
const TClipboardFormatClass TAnsiFilenameClipboardFormat::Class{
    L"TAnsiFilenameClipboardFormat", L"FileName", 0, &CreateClipboardFormat<TAnsiFilenameClipboardFormat>};
const TClipboardFormatClass TUnicodeFilenameClipboardFormat::Class{
    L"TUnicodeFilenameClipboardFormat", L"FileNameW", 0, &CreateClipboardFormat<TUnicodeFilenameClipboardFormat>};
const TClipboardFormatClass TAnsiFilenameMapClipboardFormat::Class{
    L"TAnsiFilenameMapClipboardFormat", L"FileNameMap", 0, &CreateClipboardFormat<TAnsiFilenameMapClipboardFormat>};
const TClipboardFormatClass TUnicodeFilenameMapClipboardFormat::Class{
    L"TUnicodeFilenameMapClipboardFormat", L"FileNameMapW", 0,
    &CreateClipboardFormat<TUnicodeFilenameMapClipboardFormat>};

bool TAnsiFilenameClipboardFormat::TakeFromDataFormat(TCustomDataFormat& dataFormat) {
    auto* file = dynamic_cast<TFileDataFormat*>(&dataFormat);
    if (!file) return TCustomAnsiTextClipboardFormat::TakeFromDataFormat(dataFormat);
    if (file->Files().Count() == 0) return false;
    SetDataBytes(WideToCodePage(file->Files().Get(0)));
    return true;
}

bool TAnsiFilenameClipboardFormat::GiveToDataFormat(TCustomDataFormat& dataFormat) {
    auto* file = dynamic_cast<TFileDataFormat*>(&dataFormat);
    if (!file) return TCustomAnsiTextClipboardFormat::GiveToDataFormat(dataFormat);
    file->Files().Assign(TUnicodeStringList{kit::CodePageToWide(Data(), CP_ACP)});
    return true;
}

bool TUnicodeFilenameClipboardFormat::TakeFromDataFormat(TCustomDataFormat& dataFormat) {
    auto* file = dynamic_cast<TFileDataFormat*>(&dataFormat);
    if (!file) return TCustomUnicodeTextClipboardFormat::TakeFromDataFormat(dataFormat);
    if (file->Files().Count() == 0) return false;
    SetText(file->Files().Get(0));
    return true;
}

bool TUnicodeFilenameClipboardFormat::GiveToDataFormat(TCustomDataFormat& dataFormat) {
    auto* file = dynamic_cast<TFileDataFormat*>(&dataFormat);
    if (!file) return TCustomUnicodeTextClipboardFormat::GiveToDataFormat(dataFormat);
    file->Files().Assign(TUnicodeStringList{Text()});
    return true;
}

bool TAnsiFilenameMapClipboardFormat::ReadData(const BYTE* buffer, size_t size) {
    TUnicodeStringsAdapter names(fileMaps_);
    return ReadFilenameList(buffer, size, false, names);
}

bool TAnsiFilenameMapClipboardFormat::WriteData(BYTE* buffer, size_t size) const {
    TUnicodeStringList names;
    names.Assign(fileMaps_);
    return IsWritableNameMap(names) && WriteFilenameList(buffer, size, false, names);
}

bool TAnsiFilenameMapClipboardFormat::HasData() const {
    TUnicodeStringList names;
    names.Assign(fileMaps_);
    return IsWritableNameMap(names);
}

size_t TAnsiFilenameMapClipboardFormat::DataSize() const {
    TUnicodeStringList names;
    names.Assign(fileMaps_);
    return FilenameListSize(names, false);
}

// --- The data formats

namespace {

void RegisterFileFormats() {
    RegisterClipboardFormatClass(TFileDataFormat::Class, TFileClipboardFormat::Class, 0, ddReadWrite);
    RegisterClipboardFormatClass(TFileDataFormat::Class, TPIDLClipboardFormat::Class, 1, ddReadWrite);
}

void RegisterFileMapFormats() {
    RegisterClipboardFormatClass(TFileMapDataFormat::Class, TUnicodeFilenameMapClipboardFormat::Class, -1,
                                 ddReadWrite);
    RegisterClipboardFormatClass(TFileMapDataFormat::Class, TAnsiFilenameMapClipboardFormat::Class, 0, ddReadWrite);
}

} // namespace

const TDataFormatClass TFileDataFormat::Class{L"TFileDataFormat", nullptr, &RegisterFileFormats};
const TDataFormatClass TFileMapDataFormat::Class{L"TFileMapDataFormat", nullptr, &RegisterFileMapFormats};

TFileDataFormat::TFileDataFormat(TDragDropComponent* owner) : TCustomDataFormat(Class, owner) {
    files_.OnChanging = [this](TUnicodeStrings&) { Changing(); };
    files_.OnChange = [this](TUnicodeStrings&) { pidls_.reset(); };
}

TFileDataFormat::~TFileDataFormat() = default;

const TPIDLList& TFileDataFormat::Pidls() {
    if (!pidls_) {
        auto pidls = std::make_unique<TPIDLList>();
        FilenamesToPIDLs(files_, *pidls);  // names the shell cannot parse are left out
        pidls_ = std::move(pidls);
    }
    return *pidls_;
}

bool TFileDataFormat::TakeFromClipboardFormat(TClipboardFormat& format) {
    if (auto* drop = dynamic_cast<TFileClipboardFormat*>(&format)) {
        files_.Assign(drop->Files());
    } else if (auto* pidl = dynamic_cast<TPIDLClipboardFormat*>(&format)) {
        files_.Assign(pidl->Filenames());
        return files_.Count() > 0;  // children the shell did not name, or not in time, are no files
    } else {
        return TCustomDataFormat::TakeFromClipboardFormat(format);
    }
    return true;
}

bool TFileDataFormat::GiveToClipboardFormat(TClipboardFormat& format) {
    if (auto* drop = dynamic_cast<TFileClipboardFormat*>(&format)) {
        drop->Files().Assign(files_);
    } else if (auto* pidl = dynamic_cast<TPIDLClipboardFormat*>(&format)) {
        pidl->Pidls().Assign(Pidls());
    } else {
        return TCustomDataFormat::GiveToClipboardFormat(format);
    }
    return true;
}

TFileMapDataFormat::TFileMapDataFormat(TDragDropComponent* owner) : TCustomDataFormat(Class, owner) {
    nameMappings_.OnChanging = [this](TUnicodeStrings&) { Changing(); };
}

bool TFileMapDataFormat::TakeFromClipboardFormat(TClipboardFormat& format) {
    if (auto* wide = dynamic_cast<TUnicodeFilenameMapClipboardFormat*>(&format)) {
        nameMappings_.Assign(wide->FileMaps());
    } else if (auto* ansi = dynamic_cast<TAnsiFilenameMapClipboardFormat*>(&format)) {
        nameMappings_.Assign(ansi->FileMaps());
    } else {
        return TCustomDataFormat::TakeFromClipboardFormat(format);
    }
    return true;
}

bool TFileMapDataFormat::GiveToClipboardFormat(TClipboardFormat& format) {
    if (auto* wide = dynamic_cast<TUnicodeFilenameMapClipboardFormat*>(&format)) {
        wide->FileMaps().Assign(nameMappings_);
    } else if (auto* ansi = dynamic_cast<TAnsiFilenameMapClipboardFormat*>(&format)) {
        nameMappings_.AssignTo(ansi->FileMaps());
    } else {
        return TCustomDataFormat::GiveToClipboardFormat(format);
    }
    return true;
}

void RegisterDragDropFileClasses() {
    RegisterDataFormatClass(TFileDataFormat::Class);
    RegisterDataFormatClass(TFileMapDataFormat::Class);
    // The single-name formats put themselves in the map, after the list formats.
    RegisterClipboardFormatClass(TFileDataFormat::Class, TAnsiFilenameClipboardFormat::Class, 3, ddReadWrite);
    RegisterClipboardFormatClass(TFileDataFormat::Class, TUnicodeFilenameClipboardFormat::Class, 2, ddReadWrite);
}

} // namespace dragdrop
