#include "dragdrop/DropSource.h"

#include <shlguid.h>

#include <algorithm>

#include "dragdrop/DropSourceThread.h"
#include "kit/DeviceContexts.h"
#include "kit/Exception.h"
#include "kit/Guard.h"
#include "kit/Scope.h"

namespace dragdrop {
namespace {

// A performed effect of -1 means "none reported yet", not every effect at once.
bool IsMove(DWORD effect) { return effect != static_cast<DWORD>(-1) && (effect & DROPEFFECT_MOVE) != 0; }

HRESULT HresultOf(WPARAM wp) { return static_cast<HRESULT>(static_cast<ULONG>(wp)); }

} // namespace

// --- TCustomDropSource

TCustomDropSource::TCustomDropSource() : TCustomDropSource(std::make_unique<TDataFormats>()) {}

TCustomDropSource::TCustomDropSource(std::unique_ptr<TDataFormats> dataFormats)
    : TDragDropComponent(std::move(dataFormats)),
      window_(nullptr, [this](UINT code, WPARAM wp, LPARAM lp) { return OnWindowCall(code, wp, lp); }) {}

TCustomDropSource::~TCustomDropSource() {
    EndAsyncDrag();
    closing_ = true;
    // OLE's clipboard must not keep a pointer to an object that is going; the class that owns the data has
    // left a copy there already when it could.
    if (OleIsCurrentClipboard(static_cast<IDataObject*>(this)) == S_OK) OleSetClipboard(nullptr);
    DisconnectObject();
}

void TCustomDropSource::SetImages(HIMAGELIST images) {
    images_ = images;
    SetImageIndex(imageIndex_);
}

void TCustomDropSource::SetImageIndex(int index) {
    imageIndex_ = images_ && index >= 0 && index < ImageList_GetImageCount(images_) ? index : -1;
}

void* TCustomDropSource::GetInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDataObject) return static_cast<IDataObject*>(this);
    if (iid == IID_IDropSource) return static_cast<IDropSource*>(this);
    if (iid == __uuidof(IAsyncOperation)) return static_cast<IAsyncOperation*>(this);
    return nullptr;
}

void TCustomDropSource::FillCompatibleFormats(const TDataFormatClass& type, TClipboardFormats& formats) {
    TDataFormatMap::Instance().GetClipboardFormats(type, TFormatSide::Source, formats);
}

HRESULT TCustomDropSource::QueryInterface(REFIID iid, void** object) {
    return kit::GuardedCom(L"TCustomDropSource.QueryInterface", [&] { return ComQueryInterface(iid, object); });
}

// --- IDataObject

HRESULT TCustomDropSource::GetData(FORMATETC* formatEtc, STGMEDIUM* medium) {
    return kit::GuardedCom(L"TCustomDropSource.GetData", [&]() -> HRESULT {
        if (!formatEtc || !medium) return E_INVALIDARG;
        *medium = STGMEDIUM{};
        if (closing_) return E_UNEXPECTED;
        if (OnGetData) {
            bool handled = false;
            OnGetData(*this, *formatEtc, *medium, handled);
            if (handled) return S_OK;
        }
        if (!HasFormat(*formatEtc)) return DV_E_FORMATETC;
        return DoGetData(*formatEtc, *medium);
    });
}

HRESULT TCustomDropSource::QueryGetData(FORMATETC* formatEtc) {
    return kit::GuardedCom(L"TCustomDropSource.QueryGetData", [&]() -> HRESULT {
        if (!formatEtc) return E_INVALIDARG;
        if (closing_) return E_UNEXPECTED;
        return HasFormat(*formatEtc) ? S_OK : DV_E_FORMATETC;
    });
}

HRESULT TCustomDropSource::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    return kit::GuardedCom(L"TCustomDropSource.GetCanonicalFormatEtc", [&]() -> HRESULT {
        if (!out) return E_INVALIDARG;
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    });
}

