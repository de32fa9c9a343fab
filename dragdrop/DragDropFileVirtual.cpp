#include "dragdrop/DragDropFileVirtual.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "kit/Exception.h"
#include "kit/Strings.h"

namespace dragdrop {
namespace {

constexpr size_t kNameOffset = TFileGroupDescriptorCustomClipboardFormat::kNameOffset;
constexpr size_t kNameLength = TFileGroupDescriptorCustomClipboardFormat::kNameLength;
constexpr size_t kWideRecord = TUnicodeFileGroupDescriptorClipboardFormat::kRecordSize;
constexpr size_t kAnsiRecord = TAnsiFileGroupDescriptorClipboardFormat::kRecordSize;

[[noreturn]] void ThrowBadIndex(int index) {
    throw kit::Exception(kit::Format(L"Filename index out of bounds (%d)", index));
}

// The ANSI bytes of a name that fit `capacity` bytes without splitting a double-byte character.
std::string FittingAnsiName(const std::wstring& name, size_t capacity) {
    std::string bytes = WideToCodePage(name);
    if (bytes.size() <= capacity) return bytes;
    size_t cut = 0;
    while (cut < bytes.size()) {
        const size_t next = cut + (IsDBCSLeadByte(static_cast<BYTE>(bytes[cut])) ? 2 : 1);
        if (next > capacity) break;
        cut = next;
    }
    bytes.resize(cut);
    return bytes;
}

// A memory stream with exactly the stream's Stat size in bytes, from its start, positioned at its start. None
// when the stream claims more than `limit` bytes, or holds fewer bytes than it claims.
kit::ComPtr<IStream> CopyWholeStream(IStream* source, unsigned long long limit = kMaxMediumSize) {
    STATSTG stat{};
    if (!source || FAILED(source->Stat(&stat, STATFLAG_NONAME)) ||
        stat.cbSize.QuadPart > std::min(limit, kMaxMediumSize))
        return nullptr;
    std::vector<BYTE> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
    STGMEDIUM view{};
    view.tymed = TYMED_ISTREAM;
    view.pstm = source;
    if (!bytes.empty() && !TCustomSimpleClipboardFormat::CopyMediumIntoBuffer(view, bytes.data(), bytes.size()))
        return nullptr;
    kit::ComPtr<IStream> copy;
    ULONG written = 0;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, copy.put())) ||
        FAILED(copy->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) || written != bytes.size() ||
        FAILED(copy->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr)))
        return nullptr;
    return copy;
}

// The object's descriptor, the preferred kind first; null when it offers none.
std::unique_ptr<TFileGroupDescriptorCustomClipboardFormat> ReadDescriptor(IDataObject* dataObject, bool wideFirst) {
    std::unique_ptr<TFileGroupDescriptorCustomClipboardFormat> kinds[2] = {
        std::make_unique<TUnicodeFileGroupDescriptorClipboardFormat>(),
        std::make_unique<TAnsiFileGroupDescriptorClipboardFormat>()};
    if (!wideFirst) std::swap(kinds[0], kinds[1]);
    for (auto& descriptor : kinds)
        if (descriptor->GetData(dataObject)) return std::move(descriptor);
    return nullptr;
}

// "FileContents" item by item: the descriptor's items by index, or one unnamed item (index -1) without a
// descriptor. `keep` takes an item's medium and answers whether it was whole; the first failure ends the
// reading, the items read so far stay. True when an item was kept.
bool ReadFileContents(IDataObject* dataObject, const FORMATETC& own, bool wideFirst,
                      const std::function<bool(const std::wstring& name, const STGMEDIUM& medium)>& keep) {
    const auto descriptor = ReadDescriptor(dataObject, wideFirst);
    const int count = descriptor ? descriptor->Count() : 1;
    bool kept = false;
    for (int i = 0; i < count; ++i) {
        FORMATETC request = own;
        request.lindex = descriptor ? i : -1;
        TStgMediumOwner medium;
        if (dataObject->GetData(&request, medium.put()) != S_OK) {
            medium.release();  // a failed call hands nothing over
            break;
        }
        if (!keep(descriptor ? descriptor->GetFilename(i) : std::wstring(), medium.get())) break;
        kept = true;
    }
    return kept;
}

} // namespace

