#include "dragdrop/DropTarget.h"

#include <shlguid.h>

#include <algorithm>

#include "dragdrop/DropTargetTransferThread.h"
#include "kit/DeviceContexts.h"
#include "kit/Exception.h"
#include "kit/Guard.h"

namespace dragdrop {
namespace {

DWORD EffectWithoutScroll(DWORD effect) { return effect & ~DROPEFFECT_SCROLL; }

} // namespace

// Watches a registered control's window (a subclass, not a child window of its own): when the window ends,
// its registration ends with it, so OLE keeps no registration of a window that is gone.
class TWinControlProxy {
public:
    static void Attach(HWND control, TCustomDropTarget& target) {
        SetWindowSubclass(control, &Proc, kId, reinterpret_cast<DWORD_PTR>(&target));
    }
    static void Detach(HWND control) { RemoveWindowSubclass(control, &Proc, kId); }

private:
    static constexpr UINT_PTR kId = 0x4B44;
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR target) {
        if (msg == WM_DESTROY) {
            auto* owner = reinterpret_cast<TCustomDropTarget*>(target);
            kit::GuardedMessage(window, msg, lp, L"TWinControlProxy", [&] { owner->Unregister(window); });
        }
        return DefSubclassProc(window, msg, wp, lp);
    }
};

// --- THoverTracker

void THoverTracker::Reset(POINT point, DWORD now) {
    reference_ = TCursorSample{now, point};
    hasNewer_ = false;
}

void THoverTracker::Sample(POINT point, DWORD now) {
    if (!hasNewer_) {
        if (now - reference_.time >= DragDropScrollHoverTime) {
            newer_ = TCursorSample{now, point};
            hasNewer_ = true;
        }
    } else if (now - newer_.time >= DragDropScrollHoverTime) {
        reference_ = newer_;
        newer_ = TCursorSample{now, point};
    }
}

bool THoverTracker::Hovers(POINT point, DWORD now) const {
    const DWORD elapsed = now - reference_.time;
    if (elapsed < DragDropScrollHoverTime || elapsed == 0) return true;
    // In floating point: pixels squared times a million overflow 32 bits after a move of 47 pixels.
    const double dx = static_cast<double>(point.x) - reference_.point.x;
    const double dy = static_cast<double>(point.y) - reference_.point.y;
    const double seconds = elapsed / 1000.0;
    const double maxSpeed = DragDropScrollMaxSpeed;
    return (dx * dx + dy * dy) / (seconds * seconds) <= maxSpeed * maxSpeed;
}

// --- TCustomDropTarget: life and registration

TCustomDropTarget::TCustomDropTarget()
    : window_([this] { OnScrollTimer(); },
              [this](UINT code, WPARAM wp, LPARAM lp) { return OnWindowCall(code, wp, lp); }) {}

TCustomDropTarget::~TCustomDropTarget() {
    EndTransfer();
    closing_ = true;
    kit::GuardedQuiet(L"TCustomDropTarget.UnregisterAll", [this] { UnregisterAll(); });
    window_.StopTimer();
    if (dragImageList_ && !dropTargetHelper_) ImageList_DragLeave(currentControl_);
    dropTargetHelper_.reset();
    dataObject_.reset();
    DisconnectObject();
}

void* TCustomDropTarget::GetInterface(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDropTarget) return static_cast<IDropTarget*>(this);
    return nullptr;
}

HRESULT TCustomDropTarget::QueryInterface(REFIID iid, void** object) {
    return kit::GuardedCom(L"TCustomDropTarget.QueryInterface", [&] { return ComQueryInterface(iid, object); });
}

void TCustomDropTarget::FillCompatibleFormats(const TDataFormatClass& type, TClipboardFormats& formats) {
    TDataFormatMap::Instance().GetClipboardFormats(type, TFormatSide::Target, formats);
}

void TCustomDropTarget::Register(HWND control) {
    if (!control || std::find(controls_.begin(), controls_.end(), control) != controls_.end()) return;
    if (!multiTarget_) UnregisterAll();
    OleCheck(RegisterDragDrop(control, static_cast<IDropTarget*>(this)));
    if (autoRegister_) TWinControlProxy::Attach(control, *this);
    // After the last registered control that contains it: FindTarget then meets the inner one first.
    const auto container = std::find_if(controls_.rbegin(), controls_.rend(),
                                        [&](HWND listed) { return IsChild(listed, control) != FALSE; });
    controls_.insert(container == controls_.rend() ? controls_.end() : container.base(), control);
}

