#include "dragdrop/DragDropFormats.h"

#include <algorithm>
#include <cstring>

namespace dragdrop {
namespace {

constexpr size_t kTransferBlock = 1024 * 1024;

// Exactly `size` bytes from the stream's start; false when it holds fewer or a read fails.
bool ReadStreamFromStart(IStream* stream, BYTE* buffer, size_t size) {
    if (!stream || FAILED(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr))) return false;
    size_t done = 0;
    while (done < size) {
        ULONG read = 0;
        const ULONG piece = static_cast<ULONG>(std::min(size - done, kTransferBlock));
        if (FAILED(stream->Read(buffer + done, piece, &read)) || read == 0) return false;
        done += read;
    }
    return true;
}

} // namespace

bool ReadStorageAsStream(IStorage* storage, const std::function<bool(const STGMEDIUM&, unsigned long long)>& read) {
    kit::ComPtr<ILockBytes> bytes;
    kit::ComPtr<IStorage> copy;
    if (!storage || FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put())) ||
        FAILED(StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                            copy.put())) ||
        FAILED(storage->CopyTo(0, nullptr, nullptr, copy.get())) || FAILED(copy->Commit(STGC_DEFAULT)))
        return false;
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    kit::ComPtr<IStream> stream;  // over the lock bytes' memory, which they free
    if (FAILED(bytes->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromILockBytes(bytes.get(), &memory)) ||
        FAILED(CreateStreamOnHGlobal(memory, FALSE, stream.put())))
        return false;
    STGMEDIUM view{};
    view.tymed = TYMED_ISTREAM;
    view.pstm = stream.get();
    return read(view, stat.cbSize.QuadPart);
}

// --- TCustomSimpleClipboardFormat

bool TCustomSimpleClipboardFormat::CopyMediumIntoBuffer(const STGMEDIUM& medium, BYTE* buffer, size_t size) {
    if (!buffer || size < 1) return false;
    if (medium.tymed == TYMED_HGLOBAL) {
        const TGlobalLock lock(medium.hGlobal);
        if (!lock.data() || lock.size() < size) return false;
        std::memcpy(buffer, lock.data(), size);
        return true;
    }
    if (medium.tymed == TYMED_ISTREAM) return ReadStreamFromStart(medium.pstm, buffer, size);
    return false;
}

bool TCustomSimpleClipboardFormat::ReadMediumIntoMemory(const STGMEDIUM& medium, unsigned long long size) {
    if (size < 1 || size > kMaxMediumSize) return false;
    if (medium.tymed == TYMED_HGLOBAL) {
        const TGlobalLock lock(medium.hGlobal);
        return lock.data() && lock.size() >= size && ReadData(lock.data(), static_cast<size_t>(size));
    }
    if (medium.tymed == TYMED_ISTREAM) {
        std::vector<BYTE> buffer(static_cast<size_t>(size));
        return ReadStreamFromStart(medium.pstm, buffer.data(), buffer.size()) &&
               ReadData(buffer.data(), buffer.size());
    }
    return false;
}

bool TCustomSimpleClipboardFormat::DecodeMedium(IDataObject*, const STGMEDIUM& medium) {
    switch (medium.tymed) {
    case TYMED_HGLOBAL:
        return ReadMediumIntoMemory(medium, GlobalSize(medium.hGlobal));
    case TYMED_ISTREAM: {
        STATSTG stat{};
        return medium.pstm && SUCCEEDED(medium.pstm->Stat(&stat, STATFLAG_NONAME)) &&
               ReadMediumIntoMemory(medium, stat.cbSize.QuadPart);
    }
    case TYMED_ISTORAGE:
        return ReadStorageAsStream(medium.pstg, [this](const STGMEDIUM& view, unsigned long long size) {
            return ReadMediumIntoMemory(view, size);
        });
    default:
        return false;
    }
}

bool TCustomSimpleClipboardFormat::EncodeMedium(const FORMATETC& formatEtc, STGMEDIUM& medium) {
    const size_t size = DataSize();
    if (size == 0 || size > kMaxMediumSize) return false;
    const DWORD shared = formatEtc.tymed & FormatEtc().tymed;
    // These formats are memory blocks: a target that allows both and then reads hGlobal (as DragQueryFile
    // does) must get one. A stream only for a caller that takes nothing else.
    const bool asStream = !(shared & TYMED_HGLOBAL) && (shared & TYMED_ISTREAM);
    if (!asStream && !(shared & TYMED_HGLOBAL)) return false;

    TGlobalOwner memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!memory) return false;
    {
        const TGlobalLock lock(memory.get());
        if (!lock.data() || !WriteData(lock.data(), size)) return false;
    }
    if (!asStream) {
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = memory.release();
        return true;
    }
    kit::ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, stream.put()))) return false;
    memory.release();  // the stream frees it
    ULARGE_INTEGER exact;
    exact.QuadPart = size;  // the block may be larger than asked for
    if (FAILED(stream->SetSize(exact))) return false;
    medium.tymed = TYMED_ISTREAM;
    medium.pstm = TFixedStreamAdapter::Create(std::move(stream)).detach();
    return true;
}