HRESULT TCustomDropSource::SetData(FORMATETC* formatEtc, STGMEDIUM* medium, BOOL release) {
    return kit::GuardedCom(L"TCustomDropSource.SetData", [&]() -> HRESULT {
        if (!formatEtc || !medium) return E_INVALIDARG;
        if (closing_) return E_UNEXPECTED;
        const HRESULT hr = DoSetData(*formatEtc, *medium);
        // The medium becomes ours only when the call succeeds; after a failure the caller still owns it.
        if (hr == S_OK && release) ReleaseStgMedium(medium);
        return hr;
    });
}

HRESULT TCustomDropSource::DoSetData(const FORMATETC& formatEtc, const STGMEDIUM& medium) {
    if (!OnSetData) return E_NOTIMPL;
    bool handled = false;
    STGMEDIUM given = medium;
    OnSetData(*this, formatEtc, given, handled);
    return handled ? S_OK : E_NOTIMPL;
}

HRESULT TCustomDropSource::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) {
    return kit::GuardedCom(L"TCustomDropSource.EnumFormatEtc", [&]() -> HRESULT {
        if (!enumerator) return E_INVALIDARG;
        *enumerator = closing_ ? nullptr : GetEnumFormatEtc(direction);
        return *enumerator ? S_OK : E_NOTIMPL;
    });
}

HRESULT TCustomDropSource::EnumDAdvise(IEnumSTATDATA** enumerator) {
    if (enumerator) *enumerator = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// --- IDropSource

HRESULT TCustomDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    return kit::GuardedCom(L"TCustomDropSource.QueryContinueDrag", [&]() -> HRESULT {
        if (escapePressed || closing_) return DRAGDROP_S_CANCEL;
        if (keyState & (MK_LBUTTON | MK_RBUTTON)) return S_OK;
        TDragType dragType;
        bool continueDrop = DropEffectToDragType(feedbackEffect_, dragType) && dragTypes_.Contains(dragType);
        SetInShellDragLoop(false);
        if (continueDrop && OnDrop) OnDrop(*this, dragType, continueDrop);
        return continueDrop ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
    });
}

HRESULT TCustomDropSource::GiveFeedback(DWORD effect) {
    return kit::GuardedCom(L"TCustomDropSource.GiveFeedback", [&]() -> HRESULT {
        feedbackEffect_ = effect;
        bool useDefaultCursors = true;
        if (OnFeedback && !closing_) OnFeedback(*this, effect, useDefaultCursors);
        return useDefaultCursors ? DRAGDROP_S_USEDEFAULTCURSORS : S_OK;
    });
}

// --- IAsyncOperation

HRESULT TCustomDropSource::SetAsyncMode(BOOL doOpAsync) {
    if (!allowAsyncTransfer_) return E_NOTIMPL;
    asyncMode_ = doOpAsync != FALSE;
    return S_OK;
}

HRESULT TCustomDropSource::GetAsyncMode(BOOL* isOpAsync) {
    if (!isOpAsync) return E_INVALIDARG;
    *isOpAsync = asyncMode_ ? -1 : 0;
    return S_OK;
}

HRESULT TCustomDropSource::StartOperation(IBindCtx*) {
    if (!asyncMode_) return E_NOTIMPL;
    inOperation_ = true;
    operationStarted_ = true;
    return S_OK;
}

HRESULT TCustomDropSource::InOperation(BOOL* inAsyncOp) {
    if (!inAsyncOp) return E_INVALIDARG;
    *inAsyncOp = inOperation_ ? -1 : 0;
    return S_OK;
}

HRESULT TCustomDropSource::EndOperation(HRESULT result, IBindCtx*, DWORD effects) {
    return kit::GuardedCom(L"TCustomDropSource.EndOperation", [&]() -> HRESULT {
        if (!inOperation_) return E_FAIL;
        inOperation_ = false;
        if (OnAfterDrop && !closing_) {
            const TDragResult dragResult =
                FAILED(result) ? drUnknown : DropEffectToDragResult(DragTypesToDropEffect(dragTypes_) & effects);
            OnAfterDrop(*this, dragResult, !(dragResult == drDropMove && IsMove(GetPerformedDropEffect())));
        }
        return S_OK;
    });
}