void TCustomDropTarget::Unregister(HWND control) {
    const auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    if (currentControl_ == control) currentControl_ = nullptr;
    controls_.erase(it);
    TWinControlProxy::Detach(control);
    if (IsWindow(control)) RevokeDragDrop(control);
}

void TCustomDropTarget::UnregisterAll() {
    while (!controls_.empty()) Unregister(controls_.back());
}

void TCustomDropTarget::SetTarget(HWND control) {
    UnregisterAll();
    Register(control);
}

void TCustomDropTarget::SetShowImage(bool show) {
    showImage_ = show;
    if (!currentControl_) return;
    dragShowImage_ = show;
    ImageShow(show);
}

HWND TCustomDropTarget::FindTarget(POINT screenPoint) {
    const HWND desktop = GetDesktopWindow();
    for (HWND window = WindowFromPoint(screenPoint); window && window != desktop;
         window = GetAncestor(window, GA_PARENT))
        if (std::find(controls_.begin(), controls_.end(), window) != controls_.end()) return window;
    return nullptr;
}

POINT TCustomDropTarget::ClientPoint(POINT screenPoint) const {
    if (currentControl_) ScreenToClient(currentControl_, &screenPoint);
    return screenPoint;
}

// --- IDropTarget

HRESULT TCustomDropTarget::DragEnter(IDataObject* dataObject, DWORD keyState, POINTL point, DWORD* effect) {
    return kit::GuardedCom(L"TCustomDropTarget.DragEnter", [&]() -> HRESULT {
        if (!effect) return E_INVALIDARG;
        // A transfer still holds the last drop's data object: a new drag must not take its place.
        if (closing_ || inTransfer_) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        if (enabled_) {
            ClearData();
            if (dataObject) dataObject->AddRef();
            dataObject_ = kit::ComPtr<IDataObject>::Attach(dataObject);
        }
        const POINT screen{point.x, point.y};
        currentControl_ = FindTarget(screen);
        dragShowImage_ = showImage_ && currentControl_;
        dragAutoScroll_ = autoScroll_ && currentControl_;
        lastPoint_ = ClientPoint(screen);
        hover_.Reset(screen, GetTickCount());

        HRESULT result = S_OK;
        if (!enabled_ || !dataObject_ || !HasValidFormats(dataObject_.get())) {
            dataObject_.reset();
            *effect = DROPEFFECT_NONE;
        } else {
            CalcScrollRect();
            if (getDataOnEnter_ && !GetData(*effect)) {
                dataObject_.reset();
                *effect = DROPEFFECT_NONE;
                result = DV_E_CLIPFORMAT;
            } else {
                const TShiftState shift = KeysToShiftState(keyState);
                *effect = GetValidDropEffect(shift, lastPoint_, *effect);
                DoEnter(shift, lastPoint_, *effect);
                if (EffectWithoutScroll(*effect) == DROPEFFECT_NONE) dataObject_.reset();
            }
        }
        ImageEnter(dataObject, screen, *effect);
        return result;
    });
}

HRESULT TCustomDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
    return kit::GuardedCom(L"TCustomDropTarget.DragOver", [&]() -> HRESULT {
        if (!effect) return E_INVALIDARG;
        if (!currentControl_) {
            *effect = DROPEFFECT_NONE;
            return E_UNEXPECTED;
        }
        const POINT screen{point.x, point.y};
        const POINT client = ClientPoint(screen);
        CalcScrollRect();
        const TShiftState shift = KeysToShiftState(keyState);
        *effect = GetValidDropEffect(shift, client, *effect);
        HRESULT result = S_OK;
        if (!enabled_ || !dataObject_) {
            *effect &= DROPEFFECT_SCROLL;  // it may still scroll, but it promises no drop
            result = DV_E_CLIPFORMAT;
        } else {
            DoDragOver(shift, client, *effect);
        }
        hover_.Sample(screen, GetTickCount());
        if (!(*effect & DROPEFFECT_SCROLL))
            window_.StopTimer();
        else if (!window_.TimerRunning())
            window_.StartTimer(DragDropScrollDelay);
        ImageMove(screen, client, *effect);
        lastPoint_ = client;
        return result;
    });
}

HRESULT TCustomDropTarget::DragLeave() {
    return kit::GuardedCom(L"TCustomDropTarget.DragLeave", [&]() -> HRESULT {
        window_.StopTimer();
        if (!inTransfer_) {
            ClearData();
            dataObject_.reset();
        }
        ImageLeave();
        DoLeave();
        currentControl_ = nullptr;
        dropTargetHelper_.reset();
        return S_OK;
    });
}