// --- The descriptors

int TFileGroupDescriptorCustomClipboardFormat::Count() const {
    if (block_.size() < sizeof(DWORD)) return 0;
    DWORD count;
    std::memcpy(&count, block_.data(), sizeof(count));
    return static_cast<int>(count);  // the block holds them all: never more than the size allows
}

void TFileGroupDescriptorCustomClipboardFormat::MakeBlock(int count) {
    block_.assign(static_cast<size_t>(BlockSize(static_cast<unsigned long long>(std::max(count, 0)))), 0);
    const DWORD items = static_cast<DWORD>(std::max(count, 0));
    std::memcpy(block_.data(), &items, sizeof(items));
}

BYTE* TFileGroupDescriptorCustomClipboardFormat::Record(int index) {
    return const_cast<BYTE*>(std::as_const(*this).Record(index));
}

const BYTE* TFileGroupDescriptorCustomClipboardFormat::Record(int index) const {
    if (index < 0 || index >= Count()) ThrowBadIndex(index);
    return block_.data() + sizeof(DWORD) + static_cast<size_t>(index) * RecordSize();
}

bool TFileGroupDescriptorCustomClipboardFormat::ReadData(const BYTE* buffer, size_t size) {
    block_.clear();
    if (size < sizeof(DWORD)) return false;
    DWORD count;
    std::memcpy(&count, buffer, sizeof(count));
    // In 64 bits: a count near 2^32 times 592 wraps around in 32 and would pass for a short block.
    const unsigned long long needed = BlockSize(count);
    if (needed > size) return false;
    block_.assign(buffer, buffer + needed);
    return true;
}

bool TFileGroupDescriptorCustomClipboardFormat::WriteData(BYTE* buffer, size_t size) const {
    if (block_.empty() || size < block_.size()) return false;
    std::memcpy(buffer, block_.data(), block_.size());
    return true;
}

size_t TFileGroupDescriptorCustomClipboardFormat::DataSize() const { return block_.size(); }

std::wstring TAnsiFileGroupDescriptorClipboardFormat::GetFilename(int index) const {
    const char* name = reinterpret_cast<const char*>(Record(index) + kNameOffset);
    return kit::CodePageToWide(std::string(name, strnlen(name, kNameLength)), CP_ACP);
}

void TAnsiFileGroupDescriptorClipboardFormat::SetFilename(int index, const std::wstring& name) {
    BYTE* field = Record(index) + kNameOffset;
    const std::string bytes = FittingAnsiName(name, kNameLength - 1);
    std::memset(field, 0, kNameLength);
    std::memcpy(field, bytes.data(), bytes.size());
}

std::wstring UnicodeRecordName(const BYTE* record) {
    wchar_t name[kNameLength];
    std::memcpy(name, record + kNameOffset, sizeof(name));  // the record need not be aligned
    return std::wstring(name, wcsnlen(name, kNameLength));
}

void SetUnicodeRecordName(BYTE* record, const std::wstring& name) {
    size_t length = std::min(name.size(), kNameLength - 1);
    if (length > 0 && IS_HIGH_SURROGATE(name[length - 1])) --length;  // half a character is none
    std::memset(record + kNameOffset, 0, kNameLength * sizeof(wchar_t));
    std::memcpy(record + kNameOffset, name.data(), length * sizeof(wchar_t));
}

std::wstring TUnicodeFileGroupDescriptorClipboardFormat::GetFilename(int index) const {
    return UnicodeRecordName(Record(index));
}

void TUnicodeFileGroupDescriptorClipboardFormat::SetFilename(int index, const std::wstring& name) {
    SetUnicodeRecordName(Record(index), name);
}

const TClipboardFormatClass TAnsiFileGroupDescriptorClipboardFormat::Class{
    L"TAnsiFileGroupDescriptorClipboardFormat", L"FileGroupDescriptor", 0,
    &CreateClipboardFormat<TAnsiFileGroupDescriptorClipboardFormat>};