// --- The drag

TDragResult TCustomDropSource::Execute(bool asynchronous) {
    if (inOperation_) throw kit::Exception(L"An asynchronous drag and drop operation is in progress");
    if (dragging_) throw kit::Exception(L"A drag and drop operation is already in progress");
    // A value left by the last drag would decide this one: a stale "move" dropped at once, with no button down.
    SetPerformedDropEffect(static_cast<DWORD>(-1));
    ResetFeedback();
    asyncMode_ = false;
    inAsyncThread_ = false;
    inOperation_ = false;
    operationStarted_ = false;
    if (allowAsyncTransfer_) SetAsyncMode(TRUE);
    if (asynchronous) return ExecuteAsync();

    dragging_ = true;
    const kit::ScopeExit dragEnds([this] { dragging_ = false; });
    return DoExecute();
}

TDragResult TCustomDropSource::DoExecute() {
    const DWORD allowed = DragTypesToDropEffect(dragTypes_);
    BeginDragImage();
    DWORD effect = DROPEFFECT_NONE;
    SetInShellDragLoop(true);
    const HRESULT answer = DoDragDrop(static_cast<IDataObject*>(this), static_cast<IDropSource*>(this), allowed, &effect);
    SetInShellDragLoop(false);
    EndDragImage();
    return FinishDrag(answer, effect, allowed);
}

TDragResult TCustomDropSource::ExecuteAsync() {
    asyncAllowed_ = DragTypesToDropEffect(dragTypes_);
    inAsyncThread_ = true;
    BeginDragImage();  // here: the image belongs to the data object and to this process's image-list drag
    try {
        thread_ = std::make_unique<TDropSourceThread>(*this, asyncAllowed_);
    } catch (...) {
        EndDragImage();
        inAsyncThread_ = false;
        throw;
    }
    dragging_ = true;
    SetInShellDragLoop(true);
    if (!thread_->WaitStarted()) {
        // The worker must not outlive the failed start: its drag is cancelled at its first question and waited
        // for; the source itself lives on for the next drag.
        EndAsyncDrag();
        SetInShellDragLoop(false);
        closing_ = false;
        throw kit::Exception(L"Failed to initiate asynchronouse drag and drop operation");
    }
    return drAsync;
}

LRESULT TCustomDropSource::OnWindowCall(UINT code, WPARAM wp, LPARAM lp) {
    switch (code) {
    case kCallQueryContinueDrag:
        return QueryContinueDrag(wp != 0, static_cast<DWORD>(lp));
    case kCallGiveFeedback:
        return GiveFeedback(static_cast<DWORD>(wp));
    case kCallDragEnded: {
        if (closing_ || !thread_) return 0;
        thread_.reset();  // its last act was this message: the wait is short
        const kit::ScopeExit dragEnds([this] {
            dragging_ = false;
            inAsyncThread_ = false;
        });
        SetInShellDragLoop(false);
        EndDragImage();
        FinishDrag(HresultOf(wp), static_cast<DWORD>(lp), asyncAllowed_);
        return 0;
    }
    default:
        return 0;
    }
}

void TCustomDropSource::EndAsyncDrag() {
    if (!thread_) return;
    closing_ = true;  // the worker's next question is answered "cancel"
    thread_.reset();
    dragging_ = false;
    inAsyncThread_ = false;
    EndDragImage();
}

void TCustomDropSource::BeginDragImage() {
    imageShown_ = false;
    if (!showImage_) return;
    if (SUCCEEDED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDragSourceHelper,
                                   dragSourceHelper_.put_void()))) {
        imageShown_ = DoGetDragImage();
        if (!imageShown_) dragSourceHelper_.reset();
    }
    if (!dragSourceHelper_ && images_)
        imageShown_ = ImageList_BeginDrag(images_, imageIndex_, imageHotSpot_.x, imageHotSpot_.y) != FALSE;
}