HRESULT TCustomDropTarget::Drop(IDataObject* dataObject, DWORD keyState, POINTL point, DWORD* effect) {
    return kit::GuardedCom(L"TCustomDropTarget.Drop", [&]() -> HRESULT {
        if (!effect) return E_INVALIDARG;
        window_.StopTimer();
        const POINT screen{point.x, point.y};
        if (!enabled_ || !dataObject_ || inTransfer_) {
            *effect = DROPEFFECT_NONE;
        } else {
            const TShiftState shift = KeysToShiftState(keyState);
            const POINT client = ClientPoint(screen);
            // The scroll bit is no effect: OLE's answer to the source never carries it.
            *effect = EffectWithoutScroll(GetValidDropEffect(shift, client, *effect));
            if (!getDataOnEnter_ && !GetData(*effect))
                *effect = DROPEFFECT_NONE;
            else if (!inTransfer_)
                DoDrop(shift, client, *effect);
        }
        ImageDrop(dataObject, screen, *effect);
        if (!inTransfer_) {
            ClearData();
            dataObject_.reset();
            currentControl_ = nullptr;
        }
        dropTargetHelper_.reset();
        *effect = EffectWithoutScroll(*effect);
        return S_OK;
    });
}

// --- The component's operations

DWORD TCustomDropTarget::GetValidDropEffect(TShiftState shiftState, POINT point, DWORD effect) {
    DWORD allowed = DragTypesToDropEffect(dragTypes_) & effect;
    if (refuseMove_) allowed &= ~DROPEFFECT_MOVE;
    DWORD chosen = OnGetDropEffect ? allowed : ShiftStateToDropEffect(shiftState, allowed, true);
    if (dragAutoScroll_ && (scrollHorizontal_ || scrollVertical_)) {
        if (PtInRect(&scrollRect_, point))
            chosen &= ~DROPEFFECT_SCROLL;
        else
            chosen |= DROPEFFECT_SCROLL;
    }
    if (OnGetDropEffect) {
        OnGetDropEffect(*this, shiftState, point, chosen);
        if (refuseMove_) chosen &= ~DROPEFFECT_MOVE;
    }
    return chosen;
}

void TCustomDropTarget::DoEnter(TShiftState shiftState, POINT point, DWORD& effect) {
    if (OnEnter) OnEnter(*this, shiftState, point, effect);
}

void TCustomDropTarget::DoDragOver(TShiftState shiftState, POINT point, DWORD& effect) {
    if (OnDragOver) OnDragOver(*this, shiftState, point, effect);
}

void TCustomDropTarget::DoDrop(TShiftState shiftState, POINT point, DWORD& effect) {
    if (OnDrop) OnDrop(*this, shiftState, point, effect);
    if (refuseMove_ && (effect & DROPEFFECT_MOVE)) effect = DROPEFFECT_NONE;
    if (EffectWithoutScroll(effect) == DROPEFFECT_NONE) return;
    const DWORD performed = optimizedMove_ && (effect & DROPEFFECT_MOVE) ? DROPEFFECT_COPY : effect;
    SetPerformedDropEffect(performed);
    // Whether or not the source took the report: after an optimised move it must not delete the data too.
    effect = performed;
}

void TCustomDropTarget::DoLeave() {
    if (OnLeave) OnLeave(*this);
}

void TCustomDropTarget::DoPaste(DWORD& effect) {
    DoDrop(TShiftState{}, POINT{}, effect);
    if (effect != DROPEFFECT_NONE) SetPasteSucceeded(effect);
}

void TCustomDropTarget::DoScroll(POINT point, TScrollDirections& scroll, int& interval) {
    if (OnScroll) OnScroll(*this, point, scroll, interval);
}

bool TCustomDropTarget::GetData(DWORD effect) {
    ClearData();
    if (allowAsyncTransfer_) {
        const auto operation = dataObject_.As<IAsyncOperation>();
        BOOL asynchronous = FALSE;
        if (operation && SUCCEEDED(operation->GetAsyncMode(&asynchronous)) && asynchronous &&
            SUCCEEDED(operation->StartOperation(nullptr))) {
            try {
                auto reader = TransferReader(dataObject_.get());
                if (OnStartAsyncTransfer) OnStartAsyncTransfer(*this);
                inTransfer_ = true;
                transferEffect_ = effect;
                transferOperation_ = operation;
                transfer_ = std::make_unique<TDropTargetTransferThread>(*this, dataObject_.get(), std::move(reader));
            } catch (...) {
                inTransfer_ = false;
                transferOperation_.reset();
                operation->EndOperation(E_FAIL, nullptr, DROPEFFECT_NONE);
                throw;
            }
            return true;
        }
    }
    return DoGetData(dataObject_.get());
}