const TClipboardFormatClass TUnicodeFileGroupDescriptorClipboardFormat::Class{
    L"TUnicodeFileGroupDescriptorClipboardFormat", L"FileGroupDescriptorW", 0,
    &CreateClipboardFormat<TUnicodeFileGroupDescriptorClipboardFormat>};

// --- The contents

const TClipboardFormatClass TFileContentsClipboardFormat::Class{L"TFileContentsClipboardFormat", L"FileContents", 0,
                                                                &CreateClipboardFormat<TFileContentsClipboardFormat>};
const TClipboardFormatClass TFileContentsStreamClipboardFormat::Class{
    L"TFileContentsStreamClipboardFormat", L"FileContents", 0,
    &CreateClipboardFormat<TFileContentsStreamClipboardFormat>};
const TClipboardFormatClass TFileContentsStorageClipboardFormat::Class{
    L"TFileContentsStorageClipboardFormat", L"FileContents", 0,
    &CreateClipboardFormat<TFileContentsStorageClipboardFormat>};
const TClipboardFormatClass TFileContentsStreamOnDemandClipboardFormat::Class{
    L"TFileContentsStreamOnDemandClipboardFormat", L"FileContents", 0,
    &CreateClipboardFormat<TFileContentsStreamOnDemandClipboardFormat>};

TFileContentsClipboardFormat::TFileContentsClipboardFormat() : TCustomAnsiStringClipboardFormat(Class) {
    SetFormatIndex(0);
}

bool TFileContentsStreamClipboardFormat::GetData(IDataObject* dataObject) {
    Clear();
    // Each item is copied into memory: the items together may hold no more than the limit, however many the
    // descriptor lists. The item that would pass it ends the reading as an item that is not whole does.
    unsigned long long left = kMaxFileContentsTotal;
    return ReadFileContents(dataObject, FormatEtc(), true, [&](const std::wstring& name, const STGMEDIUM& medium) {
        kit::ComPtr<IStream> copy;
        if (medium.tymed == TYMED_ISTREAM) {
            copy = CopyWholeStream(medium.pstm, left);
        } else if (medium.tymed == TYMED_ISTORAGE) {
            ReadStorageAsStream(medium.pstg, [&](const STGMEDIUM& view, unsigned long long) {
                copy = CopyWholeStream(view.pstm, left);
                return static_cast<bool>(copy);
            });
        }
        STATSTG stat{};
        if (!copy || FAILED(copy->Stat(&stat, STATFLAG_NONAME))) return false;
        left -= stat.cbSize.QuadPart;
        streams_.Add(name, copy.get());
        return true;
    });
}

bool TFileContentsStreamClipboardFormat::GiveToDataFormat(TCustomDataFormat& dataFormat) {
    auto* streams = dynamic_cast<TDataStreamDataFormat*>(&dataFormat);
    if (!streams) return TClipboardFormat::GiveToDataFormat(dataFormat);
    streams->Streams().Assign(streams_);
    return true;
}

bool TFileContentsStorageClipboardFormat::GetData(IDataObject* dataObject) {
    Clear();
    return ReadFileContents(dataObject, FormatEtc(), false, [this](const std::wstring& name, const STGMEDIUM& medium) {
        if (medium.tymed != TYMED_ISTORAGE || !medium.pstg) return false;
        storages_.Add(name, medium.pstg);  // a reference of the list's own: the medium is released
        return true;
    });
}

bool TFileContentsStorageClipboardFormat::EncodeMedium(const FORMATETC& formatEtc, STGMEDIUM& medium) {
    const LONG index = formatEtc.lindex == -1 ? 0 : formatEtc.lindex;
    if (!(formatEtc.tymed & TYMED_ISTORAGE) || index < 0 || index >= storages_.Count()) return false;
    medium.tymed = TYMED_ISTORAGE;
    medium.pstg = storages_.Items(index).detach();
    return true;
}

