// Drag detection and the key-state and drop-effect conversions.
#include "dragdrop/DragDrop.h"

namespace dragdrop {

TShiftState KeysToShiftState(DWORD keys) {
    TShiftState shift;
    if (keys & MK_SHIFT) shift.Include(ssShift);
    if (keys & MK_CONTROL) shift.Include(ssCtrl);
    if (keys & MK_ALT) shift.Include(ssAlt);
    if (keys & MK_LBUTTON) shift.Include(ssLeft);
    if (keys & MK_RBUTTON) shift.Include(ssRight);
    if (keys & MK_MBUTTON) shift.Include(ssMiddle);
    return shift;
}

DWORD ShiftStateToDropEffect(TShiftState shift, DWORD allowedEffects, bool fallBack) {
    DWORD wanted = DROPEFFECT_MOVE;
    if (shift.Contains(ssShift) && shift.Contains(ssCtrl))
        wanted = DROPEFFECT_LINK;
    else if (shift.Contains(ssCtrl))
        wanted = DROPEFFECT_COPY;
    if (allowedEffects & wanted) return wanted;
    if (fallBack)
        for (DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
            if (allowedEffects & effect) return effect;
    return DROPEFFECT_NONE;
}

bool DropEffectToDragType(DWORD effect, TDragType& dragType) {
    dragType = dtCopy;
    if (effect & DROPEFFECT_COPY) return true;
    if (effect & DROPEFFECT_MOVE) {
        dragType = dtMove;
        return true;
    }
    if (effect & DROPEFFECT_LINK) {
        dragType = dtLink;
        return true;
    }
    return false;
}

DWORD DragTypesToDropEffect(TDragTypes dragTypes) {
    DWORD effect = DROPEFFECT_NONE;
    if (dragTypes.Contains(dtCopy)) effect |= DROPEFFECT_COPY;
    if (dragTypes.Contains(dtMove)) effect |= DROPEFFECT_MOVE;
    if (dragTypes.Contains(dtLink)) effect |= DROPEFFECT_LINK;
    return effect;
}

TDragResult DropEffectToDragResult(DWORD effect) {
    switch (effect & ~DROPEFFECT_SCROLL) {
    case DROPEFFECT_NONE: return drCancel;
    case DROPEFFECT_COPY: return drDropCopy;
    case DROPEFFECT_MOVE: return drDropMove;
    case DROPEFFECT_LINK: return drDropLink;
    default: return drUnknown;
    }
}

POINT ClientPtToWindowPt(HWND window, POINT point) {
    ClientToScreen(window, &point);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return POINT{point.x - bounds.left, point.y - bounds.top};
}

RECT DragRectangle(POINT point, int thresholdX, int thresholdY) {
    return RECT{point.x - thresholdX, point.y - thresholdY, point.x + thresholdX, point.y + thresholdY};
}

TDragDetectVerdict DragDetectVerdict(const MSG& message, const RECT& dragRect, DWORD startTime, DWORD delay) {
    switch (message.message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
    case WM_QUIT:
    case WM_CANCELMODE:
        return TDragDetectVerdict::NoDrag;
    case WM_KEYDOWN:
        return message.wParam == VK_ESCAPE ? TDragDetectVerdict::NoDrag : TDragDetectVerdict::Undecided;
    case WM_MOUSEMOVE: {
        // The message's own point (screen) and time (message clock); a signed difference, so that a move
        // queued before the press and the clock's wrap after 49 days both count as "too early".
        const bool outside = !PtInRect(&dragRect, message.pt);
        const bool late = static_cast<LONG>(message.time - startTime) >= static_cast<LONG>(delay);
        return outside && late ? TDragDetectVerdict::Drag : TDragDetectVerdict::Undecided;
    }
    default:
        return TDragDetectVerdict::Undecided;
    }
}

namespace {

// Releases the capture on every way out, when the window still holds it.
class ScopedCapture {
public:
    explicit ScopedCapture(HWND window) : window_(window) { SetCapture(window); }
    ~ScopedCapture() {
        if (Holds()) ReleaseCapture();
    }
    ScopedCapture(const ScopedCapture&) = delete;
    ScopedCapture& operator=(const ScopedCapture&) = delete;
    bool Holds() const { return GetCapture() == window_; }

private:
    HWND window_;
};

bool ButtonMessageWaiting() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_NOREMOVE | PM_NOYIELD);
}

} // namespace

bool DetectDrag(HWND window, POINT screenPoint) {
    if (GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_RBUTTON) >= 0) return false;
    const RECT dragRect =
        DragRectangle(screenPoint, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG));
    const DWORD startTime = GetTickCount();  // the clock of MSG.time
    ScopedCapture capture(window);
    if (!capture.Holds()) return false;

    constexpr DWORD wakeMask = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON;
    for (;;) {
        if (ButtonMessageWaiting()) return false;  // left for the window: a click, not a drag
        MSG message{};
        if (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        // By message range, not by input kind: a filter by kind misses key and move messages that were posted.
        if (!PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) &&
            !PeekMessageW(&message, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
            if (!capture.Holds()) return false;
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, DragDetectHoldTimeout, wakeMask) == WAIT_TIMEOUT &&
                DragDetectOnHold)
                return true;
            continue;
        }
        if (!capture.Holds()) return false;
        switch (DragDetectVerdict(message, dragRect, startTime, DragDetectDelay)) {
        case TDragDetectVerdict::Drag: return true;
        case TDragDetectVerdict::NoDrag: return false;
        case TDragDetectVerdict::Undecided: break;
        }
    }
}

bool DetectDragAtCursor(HWND window) {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return false;
    return DetectDrag(window, cursor);
}

} // namespace dragdrop