std::function<bool(IDataObject*)> TCustomDropTarget::TransferReader(IDataObject*) {
    return [this](IDataObject* dataObject) { return !transferEnding_ && DoGetData(dataObject); };
}

LRESULT TCustomDropTarget::OnWindowCall(UINT code, WPARAM wp, LPARAM) {
    if (code == kCallTransferEnded && !closing_ && transfer_) TransferEnded(wp != 0);
    return 0;
}

void TCustomDropTarget::TransferEnded(bool read) {
    transfer_.reset();  // its last act was this message: the wait is short
    DWORD effect = read ? transferEffect_ : DROPEFFECT_NONE;
    if (read && !kit::Guarded(currentControl_, L"TCustomDropTarget.OnDrop",
                              [&] { DoDrop(TShiftState{}, POINT{}, effect); }))
        effect = DROPEFFECT_NONE;
    const kit::ComPtr<IAsyncOperation> operation = std::move(transferOperation_);
    operation->EndOperation(read ? S_OK : E_FAIL, nullptr, effect);
    inTransfer_ = false;
    dataObject_.reset();
    currentControl_ = nullptr;
    ClearData();
    if (OnEndAsyncTransfer) OnEndAsyncTransfer(*this);
}

void TCustomDropTarget::EndTransfer() {
    if (!transfer_) return;
    closing_ = true;
    transferEnding_ = true;
    transfer_.reset();
    transferEnding_ = false;
    inTransfer_ = false;
    if (transferOperation_) transferOperation_->EndOperation(E_FAIL, nullptr, DROPEFFECT_NONE);
    transferOperation_.reset();
}

DWORD TCustomDropTarget::GetPreferredDropEffect() {
    TPreferredDropEffectClipboardFormat preferred;
    return dataObject_ && preferred.GetData(dataObject_.get()) ? preferred.Value() : DROPEFFECT_NONE;
}

namespace {

// Writes one feedback value into the drop's data object, as an HGLOBAL: what every source reads.
template <typename Format>
bool WriteFeedback(IDataObject* dataObject, DWORD effect) {
    if (!dataObject) return false;
    Format format;
    format.SetValue(effect);
    FORMATETC asMemory = format.FormatEtc();
    asMemory.tymed = TYMED_HGLOBAL;
    return format.SetData(dataObject, asMemory);
}

} // namespace

bool TCustomDropTarget::SetPerformedDropEffect(DWORD effect) {
    return WriteFeedback<TPerformedDropEffectClipboardFormat>(dataObject_.get(), effect);
}

bool TCustomDropTarget::SetPasteSucceeded(DWORD effect) {
    return WriteFeedback<TPasteSucceededClipboardFormat>(dataObject_.get(), effect);
}

DWORD TCustomDropTarget::PasteFromClipboard() {
    currentControl_ = nullptr;
    kit::ComPtr<IDataObject> clipboard;
    OleCheck(OleGetClipboard(clipboard.put()));
    dataObject_ = clipboard;
    DWORD effect = GetPreferredDropEffect();
    if (!GetData(effect)) effect = DROPEFFECT_NONE;
    if (!inTransfer_) {
        DoPaste(effect);
        dataObject_.reset();
    }
    return effect;
}

bool TCustomDropTarget::CanPasteFromClipboard() {
    kit::ComPtr<IDataObject> clipboard;
    return SUCCEEDED(OleGetClipboard(clipboard.put())) && clipboard && HasValidFormats(clipboard.get());
}

// --- Auto-scroll

void TCustomDropTarget::CalcScrollRect() {
    scrollHorizontal_ = false;
    scrollVertical_ = false;
    scrollRect_ = RECT{};
    if (!dragAutoScroll_ || !currentControl_) return;
    const LONG_PTR style = GetWindowLongPtrW(currentControl_, GWL_STYLE);
    scrollHorizontal_ = (style & WS_HSCROLL) != 0;
    scrollVertical_ = (style & WS_VSCROLL) != 0;
    if (!scrollHorizontal_ && !scrollVertical_) return;
    GetClientRect(currentControl_, &scrollRect_);
    if (scrollVertical_) InflateRect(&scrollRect_, 0, -2 * GetSystemMetrics(SM_CYHSCROLL));
    if (scrollHorizontal_) InflateRect(&scrollRect_, -2 * GetSystemMetrics(SM_CXHSCROLL), 0);
}

