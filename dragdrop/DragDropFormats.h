#pragma once
// The building blocks of the concrete formats: the simple clipboard format (an in-memory codec over HGLOBAL
// and IStream media) and its three kinds (a byte string, a string list, one 32-bit value), the six shell
// feedback formats a drop source and target exchange about a drop's outcome with the data format that
// gathers them, named streams and interfaces, a list of memory blocks, and the stream adapter the codec hands
// to OLE.
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dragdrop/DragDrop.h"
#include "kit/Handles.h"

namespace dragdrop {

// The bytes of a storage, as a compound file in memory, handed to `read` as a stream medium with its size.
bool ReadStorageAsStream(IStorage* storage, const std::function<bool(const STGMEDIUM&, unsigned long long)>& read);

// A clipboard format whose data are one block of bytes in memory.
class TCustomSimpleClipboardFormat : public TClipboardFormat {
public:
    // Takes `size` bytes of the format's layout; false when they are not well formed.
    virtual bool ReadData(const BYTE* buffer, size_t size) = 0;
    // Writes the data into a zero-filled buffer of exactly `size` bytes; false when they do not fit.
    virtual bool WriteData(BYTE* buffer, size_t size) const = 0;
    // The size of the written layout; 0 gives no medium.
    virtual size_t DataSize() const = 0;

    // The medium's first `size` bytes; false when it holds fewer (never uninitialised bytes).
    static bool CopyMediumIntoBuffer(const STGMEDIUM& medium, BYTE* buffer, size_t size);

protected:
    explicit TCustomSimpleClipboardFormat(const TClipboardFormatClass& type,
                                          DWORD storageKinds = TYMED_HGLOBAL | TYMED_ISTREAM)
        : TClipboardFormat(type, storageKinds) {}

    // HGLOBAL by its size, IStream by its Stat size, IStorage through a copy into memory.
    bool DecodeMedium(IDataObject* dataObject, const STGMEDIUM& medium) override;
    // An HGLOBAL whenever the request allows one; else an IStream that reads from its start even when the reader
    // never seeks.
    bool EncodeMedium(const FORMATETC& formatEtc, STGMEDIUM& medium) override;
    bool ReadMediumIntoMemory(const STGMEDIUM& medium, unsigned long long size);
};

// One byte string, for the ANSI text formats.
class TCustomAnsiStringClipboardFormat : public TCustomSimpleClipboardFormat {
public:
    const std::string& Data() const { return data_; }
    void SetDataBytes(std::string data) { data_ = std::move(data); }

    bool ReadData(const BYTE* buffer, size_t size) override;
    // At most the string and its terminating null.
    bool WriteData(BYTE* buffer, size_t size) const override;
    size_t DataSize() const override { return data_.size(); }
    void Clear() override { data_.clear(); }
    bool HasData() const override { return !data_.empty(); }

protected:
    using TCustomSimpleClipboardFormat::TCustomSimpleClipboardFormat;
    void SetCutAtNull(bool cut) { cutAtNull_ = cut; }

private:
    std::string data_;
    bool cutAtNull_ = false;
};

// A list of lines in the ANSI code page, carried as one text with CR LF after each line and a null.
class TCustomStringListClipboardFormat : public TCustomSimpleClipboardFormat {
public:
    std::vector<std::string>& Lines() { return lines_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    std::string Text() const;

    bool ReadData(const BYTE* buffer, size_t size) override;
    bool WriteData(BYTE* buffer, size_t size) const override;
    size_t DataSize() const override { return Text().size() + 1; }
    void Clear() override { lines_.clear(); }
    bool HasData() const override { return !lines_.empty(); }

protected:
    using TCustomSimpleClipboardFormat::TCustomSimpleClipboardFormat;

private:
    std::vector<std::string> lines_;
};

// One 32-bit value; a medium shorter than 4 bytes is no data.
class TCustomDWORDClipboardFormat : public TCustomSimpleClipboardFormat {
public:
    DWORD Value() const { return value_; }
    void SetValue(DWORD value) { value_ = value; }
    bool ValueAsBoolean() const { return value_ != 0; }
    void SetValueAsBoolean(bool value) { value_ = value ? 1 : 0; }

