#include "tests/dragdrop/DragDropFixture.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

#include "dragdrop/DragDrop.h"
#include "kit/Guard.h"

namespace ddtest {

std::string WideBytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

HGLOBAL GlobalFromBytes(const std::string& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    const dragdrop::TGlobalLock lock(memory);
    if (lock.data()) std::memcpy(lock.data(), bytes.data(), bytes.size());
    return memory;
}

std::string BytesOfGlobal(HGLOBAL memory) {
    const dragdrop::TGlobalLock lock(memory);
    return lock.data() ? std::string(reinterpret_cast<const char*>(lock.data()), lock.size()) : std::string();
}

kit::ComPtr<IStream> StreamFromBytes(const std::string& bytes) {
    kit::ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    ULONG written = 0;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    return stream;
}

std::string BytesOfStream(IStream* stream) {
    std::string bytes;
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    char block[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(block, sizeof(block), &read)) && read > 0) bytes.append(block, read);
    return bytes;
}

STGMEDIUM MediumFromBytes(const std::string& bytes, DWORD tymed) {
    STGMEDIUM medium{};
    medium.tymed = tymed;
    if (tymed == TYMED_HGLOBAL)
        medium.hGlobal = GlobalFromBytes(bytes);
    else
        medium.pstm = StreamFromBytes(bytes).detach();
    return medium;
}

std::string BytesOfMedium(const STGMEDIUM& medium) {
    if (medium.tymed == TYMED_HGLOBAL) return BytesOfGlobal(medium.hGlobal);
    if (medium.tymed == TYMED_ISTREAM) return BytesOfStream(medium.pstm);
    return {};
}

CLIPFORMAT Registered(const wchar_t* name) { return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name)); }

// --- TestDataObject

kit::ComPtr<TestDataObject> TestDataObject::Create() {
    return kit::ComPtr<TestDataObject>::Attach(new TestDataObject);
}

void TestDataObject::Offer(CLIPFORMAT format, const std::string& bytes, DWORD tymed) {
    for (Offered& item : offered_)
        if (item.format == format) {
            item = Offered{format, bytes, tymed};
            return;
        }
    offered_.push_back(Offered{format, bytes, tymed});
}

bool TestDataObject::Offers(CLIPFORMAT format) const {
    for (const Offered& item : offered_)
        if (item.format == format) return true;
    return false;
}

std::string TestDataObject::OfferedBytes(CLIPFORMAT format) const {
    for (const Offered& item : offered_)
        if (item.format == format) return item.bytes;
    return {};
}

const TestDataObject::Offered* TestDataObject::Find(const FORMATETC& format) const {
    if (format.dwAspect != DVASPECT_CONTENT) return nullptr;
    for (const Offered& item : offered_)
        if (item.format == format.cfFormat && (item.tymed & format.tymed)) return &item;
    return nullptr;
}

HRESULT TestDataObject::QueryInterface(REFIID iid, void** object) {
    return kit::GuardedCom(L"TestDataObject.QueryInterface", [&]() -> HRESULT {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDataObject) return E_NOINTERFACE;
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    });
}

ULONG TestDataObject::AddRef() { return ++references_; }

ULONG TestDataObject::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT TestDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    return kit::GuardedCom(L"TestDataObject.GetData", [&]() -> HRESULT {
        ++getDataCalls_;
        const Offered* item = format && medium ? Find(*format) : nullptr;
        if (!item) return DV_E_FORMATETC;
        const DWORD kind = (item->tymed & format->tymed & TYMED_HGLOBAL) ? TYMED_HGLOBAL : TYMED_ISTREAM;
        *medium = MediumFromBytes(item->bytes, kind);
        return S_OK;
    });
}

HRESULT TestDataObject::QueryGetData(FORMATETC* format) {
    return kit::GuardedCom(L"TestDataObject.QueryGetData",
                           [&]() -> HRESULT { return format && Find(*format) ? S_OK : DV_E_FORMATETC; });
}

HRESULT TestDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    return kit::GuardedCom(L"TestDataObject.GetCanonicalFormatEtc", [&]() -> HRESULT {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    });
}

HRESULT TestDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
    return kit::GuardedCom(L"TestDataObject.SetData", [&]() -> HRESULT {
        if (!format || !medium) return E_INVALIDARG;
        if (refuseSetData_) return E_FAIL;
        Offer(format->cfFormat, BytesOfMedium(*medium), TYMED_HGLOBAL | TYMED_ISTREAM);
        if (release) ReleaseStgMedium(medium);
        return S_OK;
    });
}

HRESULT TestDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) {
    return kit::GuardedCom(L"TestDataObject.EnumFormatEtc", [&]() -> HRESULT {
        if (!enumerator) return E_POINTER;
        *enumerator = nullptr;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Offered& item : offered_)
            formats.push_back(FORMATETC{item.format, nullptr, DVASPECT_CONTENT, -1, item.tymed});
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), enumerator);
    });
}

HRESULT TestDataObject::EnumDAdvise(IEnumSTATDATA** enumerator) {
    if (enumerator) *enumerator = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// --- SpyStream

kit::ComPtr<SpyStream> SpyStream::Create(const std::string& bytes, bool failReads, unsigned long long claimedSize) {
    return kit::ComPtr<SpyStream>::Attach(new SpyStream(StreamFromBytes(bytes), failReads, claimedSize));
}

HRESULT SpyStream::Stat(STATSTG* stat, DWORD flags) {
    const HRESULT hr = inner_->Stat(stat, flags);
    if (SUCCEEDED(hr) && claimedSize_) stat->cbSize.QuadPart = claimedSize_;
    return hr;
}

HRESULT SpyStream::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_ISequentialStream && iid != IID_IStream) return E_NOINTERFACE;
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
}

ULONG SpyStream::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT SpyStream::Read(void* buffer, ULONG size, ULONG* read) {
    if (failReads_) return STG_E_READFAULT;
    return inner_->Read(buffer, size, read);
}

std::string DataBytes(IDataObject* dataObject, CLIPFORMAT format, HRESULT* hr) {
    FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    const HRESULT answer = dataObject->GetData(&request, &medium);
    if (hr) *hr = answer;
    if (answer != S_OK) return {};
    std::string bytes = BytesOfMedium(medium);
    ReleaseStgMedium(&medium);
    return bytes;
}

std::vector<CLIPFORMAT> EnumeratedFormats(IDataObject* dataObject) {
    std::vector<CLIPFORMAT> formats;
    kit::ComPtr<IEnumFORMATETC> enumerator;
    if (FAILED(dataObject->EnumFormatEtc(DATADIR_GET, enumerator.put())) || !enumerator) return formats;
    FORMATETC format{};
    while (enumerator->Next(1, &format, nullptr) == S_OK) formats.push_back(format.cfFormat);
    return formats;
}

} // namespace ddtest
