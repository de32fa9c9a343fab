// The stream the simple codec hands to OLE: a memory stream with three behaviours readers rely on.
#include "dragdrop/DragDropFormats.h"

#include <algorithm>
#include <vector>

#include "kit/Guard.h"

namespace dragdrop {
namespace {

constexpr ULONG kCopyBlock = 1024 * 1024;

} // namespace

kit::ComPtr<IStream> TFixedStreamAdapter::Create(kit::ComPtr<IStream> stream) {
    return kit::ComPtr<IStream>::Attach(new TFixedStreamAdapter(std::move(stream)));
}

HRESULT TFixedStreamAdapter::QueryInterface(REFIID iid, void** object) {
    return kit::GuardedCom(L"TFixedStreamAdapter.QueryInterface", [&]() -> HRESULT {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_ISequentialStream && iid != IID_IStream) return E_NOINTERFACE;
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    });
}

ULONG TFixedStreamAdapter::AddRef() { return ++references_; }

ULONG TFixedStreamAdapter::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT TFixedStreamAdapter::Read(void* buffer, ULONG size, ULONG* read) {
    return kit::GuardedCom(L"TFixedStreamAdapter.Read", [&]() -> HRESULT {
        // A reader that never seeks gets the first byte, not the writer's end position.
        if (!seeked_) {
            const HRESULT hr = Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
            if (FAILED(hr)) return hr;
        }
        return stream_->Read(buffer, size, read);
    });
}

HRESULT TFixedStreamAdapter::Write(const void* buffer, ULONG size, ULONG* written) {
    return kit::GuardedCom(L"TFixedStreamAdapter.Write", [&] { return stream_->Write(buffer, size, written); });
}

HRESULT TFixedStreamAdapter::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
    return kit::GuardedCom(L"TFixedStreamAdapter.Seek", [&]() -> HRESULT {
        const HRESULT hr = stream_->Seek(move, origin, position);
        if (SUCCEEDED(hr)) seeked_ = true;
        return hr;
    });
}

HRESULT TFixedStreamAdapter::SetSize(ULARGE_INTEGER size) {
    return kit::GuardedCom(L"TFixedStreamAdapter.SetSize", [&] { return stream_->SetSize(size); });
}

HRESULT TFixedStreamAdapter::CopyTo(IStream* destination, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                    ULARGE_INTEGER* written) {
    return kit::GuardedCom(L"TFixedStreamAdapter.CopyTo",
                           [&] { return CopyToStream(destination, count, read, written); });
}

HRESULT TFixedStreamAdapter::CopyToStream(IStream* destination, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                          ULARGE_INTEGER* written) {
    if (!destination) return STG_E_INVALIDPOINTER;
    unsigned long long left = count.QuadPart;
    if (static_cast<long long>(left) < 0) {
        // "Everything": from a stream left at its end, that is the whole stream.
        STATSTG stat{};
        ULARGE_INTEGER position{};
        HRESULT hr = stream_->Stat(&stat, STATFLAG_NONAME);
        if (SUCCEEDED(hr)) hr = stream_->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &position);
        if (FAILED(hr)) return hr;
        if (position.QuadPart >= stat.cbSize.QuadPart) {
            hr = stream_->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, &position);
            if (FAILED(hr)) return hr;
        }
        seeked_ = true;
        left = stat.cbSize.QuadPart - position.QuadPart;
    }
    std::vector<BYTE> block(static_cast<size_t>(std::min<unsigned long long>(left, kCopyBlock)));
    unsigned long long totalRead = 0;
    unsigned long long totalWritten = 0;
    HRESULT result = S_OK;
    while (left > 0) {
        ULONG got = 0;
        const ULONG piece = static_cast<ULONG>(std::min<unsigned long long>(left, block.size()));
        result = Read(block.data(), piece, &got);
        if (FAILED(result) || got == 0) break;
        totalRead += got;
        ULONG put = 0;
        result = destination->Write(block.data(), got, &put);
        totalWritten += put;
        if (FAILED(result)) break;
        if (put < got) {
            result = E_FAIL;  // a destination that takes less would be asked forever
            break;
        }
        left -= put;
    }
    if (SUCCEEDED(result)) result = S_OK;
    if (read) read->QuadPart = totalRead;
    if (written) written->QuadPart = totalWritten;
    return result;
}

HRESULT TFixedStreamAdapter::Commit(DWORD flags) {
    return kit::GuardedCom(L"TFixedStreamAdapter.Commit", [&] { return stream_->Commit(flags); });
}

HRESULT TFixedStreamAdapter::Revert() {
    return kit::GuardedCom(L"TFixedStreamAdapter.Revert", [&] { return stream_->Revert(); });
}

HRESULT TFixedStreamAdapter::LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) {
    return kit::GuardedCom(L"TFixedStreamAdapter.LockRegion", [&] { return stream_->LockRegion(offset, size, type); });
}

HRESULT TFixedStreamAdapter::UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) {
    return kit::GuardedCom(L"TFixedStreamAdapter.UnlockRegion",
                           [&] { return stream_->UnlockRegion(offset, size, type); });
}

HRESULT TFixedStreamAdapter::Stat(STATSTG* stat, DWORD) {
    return kit::GuardedCom(L"TFixedStreamAdapter.Stat", [&] { return stream_->Stat(stat, STATFLAG_NONAME); });
}

HRESULT TFixedStreamAdapter::Clone(IStream** clone) {
    return kit::GuardedCom(L"TFixedStreamAdapter.Clone", [&] { return stream_->Clone(clone); });
}

} // namespace dragdrop