bool TFileContentsStreamOnDemandClipboardFormat::GetData(IDataObject* dataObject) {
    Clear();
    dataReceived_ = OfferedBy(dataObject);
    return dataReceived_;
}

bool TFileContentsStreamOnDemandClipboardFormat::TakeFromDataFormat(TCustomDataFormat& dataFormat) {
    if (!dynamic_cast<TVirtualFileStreamDataFormat*>(&dataFormat)) return TClipboardFormat::TakeFromDataFormat(dataFormat);
    dataRequested_ = true;
    return true;
}

bool TFileContentsStreamOnDemandClipboardFormat::GiveToDataFormat(TCustomDataFormat& dataFormat) {
    return dynamic_cast<TVirtualFileStreamDataFormat*>(&dataFormat) != nullptr ||
           TClipboardFormat::GiveToDataFormat(dataFormat);
}

bool TFileContentsStreamOnDemandClipboardFormat::EncodeMedium(const FORMATETC& formatEtc, STGMEDIUM& medium) {
    const LONG index = formatEtc.lindex == -1 ? 0 : formatEtc.lindex;
    if (!OnGetStream || !(formatEtc.tymed & (TYMED_HGLOBAL | TYMED_ISTREAM)) || index < 0) return false;
    kit::ComPtr<IStream> stream;
    OnGetStream(*this, static_cast<int>(index), stream);
    if (!stream) return false;
    if (formatEtc.tymed & TYMED_ISTREAM) {
        medium.tymed = TYMED_ISTREAM;
        medium.pstm = stream.detach();
        return true;
    }
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > kMaxMediumSize) return false;
    const size_t size = static_cast<size_t>(stat.cbSize.QuadPart);
    TGlobalOwner memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::max<size_t>(size, 1)));
    if (!memory) return false;
    if (size > 0) {
        const TGlobalLock lock(memory.get());
        STGMEDIUM view{};
        view.tymed = TYMED_ISTREAM;
        view.pstm = stream.get();
        if (!lock.data() || !TCustomSimpleClipboardFormat::CopyMediumIntoBuffer(view, lock.data(), size)) return false;
    }
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = memory.release();
    return true;
}

// --- The names of the descriptors

std::wstring TFileDescriptorToFilenameStrings::Get(int index) const {
    CheckIndex(index, Count());
    return UnicodeRecordName(descriptors_[index].data());
}

void TFileDescriptorToFilenameStrings::Put(int index, const std::wstring& text) {
    CheckIndex(index, Count());
    Change([&] { SetUnicodeRecordName(descriptors_[index].data(), text); });
}

void TFileDescriptorToFilenameStrings::Insert(int index, const std::wstring& text) {
    if (index != Count()) return;
    Change([&] {
        std::vector<BYTE> record(kWideRecord, 0);
        SetUnicodeRecordName(record.data(), text);
        descriptors_.Add(std::move(record));
    });
}

void TFileDescriptorToFilenameStrings::Delete(int index) {
    CheckIndex(index, Count());
    Change([&] { descriptors_.Delete(index); });
}

void TFileDescriptorToFilenameStrings::Clear() {
    Change([&] { descriptors_.Clear(); });
}

// --- TVirtualFileStreamDataFormat

namespace {

void RegisterVirtualFileFormats() {
    const TDataFormatClass& files = TVirtualFileStreamDataFormat::Class;
    RegisterClipboardFormatClass(files, TFileContentsStreamOnDemandClipboardFormat::Class, 0, ddReadWrite);
    RegisterClipboardFormatClass(files, TUnicodeFileGroupDescriptorClipboardFormat::Class, 0, ddReadWrite);
    RegisterClipboardFormatClass(files, TAnsiFileGroupDescriptorClipboardFormat::Class, 1, ddReadWrite);
}

} // namespace

const TDataFormatClass TVirtualFileStreamDataFormat::Class{L"TVirtualFileStreamDataFormat", nullptr,
                                                           &RegisterVirtualFileFormats};

