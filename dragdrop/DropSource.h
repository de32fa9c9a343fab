#pragma once
// The drop source: the component that starts an OLE drag (or puts its data on the clipboard) and serves the
// data to whoever receives them. It is the data object, the drop source and the asynchronous-operation object
// in one. The multi source renders every clipboard format of its data formats and keeps what a target sets.
#include <windows.h>
#include <ole2.h>
#include <commctrl.h>
#include <shobjidl.h>

#include <functional>
#include <memory>
#include <vector>

#include "dragdrop/DragDrop.h"
#include "dragdrop/DragDropFormats.h"
#include "dragdrop/DragDropThreads.h"

namespace dragdrop {

class TCustomDropSource;
class TDropSourceThread;

using TDropEvent = std::function<void(TCustomDropSource& sender, TDragType dragType, bool& continueDrop)>;
using TAfterDropEvent = std::function<void(TCustomDropSource& sender, TDragResult dragResult, bool optimized)>;
using TFeedbackEvent = std::function<void(TCustomDropSource& sender, DWORD effect, bool& useDefaultCursors)>;
using TDropDataEvent =
    std::function<void(TCustomDropSource& sender, const FORMATETC& formatEtc, STGMEDIUM& medium, bool& handled)>;
using TPasteEvent = std::function<void(TCustomDropSource& sender, TDragResult action, bool deleteOnPaste)>;
using TGetDragImageEvent =
    std::function<void(TCustomDropSource& sender, IDragSourceHelper* dragSourceHelper, bool& handled)>;

class TCustomDropSource : public TDragDropComponent,
                          public IDataObject,
                          public IDropSource,
                          public IAsyncOperation {
public:
    ~TCustomDropSource() override;

    // The allowed effects; copy unless told otherwise.
    TDragTypes DragTypes() const { return dragTypes_; }
    void SetDragTypes(TDragTypes dragTypes) { dragTypes_ = dragTypes; }
    // The last effect OLE passed to GiveFeedback in this drag (none at its start).
    DWORD FeedbackEffect() const { return feedbackEffect_; }

    TDropEvent OnDrop;
    TAfterDropEvent OnAfterDrop;
    TFeedbackEvent OnFeedback;
    TDropDataEvent OnGetData;
    TDropDataEvent OnSetData;  // the medium is the target's; copy what is kept
    TPasteEvent OnPaste;
    TGetDragImageEvent OnGetDragImage;

    // The drag image: the shell's image service when it works (OnGetDragImage, or the list image), else the
    // image list's own drag. The list is not owned.
    HIMAGELIST Images() const { return images_; }
    void SetImages(HIMAGELIST images);
    int ImageIndex() const { return imageIndex_; }
    // Kept only inside the list's images; -1 otherwise.
    void SetImageIndex(int index);
    bool ShowImage() const { return showImage_; }
    void SetShowImage(bool show) { showImage_ = show; }
    POINT ImageHotSpot() const { return imageHotSpot_; }
    void SetImageHotSpot(POINT hotSpot) { imageHotSpot_ = hotSpot; }

    bool AllowAsyncTransfer() const { return allowAsyncTransfer_; }
    void SetAllowAsyncTransfer(bool allow) { allowAsyncTransfer_ = allow; }
    bool AsyncMode() const { return asyncMode_; }
    bool InAsyncThread() const { return inAsyncThread_; }
    bool InOperation() const { return inOperation_; }
    // A drag started by Execute runs (its owner must not go away meanwhile).
    bool Dragging() const { return dragging_; }

    // Runs a drag and answers how it ended. Asynchronous: the drag loop runs in a worker thread, the answer is
    // drAsync and the end comes through OnAfterDrop. Throws while a drag or an asynchronous transfer runs.
    virtual TDragResult Execute(bool asynchronous = false);
    virtual bool CutToClipboard();
    virtual bool CopyToClipboard();
    // Leaves a copy of the data on the clipboard when this object is on it.
    virtual void FlushClipboard();
    virtual void EmptyClipboard();

    // The feedback values: the base keeps none (0, false, the null class).
    virtual DWORD GetPerformedDropEffect() const { return 0; }
    virtual DWORD GetLogicalPerformedDropEffect() const { return 0; }
    virtual void SetPerformedDropEffect(DWORD) {}
    virtual DWORD GetPreferredDropEffect() const { return 0; }
    virtual void SetPreferredDropEffect(DWORD) {}
    virtual bool GetInShellDragLoop() const { return false; }
    virtual CLSID GetTargetCLSID() const { return GUID_NULL; }
    virtual void SetInShellDragLoop(bool) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ComAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return ComRelease(); }
    // IDataObject
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* formatEtc, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* formatEtc) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* formatEtc, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* formatEtc, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** enumerator) override;
    // IDropSource
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;
    // IAsyncOperation
    HRESULT STDMETHODCALLTYPE SetAsyncMode(BOOL doOpAsync) override;
    HRESULT STDMETHODCALLTYPE GetAsyncMode(BOOL* isOpAsync) override;
    HRESULT STDMETHODCALLTYPE StartOperation(IBindCtx* reserved) override;
    HRESULT STDMETHODCALLTYPE InOperation(BOOL* inAsyncOp) override;
    HRESULT STDMETHODCALLTYPE EndOperation(HRESULT result, IBindCtx* reserved, DWORD effects) override;

