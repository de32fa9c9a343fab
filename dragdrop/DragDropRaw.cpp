// The raw clipboard format and data format, and clipboard-format names.
#include "dragdrop/DragDrop.h"

#include <vector>

#include "kit/Handles.h"

namespace dragdrop {
namespace {

// A memory stream with the source stream's bytes from its start (at most kMaxMediumSize), positioned at its
// start. Read by hand: not every provider's stream implements CopyTo.
kit::ComPtr<IStream> CopyStreamContent(IStream* source) {
    kit::ComPtr<IStream> copy;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, copy.put()))) return nullptr;
    if (FAILED(source->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr))) return nullptr;
    std::vector<BYTE> block(64 * 1024);
    unsigned long long total = 0;
    for (;;) {
        ULONG read = 0;
        const HRESULT hr = source->Read(block.data(), static_cast<ULONG>(block.size()), &read);
        if (FAILED(hr)) return nullptr;
        if (read == 0) break;
        total += read;
        if (total > kMaxMediumSize) return nullptr;
        ULONG written = 0;
        if (FAILED(copy->Write(block.data(), read, &written)) || written != read) return nullptr;
    }
    if (FAILED(copy->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr))) return nullptr;
    return copy;
}

} // namespace

const TClipboardFormatClass TRawClipboardFormat::Class{L"TRawClipboardFormat", nullptr, 0, nullptr};
const TDataFormatClass TRawDataFormat::Class{L"TRawDataFormat", nullptr, nullptr};

TRawClipboardFormat::TRawClipboardFormat(const FORMATETC& formatEtc) : TClipboardFormat(Class, formatEtc) {}

void TRawClipboardFormat::SetClipboardFormatName(const std::wstring& name) {
    SetClipboardFormat(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name.c_str())));
}

bool TRawClipboardFormat::DecodeMedium(IDataObject*, const STGMEDIUM& medium) {
    medium_.reset();
    if (medium.tymed == TYMED_ISTREAM) {
        if (!medium.pstm) return false;
        kit::ComPtr<IStream> copy = CopyStreamContent(medium.pstm);
        if (!copy) return false;
        STGMEDIUM& own = *medium_.put();
        own.tymed = TYMED_ISTREAM;
        own.pstm = copy.detach();
        return true;
    }
    return CopyStgMedium(medium, *medium_.put());
}

bool TRawClipboardFormat::EncodeMedium(const FORMATETC& formatEtc, STGMEDIUM& medium) {
    const STGMEDIUM& own = medium_.get();
    if (!(formatEtc.tymed & own.tymed)) return false;
    if (own.tymed == TYMED_ISTREAM) {
        // Each reader gets a seek position of its own over the same bytes.
        kit::ComPtr<IStream> clone;
        if (FAILED(own.pstm->Clone(clone.put())) ||
            FAILED(clone->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr)))
            return false;
        medium = STGMEDIUM{};
        medium.tymed = TYMED_ISTREAM;
        medium.pstm = clone.detach();
        return true;
    }
    return CopyStgMedium(own, medium);
}

bool TRawClipboardFormat::TakeFromDataFormat(TCustomDataFormat& dataFormat) {
    return dynamic_cast<TRawDataFormat*>(&dataFormat) != nullptr;  // the data stay here
}

bool TRawClipboardFormat::GiveToDataFormat(TCustomDataFormat& dataFormat) {
    return dynamic_cast<TRawDataFormat*>(&dataFormat) != nullptr;
}

void TRawDataFormat::Clear() {
    Changing();
    const TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count(); ++i) formats[i].Clear();
}

bool TRawDataFormat::HasData() const {
    const TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count(); ++i)
        if (formats[i].HasData()) return true;
    return false;
}

bool TRawDataFormat::NeedsData() const {
    const TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count(); ++i)
        if (!formats[i].HasData()) return true;
    return false;
}

std::wstring ClipboardFormatName(UINT format) {
    static const wchar_t* const predefined[] = {
        L"CF_TEXT",    L"CF_BITMAP",  L"CF_METAFILEPICT", L"CF_SYLK",        L"CF_DIF",         L"CF_TIFF",
        L"CF_OEMTEXT", L"CF_DIB",     L"CF_PALETTE",      L"CF_PENDATA",     L"CF_RIFF",        L"CF_WAVE",
        L"CF_UNICODETEXT", L"CF_ENHMETAFILE", L"CF_HDROP", L"CF_LOCALE",     L"CF_DIBV5",       L"CF_MAX_XP"};
    if (format >= 1 && format <= std::size(predefined)) return predefined[format - 1];
    switch (format) {
    case CF_OWNERDISPLAY: return L"CF_OWNERDISPLAY";
    case CF_DSPTEXT: return L"CF_DSPTEXT";
    case CF_DSPBITMAP: return L"CF_DSPBITMAP";
    case CF_DSPMETAFILEPICT: return L"CF_DSPMETAFILEPICT";
    case CF_DSPENHMETAFILE: return L"CF_DSPENHMETAFILE";
    }
    wchar_t name[256];
    const int length = GetClipboardFormatNameW(format, name, 255);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

} // namespace dragdrop