void TCustomDropSource::EndDragImage() {
    if (imageShown_ && !dragSourceHelper_) ImageList_EndDrag();
    imageShown_ = false;
    dragSourceHelper_.reset();
}

bool TCustomDropSource::DoGetDragImage() {
    bool handled = false;
    if (OnGetDragImage) OnGetDragImage(*this, dragSourceHelper_.get(), handled);
    if (handled || !images_ || imageIndex_ < 0) return handled;

    int width = 0;
    int height = 0;
    ImageList_GetIconSize(images_, &width, &height);
    const COLORREF background = ImageList_GetBkColor(images_);
    kit::UniqueBitmap bitmap;
    {
        const kit::WindowDc screen(nullptr);
        bitmap.reset(CreateCompatibleBitmap(screen.get(), width, height));
        const kit::MemoryDc memory(screen.get(), bitmap.get());
        if (background != CLR_NONE) {
            const kit::UniqueBrush brush(CreateSolidBrush(background));
            const RECT all{0, 0, width, height};
            FillRect(memory.get(), &all, brush.get());
        }
        ImageList_Draw(images_, imageIndex_, memory.get(), 0, 0, ILD_NORMAL);
    }
    SHDRAGIMAGE image{{width, height}, imageHotSpot_, bitmap.get(), background};
    if (FAILED(dragSourceHelper_->InitializeFromBitmap(&image, static_cast<IDataObject*>(this)))) return false;
    bitmap.release();  // the shell's image object owns it now
    return true;
}

TDragResult TCustomDropSource::DragResultOf(HRESULT answer, DWORD effect, DWORD allowed) const {
    if (answer == E_OUTOFMEMORY) return drOutMemory;
    if (answer == DRAGDROP_S_CANCEL) return drCancel;
    if (answer != DRAGDROP_S_DROP) return drUnknown;
    // An optimised move: the target moved the files itself and reports it here, not in the loop's effect.
    if (IsMove(GetLogicalPerformedDropEffect())) return drDropMove;
    if (effect & DROPEFFECT_MOVE) return DropEffectToDragResult(effect & allowed);
    if (IsMove(GetPerformedDropEffect())) return drDropMove;
    return DropEffectToDragResult(effect & allowed);
}

TDragResult TCustomDropSource::FinishDrag(HRESULT answer, DWORD effect, DWORD allowed) {
    const TDragResult result = DragResultOf(answer, effect, allowed);
    if (GetPerformedDropEffect() == static_cast<DWORD>(-1)) SetPerformedDropEffect(0);
    if (inOperation_ && answer != DRAGDROP_S_DROP) inOperation_ = false;
    if (inOperation_ || (operationStarted_ && answer == DRAGDROP_S_DROP))
        return result;  // OnAfterDrop comes with EndOperation, or came with it already
    if (OnAfterDrop) {
        bool optimized = false;
        if (result == drDropMove) optimized = (effect & DROPEFFECT_MOVE) ? !IsMove(GetPerformedDropEffect()) : true;
        OnAfterDrop(*this, result, optimized);
    }
    return result;
}

// --- The clipboard

bool TCustomDropSource::PutOnClipboard() { return OleSetClipboard(static_cast<IDataObject*>(this)) == S_OK; }

bool TCustomDropSource::CutToClipboard() {
    SetPreferredDropEffect(DROPEFFECT_MOVE);
    return PutOnClipboard();
}

bool TCustomDropSource::CopyToClipboard() {
    SetPreferredDropEffect(DROPEFFECT_COPY);
    return PutOnClipboard();
}

void TCustomDropSource::FlushClipboard() {
    if (OleIsCurrentClipboard(static_cast<IDataObject*>(this)) == S_OK) OleCheck(OleFlushClipboard());
}

void TCustomDropSource::EmptyClipboard() {
    if (OleIsCurrentClipboard(static_cast<IDataObject*>(this)) == S_OK) OleSetClipboard(nullptr);
}

void TCustomDropSource::DataChanging() { FlushClipboard(); }

void TCustomDropSource::DoOnPaste(TDragResult action, bool deleteOnPaste) {
    if (OnPaste) OnPaste(*this, action, deleteOnPaste);
}

