#pragma once
// A picture of a file at a chosen size for the thumbnail view: the file's system icon centred in a frame, or the
// shell's own thumbnail where the shell can extract one.
#include "kit/Handles.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace results {

class TFileThumb {
public:
    TFileThumb();
    TFileThumb(const TFileThumb&) = delete;
    TFileThumb& operator=(const TFileThumb&) = delete;

    // Kept to 52..256 pixels.
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int width);
    void SetHeight(int height);
    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(const std::wstring& name) { if (name != fileName_) fileName_ = name; }

    // Renders FileName into Bitmap: with no file name only the frame.
    void DrawThumbnail();

    // 24 bits per pixel, Width x Height after DrawThumbnail; owned by the thumb.
    HBITMAP Bitmap() const { return bitmap_.get(); }
    int IconSize() const { return iconSize_; }

private:
    void NewBitmap();
    void DrawFrame(HDC dc) const;
    void DrawIcon(HDC dc) const;
    // The shell's own picture of the file, or null where it has none.
    kit::UniqueBitmap ExtractShellImage(DWORD& flags) const;
    void CopyCentred(HDC dc, HBITMAP image) const;

    HIMAGELIST imageList_ = nullptr;
    kit::ComPtr<IUnknown> imageListOwner_;  // keeps the extra-large system list alive while it is used
    int width_ = 100;
    int height_ = 100;
    int iconSize_ = 32;
    kit::UniqueBitmap bitmap_;
    std::wstring fileName_;
};

// The clamp applied to Width and Height.
int ClampThumbSize(int value);

} // namespace results
