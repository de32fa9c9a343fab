#pragma once
// The drop target: the component that makes window controls accept OLE drops. It registers its controls,
// chooses the effect from the keys and the allowed effects, scrolls the control under a resting cursor, shows
// the drag image, and can read the data in a transfer thread when the source offers an asynchronous transfer.
// The multi target reads a list of data formats; the dummy accepts nothing and only shows the drag image.
#include <windows.h>
#include <ole2.h>
#include <commctrl.h>
#include <shobjidl.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "dragdrop/DragDrop.h"
#include "dragdrop/DragDropFormats.h"
#include "dragdrop/DragDropThreads.h"

namespace dragdrop {

class TCustomDropTarget;
class TDropTargetTransferThread;

enum TScrollDirection : std::uint8_t { sdUp, sdDown, sdLeft, sdRight };
using TScrollDirections = TEnumSet<TScrollDirection>;

using TDropTargetEvent =
    std::function<void(TCustomDropTarget& sender, TShiftState shiftState, POINT point, DWORD& effect)>;
using TDropTargetScrollEvent =
    std::function<void(TCustomDropTarget& sender, POINT point, TScrollDirections& scroll, int& interval)>;
using TDropTargetNotifyEvent = std::function<void(TCustomDropTarget& sender)>;

// Whether the cursor rests: it hovers unless, DragDropScrollHoverTime after the reference sample, it moved
// faster than DragDropScrollMaxSpeed pixels per second. Times are tick counts.
class THoverTracker {
public:
    void Reset(POINT point, DWORD now);
    // A sample of the moving cursor: the reference follows it at least DragDropScrollHoverTime behind.
    void Sample(POINT point, DWORD now);
    bool Hovers(POINT point, DWORD now) const;

private:
    struct TCursorSample {
        DWORD time;
        POINT point;
    };
    TCursorSample reference_{};
    TCursorSample newer_{};
    bool hasNewer_ = false;
};

class TCustomDropTarget : public TDragDropComponent, public IDropTarget {
public:
    ~TCustomDropTarget() override;

    // The data object of the drag in progress (null outside one).
    IDataObject* DataObject() const { return dataObject_.get(); }
    TDragTypes DragTypes() const { return dragTypes_; }
    void SetDragTypes(TDragTypes dragTypes) { dragTypes_ = dragTypes; }
    bool GetDataOnEnter() const { return getDataOnEnter_; }
    void SetGetDataOnEnter(bool value) { getDataOnEnter_ = value; }

    TDropTargetEvent OnEnter;
    TDropTargetEvent OnDragOver;
    TDropTargetEvent OnDrop;
    TDropTargetEvent OnGetDropEffect;
    TDropTargetNotifyEvent OnLeave;
    TDropTargetScrollEvent OnScroll;
    TDropTargetNotifyEvent OnStartAsyncTransfer;
    TDropTargetNotifyEvent OnEndAsyncTransfer;

    // The registered controls, each after the registered control that contains it.
    const std::vector<HWND>& Controls() const { return controls_; }
    // Makes the control accept drops; without MultiTarget it replaces every other registration.
    void Register(HWND control);
    void Unregister(HWND control);
    void UnregisterAll();
    // The registered control under the cursor during a drag.
    HWND Target() const { return currentControl_; }
    // Replaces every registered control by this one (null leaves none).
    void SetTarget(HWND control);

    bool MultiTarget() const { return multiTarget_; }
    void SetMultiTarget(bool value) { multiTarget_ = value; }
    // A drop with the move effect reports copy as performed: the target moved the data itself.
    bool OptimizedMove() const { return optimizedMove_; }
    void SetOptimizedMove(bool value) { optimizedMove_ = value; }
    // Never a move: the cursor offers copy or link, and a drop that still carries a move answers no effect,
    // so the source never deletes what it dropped here.
    bool RefuseMove() const { return refuseMove_; }
    void SetRefuseMove(bool value) { refuseMove_ = value; }
    // Read at the start of each drag; during one, a change shows or hides the image at once.
    bool ShowImage() const { return showImage_; }
    void SetShowImage(bool show);
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value) { autoScroll_ = value; }
    bool AllowAsyncTransfer() const { return allowAsyncTransfer_; }
    void SetAllowAsyncTransfer(bool value) { allowAsyncTransfer_ = value; }
    // Registered controls are watched: a destroyed control's registration ends with it.
    bool AutoRegister() const { return autoRegister_; }
    void SetAutoRegister(bool value) { autoRegister_ = value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    bool InTransfer() const { return inTransfer_; }
    // The image list of an image-list drag shown over the control (null when none).
    HIMAGELIST DragImageList() const { return dragImageList_; }

    // Reads the clipboard as a drop with the source's preferred effect; answers the effect.
    DWORD PasteFromClipboard();
    bool CanPasteFromClipboard();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ComAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return ComRelease(); }
    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* dataObject, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* dataObject, DWORD keyState, POINTL point, DWORD* effect) override;