protected:
    TCustomDropSource();
    explicit TCustomDropSource(std::unique_ptr<TDataFormats> dataFormats);

    void* GetInterface(REFIID iid) override;
    // Sources render for the source side of the map.
    void FillCompatibleFormats(const TDataFormatClass& type, TClipboardFormats& formats) override;

    virtual HRESULT DoGetData(const FORMATETC& formatEtc, STGMEDIUM& medium) = 0;
    virtual HRESULT DoSetData(const FORMATETC& formatEtc, const STGMEDIUM& medium);
    virtual bool HasFormat(const FORMATETC& formatEtc) = 0;
    // A new enumerator with a reference of the caller's, or null.
    virtual IEnumFORMATETC* GetEnumFormatEtc(DWORD direction) = 0;
    // The whole synchronous drag: image, drag loop, result.
    virtual TDragResult DoExecute();
    virtual void DataChanging();
    virtual bool PutOnClipboard();
    virtual void DoOnPaste(TDragResult action, bool deleteOnPaste);
    virtual bool DoGetDragImage();
    // Every feedback value a drag reports is forgotten at its start.
    virtual void ResetFeedback() { feedbackEffect_ = DROPEFFECT_NONE; }

    // Stops a worker's drag (it ends as cancelled) and waits for its end; for the destructor of the class
    // that owns the data, before they go.
    void EndAsyncDrag();

private:
    friend class TDropSourceThread;
    enum : UINT { kCallQueryContinueDrag, kCallGiveFeedback, kCallDragEnded };

    void BeginDragImage();
    void EndDragImage();
    // What a drag loop's answer and effect mean, with the feedback the target gave.
    TDragResult DragResultOf(HRESULT answer, DWORD effect, DWORD allowed) const;
    // The end of a drag, after its loop: the performed effect, the asynchronous operation, OnAfterDrop.
    TDragResult FinishDrag(HRESULT answer, DWORD effect, DWORD allowed);
    TDragResult ExecuteAsync();
    LRESULT OnWindowCall(UINT code, WPARAM wp, LPARAM lp);

    DWORD ownerThread_ = GetCurrentThreadId();
    TDragTypes dragTypes_{dtCopy};
    DWORD feedbackEffect_ = DROPEFFECT_NONE;
    HIMAGELIST images_ = nullptr;
    int imageIndex_ = -1;
    bool showImage_ = false;
    POINT imageHotSpot_{16, 16};
    kit::ComPtr<IDragSourceHelper> dragSourceHelper_;
    bool imageShown_ = false;
    bool allowAsyncTransfer_ = false;
    bool asyncMode_ = false;
    bool inAsyncThread_ = false;
    bool inOperation_ = false;
    // The target took this drag's data asynchronously: its EndOperation, which may come before the drag loop's end
    // is handled, raises OnAfterDrop, and the end of the loop does not.
    bool operationStarted_ = false;
    bool dragging_ = false;
    bool closing_ = false;  // the object is going: OLE calls answer failures, a worker's drag is cancelled
    DWORD asyncAllowed_ = 0;
    TComponentWindow window_;
    std::unique_ptr<TDropSourceThread> thread_;
};