TScrollDirections TCustomDropTarget::ScrollDirectionsAt(POINT point) const {
    TScrollDirections scroll;
    // Toward the edge the point is beyond, while the bar is not at that end.
    const auto along = [&](int bar, LONG coordinate, LONG low, LONG high, TScrollDirection back,
                           TScrollDirection forth) {
        SCROLLINFO info{sizeof(info), SIF_ALL};
        if (!GetScrollInfo(currentControl_, bar, &info)) return;
        if (coordinate < low && info.nPos > info.nMin)
            scroll.Include(back);
        else if (coordinate >= high && static_cast<long long>(info.nPos) + info.nPage <= info.nMax)
            scroll.Include(forth);
    };
    if (scrollVertical_) along(SB_VERT, point.y, scrollRect_.top, scrollRect_.bottom, sdUp, sdDown);
    if (scrollHorizontal_) along(SB_HORZ, point.x, scrollRect_.left, scrollRect_.right, sdLeft, sdRight);
    return scroll;
}

void TCustomDropTarget::OnScrollTimer() {
    window_.StopTimer();
    if (!currentControl_ || IsRectEmpty(&scrollRect_)) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (!hover_.Hovers(cursor, GetTickCount())) return;
    TScrollDirections scroll = ScrollDirectionsAt(lastPoint_);
    int interval = static_cast<int>(DragDropScrollInterval);
    if (!scroll.Empty()) DoScroll(lastPoint_, scroll, interval);
    if (scroll.Empty()) return;

    ImageShow(false);
    if (scroll.Contains(sdUp)) SendMessageW(currentControl_, WM_VSCROLL, SB_LINEUP, 0);
    if (scroll.Contains(sdDown)) SendMessageW(currentControl_, WM_VSCROLL, SB_LINEDOWN, 0);
    if (scroll.Contains(sdLeft)) SendMessageW(currentControl_, WM_HSCROLL, SB_LINELEFT, 0);
    if (scroll.Contains(sdRight)) SendMessageW(currentControl_, WM_HSCROLL, SB_LINERIGHT, 0);
    ImageShow(true);
    window_.StartTimer(static_cast<UINT>(std::max(interval, 1)));
}

// --- The drag image

void TCustomDropTarget::ImageEnter(IDataObject* dataObject, POINT screenPoint, DWORD effect) {
    dragImageList_ = nullptr;
    dropTargetHelper_.reset();
    if (!dragShowImage_) return;
    if (SUCCEEDED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                   dropTargetHelper_.put_void())) &&
        FAILED(dropTargetHelper_->DragEnter(currentControl_, dataObject, &screenPoint, effect)))
        dropTargetHelper_.reset();
    if (dropTargetHelper_) return;
    dragImageList_ = ImageList_GetDragImage(nullptr, &dragImageHotSpot_);
    if (!dragImageList_) return;
    // Over the control the cursor is drawn by the image list: a transparent cursor image hides its own.
    ImageList_SetDragCursorImage(DragImages(), 0, dragImageHotSpot_.x, dragImageHotSpot_.y);
    // The merge replaced the drag image, and freed the one read above unless it was the drag's first.
    dragImageList_ = ImageList_GetDragImage(nullptr, nullptr);
    const POINT at = ClientPtToWindowPt(currentControl_, lastPoint_);
    ImageList_DragEnter(currentControl_, at.x, at.y);
}

void TCustomDropTarget::ImageMove(POINT screenPoint, POINT clientPoint, DWORD effect) {
    if (dropTargetHelper_) {
        dropTargetHelper_->DragOver(&screenPoint, effect);
    } else if (dragImageList_ && (clientPoint.x != lastPoint_.x || clientPoint.y != lastPoint_.y)) {
        const POINT at = ClientPtToWindowPt(currentControl_, clientPoint);
        ImageList_DragMove(at.x, at.y);
    }
}

void TCustomDropTarget::ImageLeave() {
    if (dropTargetHelper_)
        dropTargetHelper_->DragLeave();
    else if (dragImageList_)
        ImageList_DragLeave(currentControl_);
    dragImageList_ = nullptr;
}

