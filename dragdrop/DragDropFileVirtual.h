#pragma once
// Files that exist only as data: the file-group descriptor lists the items (name, attributes, times, size),
// "FileContents" carries each item's bytes, chosen by the FORMATETC's index.
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropFormats.h"

namespace dragdrop {

// FILEGROUPDESCRIPTOR: cItems, then cItems records; a record's name field starts at its byte 72 and holds
// 260 characters with the terminating null. A block shorter than its count says is no data.
class TFileGroupDescriptorCustomClipboardFormat : public TCustomSimpleClipboardFormat {
public:
    static constexpr size_t kNameOffset = 72;
    static constexpr size_t kNameLength = 260;  // characters, the null included

    // The number of records; 0 without a block.
    int Count() const;
    const std::vector<BYTE>& Block() const { return block_; }
    // A block of `count` records, zero-filled but for the count.
    void MakeBlock(int count);
    // A record's bytes; throws "Filename index out of bounds (<index>)" outside the records.
    BYTE* Record(int index);
    const BYTE* Record(int index) const;

    // Throws "Filename index out of bounds (<index>)" outside the records.
    virtual std::wstring GetFilename(int index) const = 0;
    // Cut so that the name and its null fit the field.
    virtual void SetFilename(int index, const std::wstring& name) = 0;
    virtual size_t RecordSize() const = 0;
    unsigned long long BlockSize(unsigned long long count) const { return count * RecordSize() + sizeof(DWORD); }

    bool ReadData(const BYTE* buffer, size_t size) override;
    bool WriteData(BYTE* buffer, size_t size) const override;
    size_t DataSize() const override;
    void Clear() override { block_.clear(); }
    bool HasData() const override { return Count() > 0; }

protected:
    using TCustomSimpleClipboardFormat::TCustomSimpleClipboardFormat;

private:
    std::vector<BYTE> block_;
};

// "FileGroupDescriptor": records of 332 bytes, names in the ANSI code page.
class TAnsiFileGroupDescriptorClipboardFormat : public TFileGroupDescriptorCustomClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    static constexpr size_t kRecordSize = 332;
    TAnsiFileGroupDescriptorClipboardFormat() : TFileGroupDescriptorCustomClipboardFormat(Class) {}
    std::wstring GetFilename(int index) const override;
    void SetFilename(int index, const std::wstring& name) override;
    size_t RecordSize() const override { return kRecordSize; }
};

// "FileGroupDescriptorW": records of 592 bytes, names in UTF-16.
class TUnicodeFileGroupDescriptorClipboardFormat : public TFileGroupDescriptorCustomClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    static constexpr size_t kRecordSize = 592;
    TUnicodeFileGroupDescriptorClipboardFormat() : TFileGroupDescriptorCustomClipboardFormat(Class) {}
    std::wstring GetFilename(int index) const override;
    void SetFilename(int index, const std::wstring& name) override;
    size_t RecordSize() const override { return kRecordSize; }
};

// The name of a 592-byte Unicode record, and its replacement (cut to fit with its null).
std::wstring UnicodeRecordName(const BYTE* record);
void SetUnicodeRecordName(BYTE* record, const std::wstring& name);

// "FileContents" of the first item as one byte string.
class TFileContentsClipboardFormat : public TCustomAnsiStringClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TFileContentsClipboardFormat();
};

// "FileContents" of every item, read as memory streams named by the descriptor.
class TFileContentsStreamClipboardFormat : public TClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TFileContentsStreamClipboardFormat() : TClipboardFormat(Class, TYMED_ISTREAM | TYMED_ISTORAGE) {}
    TStreamList& Streams() { return streams_; }

    // Item by item, as far as the object delivers whole items and all of them fit kMaxFileContentsTotal; a
    // storage becomes its compound-file bytes.
    bool GetData(IDataObject* dataObject) override;
    bool GiveToDataFormat(TCustomDataFormat& dataFormat) override;
    void Clear() override { streams_.Clear(); }
    bool HasData() const override { return streams_.Count() > 0; }

private:
    TStreamList streams_;
};