TVirtualFileStreamDataFormat::TVirtualFileStreamDataFormat(TDragDropComponent* owner)
    : TCustomDataFormat(Class, owner), fileNames_(descriptors_) {
    fileNames_.OnChanging = [this](TUnicodeStrings&) { Changing(); };
}

TFileContentsStreamOnDemandClipboardFormat& TVirtualFileStreamDataFormat::FileContentsClipboardFormat() const {
    return CompatibleFormats().Get<TFileContentsStreamOnDemandClipboardFormat>();
}

TAnsiFileGroupDescriptorClipboardFormat& TVirtualFileStreamDataFormat::AnsiFileGroupDescriptorClipboardFormat() const {
    return CompatibleFormats().Get<TAnsiFileGroupDescriptorClipboardFormat>();
}

TUnicodeFileGroupDescriptorClipboardFormat&
TVirtualFileStreamDataFormat::UnicodeFileGroupDescriptorClipboardFormat() const {
    return CompatibleFormats().Get<TUnicodeFileGroupDescriptorClipboardFormat>();
}

bool TVirtualFileStreamDataFormat::TakeFromClipboardFormat(TClipboardFormat& format) {
    if (auto* contents = dynamic_cast<TFileContentsStreamOnDemandClipboardFormat*>(&format)) {
        hasContents_ = contents->HasData();
    } else if (auto* wide = dynamic_cast<TUnicodeFileGroupDescriptorClipboardFormat*>(&format)) {
        fileNames_.BeginUpdate();
        descriptors_.Clear();
        for (int i = 0; i < wide->Count(); ++i) {
            const BYTE* record = wide->Record(i);
            descriptors_.Add(std::vector<BYTE>(record, record + kWideRecord));
        }
        fileNames_.EndUpdate();
    } else if (auto* ansi = dynamic_cast<TAnsiFileGroupDescriptorClipboardFormat*>(&format)) {
        // Widened: the fields before the name are the same in both layouts.
        fileNames_.BeginUpdate();
        descriptors_.Clear();
        for (int i = 0; i < ansi->Count(); ++i) {
            std::vector<BYTE> record(kWideRecord, 0);
            std::memcpy(record.data(), ansi->Record(i), kNameOffset);
            SetUnicodeRecordName(record.data(), ansi->GetFilename(i));
            descriptors_.Add(std::move(record));
        }
        fileNames_.EndUpdate();
    } else {
        return TCustomDataFormat::TakeFromClipboardFormat(format);
    }
    return true;
}

bool TVirtualFileStreamDataFormat::GiveToClipboardFormat(TClipboardFormat& format) {
    if (auto* contents = dynamic_cast<TFileContentsStreamOnDemandClipboardFormat*>(&format))
        return contents->TakeFromDataFormat(*this);
    auto* descriptor = dynamic_cast<TFileGroupDescriptorCustomClipboardFormat*>(&format);
    if (!descriptor) return TCustomDataFormat::GiveToClipboardFormat(format);
    if (descriptors_.Count() == 0) return false;
    descriptor->MakeBlock(descriptors_.Count());
    for (int i = 0; i < descriptors_.Count(); ++i) {
        std::memcpy(descriptor->Record(i), descriptors_[i].data(), kNameOffset);
        descriptor->SetFilename(i, UnicodeRecordName(descriptors_[i].data()));
    }
    return true;
}

void TVirtualFileStreamDataFormat::Clear() {
    fileNames_.Clear();  // tells the data format first
    hasContents_ = false;
}

bool TVirtualFileStreamDataFormat::HasData() const {
    return descriptors_.Count() > 0 && (hasContents_ || FileContentsClipboardFormat().OnGetStream != nullptr);
}

bool TVirtualFileStreamDataFormat::NeedsData() const { return descriptors_.Count() == 0 || !hasContents_; }

void RegisterDragDropFileVirtualClasses() {
    RegisterDataFormatClass(TVirtualFileStreamDataFormat::Class);
    // The stream contents format puts itself in the map, for reading named streams.
    RegisterClipboardFormatClass(TDataStreamDataFormat::Class, TFileContentsStreamClipboardFormat::Class);
}

} // namespace dragdrop