// A data format list that tells its source of every change to one of its data formats (the clipboard keeps a
// copy of the old data first).
class TSourceDataFormats : public TDataFormats {
public:
    explicit TSourceDataFormats(std::function<void()> dataChanging) : dataChanging_(std::move(dataChanging)) {}
    int Add(TCustomDataFormat* format) override;

private:
    std::function<void()> dataChanging_;
};

// A drop source over a list of data formats. A target's feedback lands in FeedbackDataFormat, formats no data
// format understands in RawDataFormat, from where GetData serves them again.
class TCustomDropMultiSource : public TCustomDropSource {
public:
    ~TCustomDropMultiSource() override;

    TFeedbackDataFormat& FeedbackDataFormat() { return *feedbackDataFormat_; }
    TRawDataFormat& RawDataFormat() { return *rawDataFormat_; }

    DWORD GetPerformedDropEffect() const override { return feedbackDataFormat_->PerformedDropEffect(); }
    DWORD GetLogicalPerformedDropEffect() const override {
        return feedbackDataFormat_->LogicalPerformedDropEffect();
    }
    void SetPerformedDropEffect(DWORD effect) override { feedbackDataFormat_->SetPerformedDropEffect(effect); }
    DWORD GetPreferredDropEffect() const override { return feedbackDataFormat_->PreferredDropEffect(); }
    void SetPreferredDropEffect(DWORD effect) override { feedbackDataFormat_->SetPreferredDropEffect(effect); }
    bool GetInShellDragLoop() const override { return feedbackDataFormat_->InShellDragLoop(); }
    CLSID GetTargetCLSID() const override { return feedbackDataFormat_->TargetCLSID(); }
    void SetInShellDragLoop(bool value) override { feedbackDataFormat_->SetInShellDragLoop(value); }

protected:
    TCustomDropMultiSource();

    HRESULT DoGetData(const FORMATETC& formatEtc, STGMEDIUM& medium) override;
    HRESULT DoSetData(const FORMATETC& formatEtc, const STGMEDIUM& medium) override;
    bool HasFormat(const FORMATETC& formatEtc) override;
    IEnumFORMATETC* GetEnumFormatEtc(DWORD direction) override;
    void ResetFeedback() override;
    // Data formats made here live as long as the source.
    TOwnedDataFormats& OwnedDataFormats() { return ownedFormats_; }

private:
    // A raw clipboard format that took the medium, replacing an earlier one of the same format.
    bool KeepRawData(const FORMATETC& formatEtc, const STGMEDIUM& medium);
    void TakeFeedback(const TClipboardFormat& format);

    TOwnedDataFormats ownedFormats_;
    TFeedbackDataFormat* feedbackDataFormat_;
    dragdrop::TRawDataFormat* rawDataFormat_;
};

// An enumerator over FORMATETCs copied when it is made: the formats it was made from may go meanwhile.
class TEnumFormatEtc : public IEnumFORMATETC {
public:
    static IEnumFORMATETC* Create(std::vector<FORMATETC> formats, size_t index = 0);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** clone) override;

private:
    TEnumFormatEtc(std::vector<FORMATETC> formats, size_t index) : formats_(std::move(formats)), index_(index) {}
    virtual ~TEnumFormatEtc() = default;
    std::atomic<ULONG> references_{1};
    std::vector<FORMATETC> formats_;
    size_t index_;
};

} // namespace dragdrop