    bool ReadData(const BYTE* buffer, size_t size) override;
    bool WriteData(BYTE* buffer, size_t size) const override;
    size_t DataSize() const override { return sizeof(DWORD); }
    void Clear() override { value_ = 0; }

protected:
    using TCustomSimpleClipboardFormat::TCustomSimpleClipboardFormat;

private:
    DWORD value_ = 0;
};

// The drop effect the source prefers; it always has data (0 means "none said").
class TPreferredDropEffectClipboardFormat : public TCustomDWORDClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TPreferredDropEffectClipboardFormat() : TCustomDWORDClipboardFormat(Class) {}
};
// The drop effect the target performed.
class TPerformedDropEffectClipboardFormat : public TCustomDWORDClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TPerformedDropEffectClipboardFormat() : TCustomDWORDClipboardFormat(Class) {}
};
// The drop effect the target reports as logically performed (an optimised move reports move here).
class TLogicalPerformedDropEffectClipboardFormat : public TCustomDWORDClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TLogicalPerformedDropEffectClipboardFormat() : TCustomDWORDClipboardFormat(Class) {}
};
// The drop effect of a completed paste.
class TPasteSucceededClipboardFormat : public TCustomDWORDClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TPasteSucceededClipboardFormat() : TCustomDWORDClipboardFormat(Class) {}
};
// Whether the shell's own drag loop runs (0 or 1).
class TInShellDragLoopClipboardFormat : public TCustomDWORDClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TInShellDragLoopClipboardFormat() : TCustomDWORDClipboardFormat(Class) {}
};

// The class identifier of the drop target; a medium shorter than 16 bytes is no data.
class TTargetCLSIDClipboardFormat : public TCustomSimpleClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TTargetCLSIDClipboardFormat() : TCustomSimpleClipboardFormat(Class) {}
    const CLSID& Value() const { return clsid_; }
    void SetValue(const CLSID& clsid) { clsid_ = clsid; }

    bool ReadData(const BYTE* buffer, size_t size) override;
    bool WriteData(BYTE* buffer, size_t size) const override;
    size_t DataSize() const override { return sizeof(CLSID); }
    void Clear() override { clsid_ = GUID_NULL; }
    bool HasData() const override { return clsid_ != GUID_NULL; }

private:
    CLSID clsid_ = GUID_NULL;
};

// The feedback values of one drag, read from and written to the six feedback formats.
class TFeedbackDataFormat : public TCustomDataFormat {
public:
    static const TDataFormatClass Class;
    explicit TFeedbackDataFormat(TDragDropComponent* owner) : TCustomDataFormat(Class, owner) {}

    DWORD PreferredDropEffect() const { return preferredDropEffect_; }
    void SetPreferredDropEffect(DWORD effect);
    DWORD PerformedDropEffect() const { return performedDropEffect_; }
    void SetPerformedDropEffect(DWORD effect);
    DWORD LogicalPerformedDropEffect() const { return logicalPerformedDropEffect_; }
    void SetLogicalPerformedDropEffect(DWORD effect) { logicalPerformedDropEffect_ = effect; }
    DWORD PasteSucceeded() const { return pasteSucceeded_; }
    void SetPasteSucceeded(DWORD effect) { pasteSucceeded_ = effect; }
    bool InShellDragLoop() const { return inShellDragLoop_; }
    void SetInShellDragLoop(bool value);
    const CLSID& TargetCLSID() const { return targetCLSID_; }
    void SetTargetCLSID(const CLSID& clsid) { targetCLSID_ = clsid; }