protected:
    TCustomDropTarget();

    void* GetInterface(REFIID iid) override;
    // Targets read for the target side of the map.
    void FillCompatibleFormats(const TDataFormatClass& type, TClipboardFormats& formats) override;

    virtual void DoEnter(TShiftState shiftState, POINT point, DWORD& effect);
    virtual void DoDragOver(TShiftState shiftState, POINT point, DWORD& effect);
    virtual void DoDrop(TShiftState shiftState, POINT point, DWORD& effect);
    virtual void DoLeave();
    virtual void DoPaste(DWORD& effect);
    virtual void DoScroll(POINT point, TScrollDirections& scroll, int& interval);
    // Reads the drag's data, or starts its transfer thread; false when nothing could be read.
    virtual bool GetData(DWORD effect);
    virtual bool DoGetData(IDataObject* dataObject) = 0;
    // The reading a transfer thread runs in its own apartment; what raises events is decided here first. The
    // reader runs until EndTransfer has waited for it, so whatever it reads must outlive that: a class whose
    // reader reads its own members calls EndTransfer first in its destructor. The default one calls DoGetData
    // on this target; once the transfer is being ended, a reader not yet begun reads nothing.
    virtual std::function<bool(IDataObject*)> TransferReader(IDataObject* dataObject);
    virtual void ClearData() = 0;
    virtual DWORD GetValidDropEffect(TShiftState shiftState, POINT point, DWORD effect);
    virtual DWORD GetPreferredDropEffect();
    virtual bool SetPerformedDropEffect(DWORD effect);
    virtual bool SetPasteSucceeded(DWORD effect);
    // The registered control at a screen point: the window there, or the nearest registered parent.
    virtual HWND FindTarget(POINT screenPoint);
    virtual bool HasValidFormats(IDataObject* dataObject) = 0;
    virtual void CalcScrollRect();

    // Waits for a running transfer (it ends as failed); for the destructor of the class that owns the data.
    void EndTransfer();

private:
    friend class TDropTargetTransferThread;
    enum : UINT { kCallTransferEnded };

    POINT ClientPoint(POINT screenPoint) const;
    void OnScrollTimer();
    TScrollDirections ScrollDirectionsAt(POINT point) const;
    void TransferEnded(bool read);
    LRESULT OnWindowCall(UINT code, WPARAM wp, LPARAM lp);
    // The drag image: the shell's image service, else the image list of a running image-list drag.
    void ImageEnter(IDataObject* dataObject, POINT screenPoint, DWORD effect);
    void ImageMove(POINT screenPoint, POINT clientPoint, DWORD effect);
    void ImageLeave();
    void ImageDrop(IDataObject* dataObject, POINT screenPoint, DWORD effect);
    void ImageShow(bool show);
    HIMAGELIST DragImages();

    kit::ComPtr<IDataObject> dataObject_;
    TDragTypes dragTypes_{dtCopy};
    bool getDataOnEnter_ = false;
    std::vector<HWND> controls_;
    bool multiTarget_ = false;
    bool optimizedMove_ = false;
    bool refuseMove_ = false;
    HWND currentControl_ = nullptr;
    POINT lastPoint_{};
    bool showImage_ = true;
    bool autoScroll_ = true;
    bool allowAsyncTransfer_ = false;
    bool autoRegister_ = true;
    bool enabled_ = true;
    // This drag's own: a drag that found no control shows no image and does not scroll, the next one may.
    bool dragShowImage_ = false;
    bool dragAutoScroll_ = false;
    kit::UniqueImageList dragImages_;
    HIMAGELIST dragImageList_ = nullptr;
    POINT dragImageHotSpot_{};
    kit::ComPtr<IDropTargetHelper> dropTargetHelper_;
    bool scrollHorizontal_ = false;
    bool scrollVertical_ = false;
    RECT scrollRect_{};
    THoverTracker hover_;
    bool inTransfer_ = false;
    DWORD transferEffect_ = DROPEFFECT_NONE;
    kit::ComPtr<IAsyncOperation> transferOperation_;
    bool closing_ = false;
    TComponentWindow window_;
    std::unique_ptr<TDropTargetTransferThread> transfer_;
    std::atomic<bool> transferEnding_{false};  // read by the transfer thread
};

// A target that accepts nothing and shows the drag image over its controls.
class TDropDummy : public TCustomDropTarget {
public:
    TDropDummy() = default;

protected:
    bool DoGetData(IDataObject*) override { return false; }
    void ClearData() override {}
    bool HasValidFormats(IDataObject*) override { return false; }
};

using TAcceptFormatEvent =
    std::function<void(TCustomDropTarget& sender, const TCustomDataFormat& dataFormat, bool& accept)>;

// A drop target over a list of data formats: a drop is valid when the source offers a format one of them
// reads, and reading fills each data format it finds data for.
class TCustomDropMultiTarget : public TCustomDropTarget {
public:
    ~TCustomDropMultiTarget() override;
    TAcceptFormatEvent OnAcceptFormat;

protected:
    TCustomDropMultiTarget();

    bool DoGetData(IDataObject* dataObject) override;
    std::function<bool(IDataObject*)> TransferReader(IDataObject* dataObject) override;
    // Throws while a transfer thread fills the data formats.
    void ClearData() override;
    bool HasValidFormats(IDataObject* dataObject) override;
    virtual void DoAcceptFormat(const TCustomDataFormat& dataFormat, bool& accept);
    // Data formats made here live as long as the target.
    TOwnedDataFormats& OwnedDataFormats() { return ownedFormats_; }

private:
    // The data formats the object has data for and OnAcceptFormat keeps.
    std::vector<TCustomDataFormat*> AcceptedFormats(IDataObject* dataObject);
    static bool ReadFormats(const std::vector<TCustomDataFormat*>& formats, IDataObject* dataObject);

    TOwnedDataFormats ownedFormats_;
};

} // namespace dragdrop