// --- The three kinds

bool TCustomAnsiStringClipboardFormat::ReadData(const BYTE* buffer, size_t size) {
    data_.assign(reinterpret_cast<const char*>(buffer), size);
    if (cutAtNull_) data_.resize(std::strlen(data_.c_str()));
    return true;
}

bool TCustomAnsiStringClipboardFormat::WriteData(BYTE* buffer, size_t size) const {
    if (size > data_.size() + 1) return false;
    std::memcpy(buffer, data_.c_str(), size);
    return true;
}

std::string TCustomStringListClipboardFormat::Text() const {
    std::string text;
    for (const std::string& line : lines_) text += line + "\r\n";
    return text;
}

bool TCustomStringListClipboardFormat::ReadData(const BYTE* buffer, size_t size) {
    std::string text(reinterpret_cast<const char*>(buffer), size);
    text.back() = '\0';
    text.resize(std::strlen(text.c_str()));
    lines_.clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines_.push_back(text.substr(start, end - start));
        start = end;
        if (start < text.size() && text[start] == '\r') ++start;
        if (start < text.size() && text[start] == '\n') ++start;
    }
    return true;
}

bool TCustomStringListClipboardFormat::WriteData(BYTE* buffer, size_t size) const {
    const std::string text = Text();
    if (text.size() + 1 != size) return false;
    std::memcpy(buffer, text.c_str(), size);
    return true;
}

bool TCustomDWORDClipboardFormat::ReadData(const BYTE* buffer, size_t size) {
    if (size < sizeof(value_)) return false;
    std::memcpy(&value_, buffer, sizeof(value_));
    return true;
}

bool TCustomDWORDClipboardFormat::WriteData(BYTE* buffer, size_t size) const {
    if (size != sizeof(value_)) return false;
    std::memcpy(buffer, &value_, sizeof(value_));
    return true;
}

bool TTargetCLSIDClipboardFormat::ReadData(const BYTE* buffer, size_t size) {
    if (size < sizeof(clsid_)) return false;
    std::memcpy(&clsid_, buffer, sizeof(clsid_));
    return true;
}

bool TTargetCLSIDClipboardFormat::WriteData(BYTE* buffer, size_t size) const {
    if (size != sizeof(clsid_)) return false;
    std::memcpy(buffer, &clsid_, sizeof(clsid_));
    return true;
}

// --- The feedback formats

const TClipboardFormatClass TPreferredDropEffectClipboardFormat::Class{
    L"TPreferredDropEffectClipboardFormat", L"Preferred DropEffect", 0,
    &CreateClipboardFormat<TPreferredDropEffectClipboardFormat>, ddRead};
const TClipboardFormatClass TPerformedDropEffectClipboardFormat::Class{
    L"TPerformedDropEffectClipboardFormat", L"Performed DropEffect", 0,
    &CreateClipboardFormat<TPerformedDropEffectClipboardFormat>, ddWrite};
const TClipboardFormatClass TLogicalPerformedDropEffectClipboardFormat::Class{
    L"TLogicalPerformedDropEffectClipboardFormat", L"Logical Performed DropEffect", 0,
    &CreateClipboardFormat<TLogicalPerformedDropEffectClipboardFormat>, ddWrite};
const TClipboardFormatClass TPasteSucceededClipboardFormat::Class{
    L"TPasteSucceededClipboardFormat", L"Paste Succeeded", 0, &CreateClipboardFormat<TPasteSucceededClipboardFormat>,
    ddWrite};
const TClipboardFormatClass TInShellDragLoopClipboardFormat::Class{
    L"TInShellDragLoopClipboardFormat", L"InShellDragLoop", 0, &CreateClipboardFormat<TInShellDragLoopClipboardFormat>,
    ddRead};
const TClipboardFormatClass TTargetCLSIDClipboardFormat::Class{
    L"TTargetCLSIDClipboardFormat", L"TargetCLSID", 0, &CreateClipboardFormat<TTargetCLSIDClipboardFormat>, ddWrite};

