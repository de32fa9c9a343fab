// The main window's drag and drop: the result list's files dragged out (copy, move or link), the drag image
// over the whole window, and folders dropped on the search-path box to search them.
#include "ui/FMWMainFree.h"

#include <commctrl.h>
#include <shobjidl.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <vector>

#include "kit/DeviceContexts.h"
#include "kit/MessageLoop.h"
#include "kit/Scope.h"

namespace ui {
namespace {

// The row's icon and name on the window's colours, every pixel kept (a drag image without a mask shows nothing
// once a target merges its cursor image into it). `upperLeft` receives where the row's icon lies in the list.
kit::UniqueImageList NameDragImage(HWND list, int item, POINT& upperLeft) {
    wchar_t name[MAX_PATH * 2] = {};
    LVITEMW row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE;
    row.iItem = item;
    row.pszText = name;
    row.cchTextMax = static_cast<int>(std::size(name));
    RECT icon{};
    if (!ListView_GetItem(list, &row) || !ListView_GetItemRect(list, item, &icon, LVIR_ICON)) return {};
    const HIMAGELIST icons = ListView_GetImageList(list, LVSIL_SMALL);
    int iconWidth = 0;
    int iconHeight = 0;
    if (icons) ImageList_GetIconSize(icons, &iconWidth, &iconHeight);

    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0));
    const kit::WindowDc screen(nullptr);
    const kit::MemoryDc measure(screen.get(), font);
    SIZE text{};
    GetTextExtentPoint32W(measure.get(), name, static_cast<int>(wcslen(name)), &text);
    constexpr int kGap = 4;
    const int width = iconWidth + kGap + text.cx;
    const int height = std::max(iconHeight, static_cast<int>(text.cy));
    kit::UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), width, height));
    {
        const kit::MemoryDc dc(screen.get(), picture.get());
        const kit::ScopedSelect textFont(dc.get(), font);
        RECT all{0, 0, width, height};
        FillRect(dc.get(), &all, GetSysColorBrush(COLOR_WINDOW));
        if (icons && row.iImage >= 0)
            ImageList_Draw(icons, row.iImage, dc.get(), 0, (height - iconHeight) / 2, ILD_TRANSPARENT);
        SetBkMode(dc.get(), TRANSPARENT);
        SetTextColor(dc.get(), GetSysColor(COLOR_WINDOWTEXT));
        RECT label{iconWidth + kGap, 0, width, height};
        DrawTextW(dc.get(), name, -1, &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    // All 0, every pixel kept: a bitmap made without bits has undefined content. Mask rows are whole words.
    const std::vector<BYTE> keepAll(static_cast<size_t>((width + 15) / 16 * 2) * static_cast<size_t>(height));
    const kit::UniqueBitmap opaque(CreateBitmap(width, height, 1, 1, keepAll.data()));
    kit::UniqueImageList image(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 1, 0));
    if (!image || ImageList_Add(image.get(), picture.get(), opaque.get()) < 0) return {};
    upperLeft = POINT{icon.left, icon.top + ((icon.bottom - icon.top) - height) / 2};
    return image;
}

} // namespace

void TfrmMerrowinMain::CreateDragDrop() {
    using namespace dragdrop;
    DropFileSource = std::make_unique<TDropFileSource>();
    DropFileSource->SetDragTypes({dtCopy, dtMove, dtLink});
    DropFileSource->OnGetDragImage = [this](TCustomDropSource&, IDragSourceHelper* helper, bool& handled) {
        DropFileSourceGetDragImage(helper, handled);
    };
    DropFileSource->SetShowImage(true);

    // Accepts nothing: it only draws the drag image over the window, its children included.
    DropDummy = std::make_unique<TDropDummy>();
    DropDummy->SetDragTypes({});
    DropDummy->SetTarget(hwnd());

    ResultListView->OnDragRequest = [this](const std::vector<std::wstring>& paths) { return StartFileDrag(paths); };

    DropFileTarget = std::make_unique<TDropFileTarget>();
    DropFileTarget->SetDragTypes({dtCopy, dtMove, dtLink});
    // The box only reads the names: the cursor never offers a move, and a drop that still carries one answers no
    // effect, so the source never deletes the folders dropped here.
    DropFileTarget->SetRefuseMove(true);
    // A drop the box does not take answers no effect: the source learns that nothing was done with its files.
    DropFileTarget->OnDrop = [this](TCustomDropTarget&, TShiftState, POINT, DWORD& effect) {
        if (!DropFileTargetDrop()) effect = DROPEFFECT_NONE;
    };
    // Registered on the box: over it the cursor is over its edit, from which the target walks up to the box.
    DropFileTarget->SetTarget(tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath.hwnd());
    DropFileTarget->SetOptimizedMove(true);
}

// The drag of the result list's selected files; true when it ended in a move (the list then drops the rows whose
// files left). The drag loop holds back this thread's messages until its end: what is pending runs first.
bool TfrmMerrowinMain::StartFileDrag(const std::vector<std::wstring>& paths) {
    const BusyScope drag(*this, dragging_);
    DropFileSource->Files().Clear();
    kit::ProcessMessagesNow();
    for (const std::wstring& path : paths) DropFileSource->Files().Add(path);
    kit::ProcessMessagesNow();
    // A close that came meanwhile is not kept waiting for a drag the person has not seen start.
    if (closeRequested_ || kit::QuitRequested()) return false;
    MakeDragImage();
    const kit::ScopeExit noImage([this] {
        DropFileSource->SetImages(nullptr);
        dragImage_.reset();
    });
    return DropFileSource->Execute() == dragdrop::drDropMove;
}

// The dragged row's picture, for the image list's drag: it shows where the shell's image service does not work
// (under Wine), over this program's own windows.
void TfrmMerrowinMain::MakeDragImage() {
    const HWND list = ResultListView->hwnd();
    const int item = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    POINT upperLeft{};
    dragImage_ = item < 0 ? kit::UniqueImageList() : NameDragImage(list, item, upperLeft);
    if (!dragImage_) return;
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(dragImage_.get(), &width, &height);
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(list, &cursor);
    DropFileSource->SetImages(dragImage_.get());
    DropFileSource->SetImageIndex(0);
    // A row taken by another column than its name: the picture comes under the cursor.
    DropFileSource->SetImageHotSpot({std::clamp(static_cast<int>(cursor.x - upperLeft.x), 0, width - 1),
                                     std::clamp(static_cast<int>(cursor.y - upperLeft.y), 0, height - 1)});
}

void TfrmMerrowinMain::DropFileSourceGetDragImage(IDragSourceHelper* dragSourceHelper, bool& handled) {
    const HWND list = ResultListView->hwnd();
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(list, &cursor);
    handled = dragSourceHelper &&
              SUCCEEDED(dragSourceHelper->InitializeFromWindow(list, &cursor,
                                                               static_cast<IDataObject*>(DropFileSource.get())));
}

bool TfrmMerrowinMain::DropFileTargetDrop() {
    TMRUFolderComboBox& path = tshSELECTFilesAndFolders.cbmfldFOLDERSSearchPath;
    if (!path.DropFolders(DropFileTarget->Files().ToVector())) return false;
    SetFocus(path.hwnd());
    return true;
}

} // namespace ui