void TCustomDropTarget::ImageDrop(IDataObject* dataObject, POINT screenPoint, DWORD effect) {
    if (dropTargetHelper_)
        dropTargetHelper_->Drop(dataObject, &screenPoint, effect);
    else if (dragImageList_)
        ImageList_DragLeave(currentControl_);
    dragImageList_ = nullptr;
}

void TCustomDropTarget::ImageShow(bool show) {
    if (dropTargetHelper_)
        dropTargetHelper_->Show(show);
    else if (dragImageList_)
        ImageList_DragShowNolock(show);
}

HIMAGELIST TCustomDropTarget::DragImages() {
    if (dragImages_) return dragImages_.get();
    constexpr int kSize = 32;
    dragImages_.reset(ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, 1, 0));
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const kit::WindowDc screen(nullptr);
    kit::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), kSize, kSize));
    {
        const kit::MemoryDc memory(screen.get(), bitmap.get());
        const kit::UniqueBrush brush(CreateSolidBrush(window));
        const RECT all{0, 0, kSize, kSize};
        FillRect(memory.get(), &all, brush.get());
    }
    ImageList_AddMasked(dragImages_.get(), bitmap.get(), window);  // the list copies the bitmap
    return dragImages_.get();
}

// --- TCustomDropMultiTarget

TCustomDropMultiTarget::TCustomDropMultiTarget() { SetDragTypes({dtCopy, dtLink}); }

TCustomDropMultiTarget::~TCustomDropMultiTarget() {
    // While the data formats are still here: a transfer thread may be filling them, a drag may come in.
    EndTransfer();
    UnregisterAll();
    ownedFormats_.Clear();
}

void TCustomDropMultiTarget::DoAcceptFormat(const TCustomDataFormat& dataFormat, bool& accept) {
    if (OnAcceptFormat) OnAcceptFormat(*this, dataFormat, accept);
}

bool TCustomDropMultiTarget::HasValidFormats(IDataObject* dataObject) {
    kit::ComPtr<IEnumFORMATETC> formats;
    if (FAILED(dataObject->EnumFormatEtc(DATADIR_GET, formats.put())) || !formats) return false;
    // Another program's enumerator may never answer S_FALSE: after this many the list counts as ended, so a
    // drag entering the window cannot hold its thread.
    for (int walked = 0; walked < kMaxEnumeratedFormats; ++walked) {
        FORMATETC formatEtc{};
        ULONG fetched = 0;
        if (formats->Next(1, &formatEtc, &fetched) != S_OK || fetched != 1) break;
        if (formatEtc.ptd) {
            CoTaskMemFree(formatEtc.ptd);  // a device-bound format is none of ours
            continue;
        }
        for (int i = 0; i < DataFormats().Count(); ++i) {
            TCustomDataFormat& dataFormat = *DataFormats()[i];
            if (!dataFormat.Matches(formatEtc) || !dataFormat.OfferedBy(dataObject)) continue;
            bool accept = true;
            DoAcceptFormat(dataFormat, accept);
            if (accept) return true;
        }
    }
    return false;
}

std::vector<TCustomDataFormat*> TCustomDropMultiTarget::AcceptedFormats(IDataObject* dataObject) {
    std::vector<TCustomDataFormat*> accepted;
    for (int i = 0; i < DataFormats().Count(); ++i) {
        TCustomDataFormat* dataFormat = DataFormats()[i];
        if (!dataFormat->OfferedBy(dataObject)) continue;
        bool accept = true;
        DoAcceptFormat(*dataFormat, accept);
        if (accept) accepted.push_back(dataFormat);
    }
    return accepted;
}

bool TCustomDropMultiTarget::ReadFormats(const std::vector<TCustomDataFormat*>& formats, IDataObject* dataObject) {
    bool read = false;
    for (TCustomDataFormat* dataFormat : formats)
        if (dataFormat->GetData(dataObject)) read = true;
    return read;
}

bool TCustomDropMultiTarget::DoGetData(IDataObject* dataObject) {
    return dataObject && ReadFormats(AcceptedFormats(dataObject), dataObject);
}

std::function<bool(IDataObject*)> TCustomDropMultiTarget::TransferReader(IDataObject* dataObject) {
    return [formats = AcceptedFormats(dataObject)](IDataObject* marshalled) { return ReadFormats(formats, marshalled); };
}

void TCustomDropMultiTarget::ClearData() {
    if (InTransfer()) throw kit::Exception(L"Can't clear data while async data transfer is in progress");
    for (int i = 0; i < DataFormats().Count(); ++i) DataFormats()[i]->Clear();
}

} // namespace dragdrop