// --- TSourceDataFormats

int TSourceDataFormats::Add(TCustomDataFormat* format) {
    const int index = TDataFormats::Add(format);
    format->OnChanging = [changing = dataChanging_](TCustomDataFormat&) { changing(); };
    return index;
}

// --- TCustomDropMultiSource

TCustomDropMultiSource::TCustomDropMultiSource()
    : TCustomDropSource(std::make_unique<TSourceDataFormats>([this] { DataChanging(); })),
      feedbackDataFormat_(&ownedFormats_.Make<TFeedbackDataFormat>(this)),
      rawDataFormat_(&ownedFormats_.Make<dragdrop::TRawDataFormat>(this)) {}

TCustomDropMultiSource::~TCustomDropMultiSource() {
    // While the data formats are still here: the clipboard keeps a copy, a worker's drag ends.
    kit::GuardedQuiet(L"TCustomDropMultiSource.FlushClipboard", [this] { FlushClipboard(); });
    EndAsyncDrag();
    DisconnectObject();
    ownedFormats_.Clear();
}

bool TCustomDropMultiSource::HasFormat(const FORMATETC& formatEtc) {
    for (int i = 0; i < DataFormats().Count(); ++i)
        if (DataFormats()[i]->Matches(formatEtc)) return true;
    return false;
}

HRESULT TCustomDropMultiSource::DoGetData(const FORMATETC& formatEtc, STGMEDIUM& medium) {
    medium = STGMEDIUM{};
    for (int i = 0; i < DataFormats().Count(); ++i) {
        TCustomDataFormat& dataFormat = *DataFormats()[i];
        if (!dataFormat.HasData()) continue;
        const TClipboardFormats& formats = dataFormat.CompatibleFormats();
        for (int j = 0; j < formats.Count(); ++j) {
            TClipboardFormat& format = formats[j];
            if (!format.Matches(formatEtc)) continue;
            const bool rendered =
                dataFormat.GiveToClipboardFormat(format) && format.HasData() && format.RenderMedium(formatEtc, medium);
            if (&dataFormat != rawDataFormat_) format.Clear();  // a raw format holds its data itself
            if (rendered) return S_OK;
        }
    }
    return DV_E_FORMATETC;
}

HRESULT TCustomDropMultiSource::DoSetData(const FORMATETC& formatEtc, const STGMEDIUM& medium) {
    for (int i = 0; i < DataFormats().Count(); ++i) {
        TCustomDataFormat& dataFormat = *DataFormats()[i];
        if (&dataFormat == rawDataFormat_) continue;
        const TClipboardFormats& formats = dataFormat.CompatibleFormats();
        for (int j = 0; j < formats.Count(); ++j) {
            TClipboardFormat& format = formats[j];
            if (!format.Matches(formatEtc)) continue;
            const bool taken = format.GetDataFromMedium(static_cast<IDataObject*>(this), medium) &&
                               dataFormat.TakeFromClipboardFormat(format);
            if (taken) TakeFeedback(format);
            format.Clear();
            if (taken) return S_OK;
        }
    }
    return KeepRawData(formatEtc, medium) ? S_OK : E_NOTIMPL;
}

bool TCustomDropMultiSource::KeepRawData(const FORMATETC& formatEtc, const STGMEDIUM& medium) {
    auto raw = std::make_shared<TRawClipboardFormat>(formatEtc);
    if (!raw->GetDataFromMedium(static_cast<IDataObject*>(this), medium)) return false;
    // The same format set again replaces what was kept: the store must not grow with every SetData.
    TClipboardFormats& kept = rawDataFormat_->CompatibleFormats();
    for (int i = 0; i < kept.Count(); ++i) {
        const FORMATETC& old = kept[i].FormatEtc();
        if (old.cfFormat == formatEtc.cfFormat && old.dwAspect == formatEtc.dwAspect && old.lindex == formatEtc.lindex) {
            kept.Remove(kept[i]);
            break;
        }
    }
    return rawDataFormat_->TakeFromClipboardFormat(kept.Add(std::move(raw)));
}