    bool TakeFromClipboardFormat(TClipboardFormat& format) override;
    bool GiveToClipboardFormat(TClipboardFormat& format) override;
    // Keeps the logical performed effect, the paste outcome and the target's class.
    void Clear() override;
    bool HasData() const override;
    bool NeedsData() const override;

private:
    // The field of one of the four drop-effect formats; null for any other format.
    DWORD* EffectField(const TClipboardFormat& format);
    DWORD preferredDropEffect_ = 0;
    DWORD performedDropEffect_ = 0;
    DWORD logicalPerformedDropEffect_ = 0;
    DWORD pasteSucceeded_ = 0;
    bool inShellDragLoop_ = false;
    bool inShellDragLoopReceived_ = false;
    CLSID targetCLSID_ = GUID_NULL;
};

// Named COM interfaces; each entry holds a reference of its own. The stream list and the storage list are
// this list over IStream and IStorage.
template <typename I>
class TNamedInterfaces {
public:
    std::function<void()> OnChanging;

    int Add(const std::wstring& name, I* item) {
        Changing();
        if (item) item->AddRef();
        items_.emplace_back(name, kit::ComPtr<I>::Attach(item));
        return Count() - 1;
    }
    int Count() const { return static_cast<int>(items_.size()); }
    const std::wstring& Names(int index) const { return items_.at(static_cast<size_t>(index)).first; }
    // The interface with a reference of the caller's own.
    kit::ComPtr<I> Items(int index) const { return items_.at(static_cast<size_t>(index)).second; }
    // The other's pairs, sharing its interfaces.
    void Assign(const TNamedInterfaces& other) {
        if (&other == this) return;
        Clear();
        items_ = other.items_;
    }
    void Clear() {
        Changing();
        items_.clear();
    }

private:
    void Changing() {
        if (OnChanging) OnChanging();
    }
    std::vector<std::pair<std::wstring, kit::ComPtr<I>>> items_;
};
using TNamedInterfaceList = TNamedInterfaces<IUnknown>;
using TStorageInterfaceList = TNamedInterfaces<IStorage>;
using TStreamList = TNamedInterfaces<IStream>;

// Named streams, for the formats that carry file contents.
class TDataStreamDataFormat : public TCustomDataFormat {
public:
    static const TDataFormatClass Class;
    explicit TDataStreamDataFormat(TDragDropComponent* owner);
    TStreamList& Streams() { return streams_; }
    void Clear() override;
    bool HasData() const override { return streams_.Count() > 0; }

private:
    TStreamList streams_;
};

// Owned blocks of memory.
class TMemoryList {
public:
    int Add(std::vector<BYTE> block) {
        items_.push_back(std::move(block));
        return Count() - 1;
    }
    void Delete(int index) {
        items_.at(static_cast<size_t>(index));  // throws for an index outside the list
        items_.erase(items_.begin() + index);
    }
    void Clear() {
        while (!items_.empty()) items_.pop_back();
    }
    int Count() const { return static_cast<int>(items_.size()); }
    std::vector<BYTE>& operator[](int index) { return items_.at(static_cast<size_t>(index)); }

private:
    std::vector<std::vector<BYTE>> items_;
};

// Presents a memory stream to OLE: a reader that never seeks reads from the first byte, Stat names nothing,
// and CopyTo of "everything" from the end copies the whole stream.
class TFixedStreamAdapter : public IStream {
public:
    static kit::ComPtr<IStream> Create(kit::ComPtr<IStream> stream);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* written) override;
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* destination, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) override;
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override;

private:
    explicit TFixedStreamAdapter(kit::ComPtr<IStream> stream) : stream_(std::move(stream)) {}
    virtual ~TFixedStreamAdapter() = default;
    HRESULT CopyToStream(IStream* destination, ULARGE_INTEGER count, ULARGE_INTEGER* read, ULARGE_INTEGER* written);

    std::atomic<ULONG> references_{1};
    kit::ComPtr<IStream> stream_;
    bool seeked_ = false;
};

// Puts this unit's data-format classes and their clipboard formats into the map.
void RegisterDragDropFormatsClasses();

} // namespace dragdrop
