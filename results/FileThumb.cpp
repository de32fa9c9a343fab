#include "results/FileThumb.h"

#include "kit/DeviceContexts.h"
#include "kit/Strings.h"
#include "kit/SystemImages.h"
#include "results/ShellFolder.h"
#include "results/ShellIcons.h"

#include <commoncontrols.h>
#include <shellapi.h>
#include <shlobj.h>

namespace results {
namespace {

constexpr int kSmallest = 52;
constexpr int kLargest = 256;

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    kit::UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

} // namespace

int ClampThumbSize(int value) {
    if (value > kLargest) return kLargest;
    if (value < kSmallest) return kSmallest;
    return value;
}

TFileThumb::TFileThumb() {
    // The extra-large system list when it holds 48-pixel icons, else the large list.
    kit::ComPtr<IImageList> extraLarge;
    int cx = 0, cy = 0;
    if (SUCCEEDED(SHGetImageList(SHIL_EXTRALARGE, __uuidof(IImageList), extraLarge.put_void())) && extraLarge &&
        ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(extraLarge.get()), &cx, &cy) && cx == 48) {
        imageList_ = reinterpret_cast<HIMAGELIST>(extraLarge.get());
        iconSize_ = 48;
        imageListOwner_ = kit::ComPtr<IUnknown>::Attach(extraLarge.detach());
    } else {
        imageList_ = kit::SystemImageList(kit::IconSize::Large);
        iconSize_ = imageList_ && ImageList_GetIconSize(imageList_, &cx, &cy) ? cx : 32;
    }
    NewBitmap();
}

void TFileThumb::SetWidth(int width) { width_ = ClampThumbSize(width); }
void TFileThumb::SetHeight(int height) { height_ = ClampThumbSize(height); }

void TFileThumb::NewBitmap() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) return;
    kit::MemoryDc dc(nullptr, bitmap_.get());
    Fill(dc.get(), RECT{0, 0, width_, height_}, GetSysColor(COLOR_WINDOW));
}

void TFileThumb::DrawFrame(HDC dc) const {
    const RECT edge{0, 0, width_, height_};
    FrameRect(dc, &edge, GetSysColorBrush(COLOR_BTNFACE));
}

void TFileThumb::DrawIcon(HDC dc) const {
    Fill(dc, RECT{1, 1, width_ - 1, height_ - 1}, RGB(255, 255, 255));
    const int index = ShellIconIndex(fileName_, false, SHGFI_SYSICONINDEX);
    if (imageList_ && index >= 0)
        ImageList_Draw(imageList_, index, dc, width_ / 2 - iconSize_ / 2, height_ / 2 - iconSize_ / 2, ILD_TRANSPARENT);
}

void TFileThumb::DrawThumbnail() {
    NewBitmap();
    if (!bitmap_) return;
    kit::MemoryDc dc(nullptr, bitmap_.get());
    DrawFrame(dc.get());
    if (fileName_.empty()) return;
    DrawIcon(dc.get());
    DWORD flags = 0;
    const kit::UniqueBitmap image = ExtractShellImage(flags);
    if (!image) return;
    CopyCentred(dc.get(), image.get());
    if (!(flags & IEIFLAG_NOBORDER)) DrawFrame(dc.get());
}

kit::UniqueBitmap TFileThumb::ExtractShellImage(DWORD& flags) const {
    const kit::ComPtr<IShellFolder> folder = BindShellFolder(kit::ExtractFilePath(fileName_));
    if (!folder) return {};
    const kit::UniquePidl childId = ParseChildName(*folder.get(), kit::ExtractFileName(fileName_));
    if (!childId) return {};
    kit::ComPtr<IExtractImage> extract;
    PCUITEMID_CHILD child = reinterpret_cast<PCUITEMID_CHILD>(childId.get());
    if (FAILED(folder->GetUIObjectOf(nullptr, 1, &child, IID_IExtractImage, nullptr, extract.put_void())) || !extract)
        return {};
    wchar_t location[MAX_PATH] = L"";
    DWORD priority = 0;
    SIZE size{width_, height_};
    flags = IEIFLAG_OFFLINE | IEIFLAG_SCREEN;
    const HRESULT located = extract->GetLocation(location, MAX_PATH, &priority, &size, 24, &flags);
    if (FAILED(located) && located != E_PENDING) return {};
    HBITMAP image = nullptr;
    if (FAILED(extract->Extract(&image))) {
        if (image) DeleteObject(image);
        return {};
    }
    return kit::UniqueBitmap(image);
}

void TFileThumb::CopyCentred(HDC dc, HBITMAP image) const {
    BITMAP info{};
    if (!GetObjectW(image, sizeof(info), &info)) return;
    Fill(dc, RECT{0, 0, width_, height_}, GetSysColor(COLOR_WINDOW));
    kit::MemoryDc source(nullptr, image);
    BitBlt(dc, (width_ - info.bmWidth) / 2, (height_ - info.bmHeight) / 2, info.bmWidth, info.bmHeight, source.get(),
           0, 0, SRCCOPY);
}

} // namespace results