void TCustomDropMultiSource::TakeFeedback(const TClipboardFormat& format) {
    if (const auto* paste = dynamic_cast<const TPasteSucceededClipboardFormat*>(&format)) {
        DoOnPaste(DropEffectToDragResult(paste->Value()),
                  (paste->Value() & DROPEFFECT_MOVE) && IsMove(GetPerformedDropEffect()));
    } else if (const auto* performed = dynamic_cast<const TPerformedDropEffectClipboardFormat*>(&format)) {
        if (InOperation()) EndOperation(S_OK, nullptr, performed->Value());
    }
}

IEnumFORMATETC* TCustomDropMultiSource::GetEnumFormatEtc(DWORD direction) {
    const TDataDirections wanted = direction == DATADIR_GET ? ddRead : direction == DATADIR_SET ? ddWrite : 0;
    if (!wanted) return nullptr;
    std::vector<FORMATETC> listed;
    for (int i = 0; i < DataFormats().Count(); ++i) {
        const TCustomDataFormat& dataFormat = *DataFormats()[i];
        if (!dataFormat.HasData()) continue;
        const TClipboardFormats& formats = dataFormat.CompatibleFormats();
        for (int j = 0; j < formats.Count(); ++j) {
            if (!(formats[j].ClassType().Directions() & wanted)) continue;
            const FORMATETC& formatEtc = formats[j].FormatEtc();
            const bool known = std::any_of(listed.begin(), listed.end(), [&](const FORMATETC& other) {
                return other.cfFormat == formatEtc.cfFormat && other.dwAspect == formatEtc.dwAspect &&
                       other.lindex == formatEtc.lindex && other.tymed == formatEtc.tymed;
            });
            if (!known) listed.push_back(formatEtc);
        }
    }
    return TEnumFormatEtc::Create(std::move(listed));
}

void TCustomDropMultiSource::ResetFeedback() {
    TCustomDropSource::ResetFeedback();
    feedbackDataFormat_->SetLogicalPerformedDropEffect(0);
    feedbackDataFormat_->SetPasteSucceeded(0);
    feedbackDataFormat_->SetTargetCLSID(GUID_NULL);
}

// --- TEnumFormatEtc

IEnumFORMATETC* TEnumFormatEtc::Create(std::vector<FORMATETC> formats, size_t index) {
    return new TEnumFormatEtc(std::move(formats), index);
}

HRESULT TEnumFormatEtc::QueryInterface(REFIID iid, void** object) {
    return kit::GuardedCom(L"TEnumFormatEtc.QueryInterface", [&]() -> HRESULT {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IEnumFORMATETC) return E_NOINTERFACE;
        *object = static_cast<IEnumFORMATETC*>(this);
        AddRef();
        return S_OK;
    });
}

ULONG TEnumFormatEtc::AddRef() { return ++references_; }

ULONG TEnumFormatEtc::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT TEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
    return kit::GuardedCom(L"TEnumFormatEtc.Next", [&]() -> HRESULT {
        if (!formats || (!fetched && count != 1)) return E_INVALIDARG;
        ULONG copied = 0;
        while (copied < count && index_ < formats_.size()) formats[copied++] = formats_[index_++];
        if (fetched) *fetched = copied;
        return copied == count ? S_OK : S_FALSE;
    });
}

HRESULT TEnumFormatEtc::Skip(ULONG count) {
    if (count > formats_.size() - index_) {
        index_ = formats_.size();
        return S_FALSE;
    }
    index_ += count;
    return S_OK;
}

HRESULT TEnumFormatEtc::Reset() {
    index_ = 0;
    return S_OK;
}

HRESULT TEnumFormatEtc::Clone(IEnumFORMATETC** clone) {
    return kit::GuardedCom(L"TEnumFormatEtc.Clone", [&]() -> HRESULT {
        if (!clone) return E_INVALIDARG;
        *clone = Create(formats_, index_);
        return S_OK;
    });
}

} // namespace dragdrop