namespace {

void RegisterFeedbackFormats() {
    const TDataFormatClass& feedback = TFeedbackDataFormat::Class;
    for (const TClipboardFormatClass* format :
         {&TPreferredDropEffectClipboardFormat::Class, &TPerformedDropEffectClipboardFormat::Class,
          &TPasteSucceededClipboardFormat::Class, &TInShellDragLoopClipboardFormat::Class,
          &TTargetCLSIDClipboardFormat::Class, &TLogicalPerformedDropEffectClipboardFormat::Class})
        RegisterClipboardFormatClass(feedback, *format, 0, ddReadWrite);
}

} // namespace

const TDataFormatClass TFeedbackDataFormat::Class{L"TFeedbackDataFormat", nullptr, &RegisterFeedbackFormats};

void TFeedbackDataFormat::SetPreferredDropEffect(DWORD effect) {
    Changing();
    preferredDropEffect_ = effect;
}

void TFeedbackDataFormat::SetPerformedDropEffect(DWORD effect) {
    Changing();
    performedDropEffect_ = effect;
}

void TFeedbackDataFormat::SetInShellDragLoop(bool value) {
    Changing();
    inShellDragLoop_ = value;
}

DWORD* TFeedbackDataFormat::EffectField(const TClipboardFormat& format) {
    if (dynamic_cast<const TPreferredDropEffectClipboardFormat*>(&format)) return &preferredDropEffect_;
    if (dynamic_cast<const TPerformedDropEffectClipboardFormat*>(&format)) return &performedDropEffect_;
    if (dynamic_cast<const TLogicalPerformedDropEffectClipboardFormat*>(&format)) return &logicalPerformedDropEffect_;
    if (dynamic_cast<const TPasteSucceededClipboardFormat*>(&format)) return &pasteSucceeded_;
    return nullptr;
}

bool TFeedbackDataFormat::TakeFromClipboardFormat(TClipboardFormat& format) {
    if (DWORD* field = EffectField(format)) {
        *field = static_cast<TCustomDWORDClipboardFormat&>(format).Value();
    } else if (auto* loop = dynamic_cast<TInShellDragLoopClipboardFormat*>(&format)) {
        inShellDragLoop_ = loop->ValueAsBoolean();
        inShellDragLoopReceived_ = true;
    } else if (auto* target = dynamic_cast<TTargetCLSIDClipboardFormat*>(&format)) {
        targetCLSID_ = target->Value();
    } else {
        return TCustomDataFormat::TakeFromClipboardFormat(format);
    }
    return true;
}

bool TFeedbackDataFormat::GiveToClipboardFormat(TClipboardFormat& format) {
    if (DWORD* field = EffectField(format)) {
        static_cast<TCustomDWORDClipboardFormat&>(format).SetValue(*field);
    } else if (auto* loop = dynamic_cast<TInShellDragLoopClipboardFormat*>(&format)) {
        loop->SetValueAsBoolean(inShellDragLoop_);
    } else if (auto* target = dynamic_cast<TTargetCLSIDClipboardFormat*>(&format)) {
        target->SetValue(targetCLSID_);
    } else {
        return TCustomDataFormat::GiveToClipboardFormat(format);
    }
    return true;
}

void TFeedbackDataFormat::Clear() {
    Changing();
    preferredDropEffect_ = 0;
    performedDropEffect_ = 0;
    inShellDragLoop_ = false;
    inShellDragLoopReceived_ = false;
}

bool TFeedbackDataFormat::HasData() const {
    return preferredDropEffect_ != 0 || performedDropEffect_ != 0 || pasteSucceeded_ != 0 ||
           inShellDragLoopReceived_;
}

bool TFeedbackDataFormat::NeedsData() const {
    return preferredDropEffect_ == 0 || performedDropEffect_ == 0 || pasteSucceeded_ == 0 ||
           !inShellDragLoopReceived_;
}

// --- Named streams

const TDataFormatClass TDataStreamDataFormat::Class{L"TDataStreamDataFormat", nullptr, nullptr};

TDataStreamDataFormat::TDataStreamDataFormat(TDragDropComponent* owner) : TCustomDataFormat(Class, owner) {
    streams_.OnChanging = [this] { Changing(); };
}

void TDataStreamDataFormat::Clear() {
    streams_.Clear();  // tells the data format first
}

void RegisterDragDropFormatsClasses() {
    RegisterDataFormatClass(TDataStreamDataFormat::Class);
    RegisterDataFormatClass(TFeedbackDataFormat::Class);
}

} // namespace dragdrop