// "FileContents" of every item, read as storages named by the descriptor; served by index.
class TFileContentsStorageClipboardFormat : public TClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TFileContentsStorageClipboardFormat() : TClipboardFormat(Class, TYMED_ISTORAGE) {}
    TStorageInterfaceList& Storages() { return storages_; }

    bool GetData(IDataObject* dataObject) override;
    void Clear() override { storages_.Clear(); }
    bool HasData() const override { return storages_.Count() > 0; }

protected:
    bool EncodeMedium(const FORMATETC& formatEtc, STGMEDIUM& medium) override;

private:
    TStorageInterfaceList storages_;
};

class TFileContentsStreamOnDemandClipboardFormat;
using TGetStreamEvent =
    std::function<void(TFileContentsStreamOnDemandClipboardFormat& sender, int index, kit::ComPtr<IStream>& stream)>;

// "FileContents" rendered when a target asks for an item: OnGetStream gives the item's stream.
class TFileContentsStreamOnDemandClipboardFormat : public TClipboardFormat {
public:
    static const TClipboardFormatClass Class;
    TFileContentsStreamOnDemandClipboardFormat() : TClipboardFormat(Class, TYMED_HGLOBAL | TYMED_ISTREAM) {}
    TGetStreamEvent OnGetStream;

    // Only notes that the object offers contents: they are fetched later, item by item.
    bool GetData(IDataObject* dataObject) override;
    bool TakeFromDataFormat(TCustomDataFormat& dataFormat) override;
    bool GiveToDataFormat(TCustomDataFormat& dataFormat) override;
    void Clear() override {
        dataReceived_ = false;
        dataRequested_ = false;
    }
    bool HasData() const override { return dataReceived_ || dataRequested_; }

protected:
    // The item's stream itself when a stream is asked for, else its bytes (all of them) in memory.
    bool EncodeMedium(const FORMATETC& formatEtc, STGMEDIUM& medium) override;

private:
    bool dataReceived_ = false;
    bool dataRequested_ = false;
};

// The names of a list of 592-byte Unicode descriptor records, as a string list. Names are added at the end
// only: an insert elsewhere does nothing.
class TFileDescriptorToFilenameStrings : public TUnicodeStrings {
public:
    explicit TFileDescriptorToFilenameStrings(TMemoryList& descriptors) : descriptors_(descriptors) {}

    int Count() const override { return descriptors_.Count(); }
    std::wstring Get(int index) const override;
    void Put(int index, const std::wstring& text) override;
    void Insert(int index, const std::wstring& text) override;
    void Delete(int index) override;
    void Clear() override;

private:
    TMemoryList& descriptors_;
};

// Files that exist only as data: the descriptors (names and attributes) and, on the source side, contents
// given item by item through the on-demand format's OnGetStream.
class TVirtualFileStreamDataFormat : public TCustomDataFormat {
public:
    static const TDataFormatClass Class;
    explicit TVirtualFileStreamDataFormat(TDragDropComponent* owner);

    TMemoryList& FileDescriptors() { return descriptors_; }
    TFileDescriptorToFilenameStrings& FileNames() { return fileNames_; }
    // The compatible formats it works through; a missing one throws.
    TFileContentsStreamOnDemandClipboardFormat& FileContentsClipboardFormat() const;
    TAnsiFileGroupDescriptorClipboardFormat& AnsiFileGroupDescriptorClipboardFormat() const;
    TUnicodeFileGroupDescriptorClipboardFormat& UnicodeFileGroupDescriptorClipboardFormat() const;
    bool HasContents() const { return hasContents_; }

    bool TakeFromClipboardFormat(TClipboardFormat& format) override;
    bool GiveToClipboardFormat(TClipboardFormat& format) override;
    void Clear() override;
    bool HasData() const override;
    bool NeedsData() const override;

private:
    TMemoryList descriptors_;
    TFileDescriptorToFilenameStrings fileNames_;
    bool hasContents_ = false;
};

// Puts this unit's data-format class and its clipboard formats into the map.
void RegisterDragDropFileVirtualClasses();

} // namespace dragdrop
