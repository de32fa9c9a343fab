#include "results/listview/ListClipboard.h"

#include "kit/Exception.h"
#include "kit/Handles.h"

#include <shlobj.h>

#include <cstring>

namespace results {
namespace {

static_assert(sizeof(DROPFILES) == 20, "the file drop list starts right after its 20-byte header");

kit::UniqueGlobal Allocate(size_t size) {
    kit::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, size));
    if (!block) throw kit::Exception(L"Could not allocate memory.");
    return block;
}

// Fills a new block through `fill(bytes)`.
template <class Fill>
kit::UniqueGlobal MakeBlock(size_t size, Fill fill) {
    kit::UniqueGlobal block = Allocate(size);
    const kit::GlobalMemoryLock lock(block.get());
    if (!lock.data()) throw kit::Exception(L"Could not access allocated memory.");
    fill(lock.data());
    return block;
}

kit::UniqueGlobal FileDropBlock(const std::wstring& pathListText) {
    const size_t textBytes = pathListText.size() * sizeof(wchar_t);
    return MakeBlock(sizeof(DROPFILES) + textBytes, [&](BYTE* bytes) {
        DROPFILES header{};
        header.pFiles = sizeof(DROPFILES);
        header.fWide = TRUE;
        std::memcpy(bytes, &header, sizeof(header));
        std::memcpy(bytes + sizeof(header), pathListText.data(), textBytes);
    });
}

kit::UniqueGlobal DropEffectBlock(DWORD effect) {
    return MakeBlock(sizeof(effect), [&](BYTE* bytes) { std::memcpy(bytes, &effect, sizeof(effect)); });
}

class ClipboardOpening {
public:
    explicit ClipboardOpening(HWND owner) {
        if (!OpenClipboard(owner)) throw kit::Exception(L"Could not open the clipboard.");
    }
    ~ClipboardOpening() { CloseClipboard(); }
    ClipboardOpening(const ClipboardOpening&) = delete;
    ClipboardOpening& operator=(const ClipboardOpening&) = delete;
};

// The clipboard takes the block; one it refuses stays with the owner, which frees it.
void SetClipboardBlock(UINT format, kit::UniqueGlobal& block) {
    if (!SetClipboardData(format, block.get())) throw kit::Exception(L"Could not put the files on the clipboard.");
    block.release();
}

} // namespace

void PutFilesOnClipboard(HWND owner, const std::wstring& pathListText, DWORD dropEffect) {
    kit::UniqueGlobal files = FileDropBlock(pathListText);
    kit::UniqueGlobal effect = DropEffectBlock(dropEffect);
    const UINT effectFormat = RegisterClipboardFormatW(PreferredDropEffectFormat);
    const ClipboardOpening clipboard(owner);
    if (!EmptyClipboard()) throw kit::Exception(L"Could not open the clipboard.");
    SetClipboardBlock(CF_HDROP, files);
    SetClipboardBlock(effectFormat, effect);
}

} // namespace results
