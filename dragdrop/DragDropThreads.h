#pragma once
// What the drag-and-drop components and their worker threads share: a message window on the component's own
// thread (its timer, and the door through which a worker reaches the component), an interface carried into
// another apartment, and a wait that keeps serving OLE calls.
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <utility>

#include "dragdrop/DragDrop.h"
#include "kit/Handles.h"
#include "kit/Window.h"

namespace dragdrop {

// A message-only window of the thread that makes it. A call posted or sent to it from any thread runs its
// handler on that thread, so a worker never touches the component itself.
class TComponentWindow : public kit::Window {
public:
    using CallHandler = std::function<LRESULT(UINT code, WPARAM, LPARAM)>;
    TComponentWindow(std::function<void()> onTimer, CallHandler onCall);

    void StartTimer(UINT interval);
    void StopTimer();
    bool TimerRunning() const { return timerRunning_; }
    // From any thread; `code` is below 0x3FFF.
    bool Post(UINT code, WPARAM wp, LPARAM lp) const;
    LRESULT Send(UINT code, WPARAM wp, LPARAM lp) const;

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    std::function<void()> onTimer_;
    CallHandler onCall_;
    bool timerRunning_ = false;
};

// An interface marshalled in the apartment that makes this, for one Take in another apartment. Untaken, the
// marshalled reference is given back when this goes.
template <typename I>
class TMarshalledInterface {
public:
    explicit TMarshalledInterface(I* item) {
        OleCheck(CoMarshalInterThreadInterfaceInStream(__uuidof(I), item, stream_.put()));
    }
    TMarshalledInterface(const TMarshalledInterface&) = delete;
    TMarshalledInterface& operator=(const TMarshalledInterface&) = delete;
    ~TMarshalledInterface() {
        if (!stream_) return;
        stream_->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
        CoReleaseMarshalData(stream_.get());
    }

    // The interface in the calling apartment; `hr` tells why there is none.
    kit::ComPtr<I> Take(HRESULT& hr) {
        kit::ComPtr<I> item;
        hr = E_UNEXPECTED;
        if (IStream* stream = stream_.detach())  // released by the call, whatever it answers
            hr = CoGetInterfaceAndReleaseStream(stream, __uuidof(I), item.put_void());
        return item;
    }

private:
    kit::ComPtr<IStream> stream_;
};

// A worker's apartment for the life of the object: OLE (drag loops), or COM alone.
class TThreadApartment {
public:
    enum class TKind { Ole, Com };
    explicit TThreadApartment(TKind kind)
        : kind_(kind), result_(kind == TKind::Ole ? OleInitialize(nullptr) : CoInitialize(nullptr)) {}
    ~TThreadApartment() {
        if (FAILED(result_)) return;
        if (kind_ == TKind::Ole)
            OleUninitialize();
        else
            CoUninitialize();
    }
    TThreadApartment(const TThreadApartment&) = delete;
    TThreadApartment& operator=(const TThreadApartment&) = delete;
    HRESULT Result() const { return result_; }

private:
    TKind kind_;
    HRESULT result_;
};

// Runs `body` on a new thread, no exception leaving it; the thread ends before this object goes.
class TWorkerThread {
public:
    explicit TWorkerThread(std::function<void()> body);
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;
    // Waits for the end, serving OLE calls and sent messages meanwhile: the worker may be calling this
    // thread's objects through their proxies.
    ~TWorkerThread();
    DWORD ThreadId() const { return threadId_; }

private:
    static DWORD WINAPI Run(void* self);
    std::function<void()> body_;
    kit::UniqueHandle handle_;
    DWORD threadId_ = 0;
};

} // namespace dragdrop
