#pragma once
// Test support for the drag-and-drop library: a data object that offers byte blocks, and medium helpers.
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

#include "dragdrop/DragDrop.h"
#include "kit/Handles.h"

namespace dragdrop {
// Drag results print as numbers, not as the characters of their byte values.
inline void PrintTo(TDragResult result, std::ostream* out) { *out << static_cast<int>(result); }
} // namespace dragdrop

namespace ddtest {

// Bytes from a literal that may hold nulls: Bytes("a\0b") keeps all three.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}
std::string WideBytes(const std::wstring& text);  // UTF-16 bytes, without a terminator

// A movable HGLOBAL holding exactly the bytes (the caller owns it).
HGLOBAL GlobalFromBytes(const std::string& bytes);
std::string BytesOfGlobal(HGLOBAL memory);
// A memory stream holding the bytes, left at its end as a writer leaves it.
kit::ComPtr<IStream> StreamFromBytes(const std::string& bytes);
std::string BytesOfStream(IStream* stream);  // from its start
// A medium of that kind over the bytes; owned by the caller (ReleaseStgMedium).
STGMEDIUM MediumFromBytes(const std::string& bytes, DWORD tymed);
std::string BytesOfMedium(const STGMEDIUM& medium);

CLIPFORMAT Registered(const wchar_t* name);

// An IDataObject over byte blocks, each offered as HGLOBAL, IStream or both. SetData stores what it is given
// (so it can be read back) and records the format.
class TestDataObject : public IDataObject {
public:
    static kit::ComPtr<TestDataObject> Create();

    void Offer(CLIPFORMAT format, const std::string& bytes, DWORD tymed = TYMED_HGLOBAL | TYMED_ISTREAM);
    bool Offers(CLIPFORMAT format) const;
    std::string OfferedBytes(CLIPFORMAT format) const;
    int GetDataCalls() const { return getDataCalls_; }
    // SetData answers E_FAIL (a source that keeps no feedback).
    void RefuseSetData() { refuseSetData_ = true; }
    ULONG References() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** enumerator) override;

private:
    struct Offered {
        CLIPFORMAT format;
        std::string bytes;
        DWORD tymed;
    };
    TestDataObject() = default;
    virtual ~TestDataObject() = default;
    const Offered* Find(const FORMATETC& format) const;

    std::atomic<ULONG> references_{1};
    std::vector<Offered> offered_;
    int getDataCalls_ = 0;
    bool refuseSetData_ = false;
};

// A memory stream that counts its references (a spy for who releases a medium), can refuse to be read, and
// can claim a size other than its own in Stat.
class SpyStream : public IStream {
public:
    static kit::ComPtr<SpyStream> Create(const std::string& bytes, bool failReads = false,
                                         unsigned long long claimedSize = 0);
    ULONG References() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* written) override {
        return inner_->Write(buffer, size, written);
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
        return inner_->Seek(move, origin, position);
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override { return inner_->SetSize(size); }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    SpyStream(kit::ComPtr<IStream> inner, bool failReads, unsigned long long claimedSize)
        : inner_(std::move(inner)), failReads_(failReads), claimedSize_(claimedSize) {}
    virtual ~SpyStream() = default;
    std::atomic<ULONG> references_{1};
    kit::ComPtr<IStream> inner_;
    bool failReads_;
    unsigned long long claimedSize_;
};

// The bytes an object's GetData gives for the format as HGLOBAL; empty, with `hr` telling why, when none.
std::string DataBytes(IDataObject* dataObject, CLIPFORMAT format, HRESULT* hr = nullptr);

// The formats an object enumerates for reading.
std::vector<CLIPFORMAT> EnumeratedFormats(IDataObject* dataObject);

} // namespace ddtest
