#include "dragdrop/DragDropThreads.h"

#include "kit/Exception.h"
#include "kit/Guard.h"
#include "kit/Strings.h"

namespace dragdrop {
namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kFirstCall = WM_APP;

} // namespace

TComponentWindow::TComponentWindow(std::function<void()> onTimer, CallHandler onCall)
    : onTimer_(std::move(onTimer)), onCall_(std::move(onCall)) {
    kit::WindowParams params;
    params.className = L"KolvaranDragDropComponent";
    params.style = 0;
    params.parent = HWND_MESSAGE;
    Create(params);
}

void TComponentWindow::StartTimer(UINT interval) {
    timerRunning_ = SetTimer(hwnd(), kTimerId, interval, nullptr) != 0;
}

void TComponentWindow::StopTimer() {
    if (timerRunning_) KillTimer(hwnd(), kTimerId);
    timerRunning_ = false;
}

bool TComponentWindow::Post(UINT code, WPARAM wp, LPARAM lp) const {
    return PostMessageW(hwnd(), kFirstCall + code, wp, lp) != FALSE;
}

LRESULT TComponentWindow::Send(UINT code, WPARAM wp, LPARAM lp) const {
    return SendMessageW(hwnd(), kFirstCall + code, wp, lp);
}

bool TComponentWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_TIMER && wp == kTimerId) {
        if (onTimer_) onTimer_();
        return true;
    }
    if (msg >= kFirstCall && msg <= 0xBFFF) {
        result = onCall_ ? onCall_(msg - kFirstCall, wp, lp) : 0;
        return true;
    }
    return false;
}

TWorkerThread::TWorkerThread(std::function<void()> body) : body_(std::move(body)) {
    handle_.reset(CreateThread(nullptr, 0, &TWorkerThread::Run, this, 0, &threadId_));
    if (!handle_) throw kit::Exception(kit::SystemErrorMessage(GetLastError()));
}

TWorkerThread::~TWorkerThread() {
    HANDLE handle = handle_.get();
    DWORD index = 0;
    // Outside an apartment the call fails at once: wait plainly then.
    if (FAILED(CoWaitForMultipleHandles(0, INFINITE, 1, &handle, &index))) WaitForSingleObject(handle, INFINITE);
}

DWORD WINAPI TWorkerThread::Run(void* self) {
    kit::GuardedQuiet(L"drag-and-drop worker thread", [self] { static_cast<TWorkerThread*>(self)->body_(); });
    return 0;
}

} // namespace dragdrop
