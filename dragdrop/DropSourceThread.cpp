#include "dragdrop/DropSourceThread.h"

#include <array>
#include <atomic>

#include "kit/Guard.h"

namespace dragdrop {
namespace {

constexpr DWORD kStartTimeout = 10000;

// The worker's drop source: each call runs on the source's thread, through its window.
class TThreadDropSource : public IDropSource {
public:
    TThreadDropSource(const TComponentWindow& window, UINT queryCode, UINT feedbackCode)
        : window_(window), queryCode_(queryCode), feedbackCode_(feedbackCode) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return kit::GuardedCom(L"TThreadDropSource.QueryInterface", [&]() -> HRESULT {
            if (!object) return E_POINTER;
            *object = nullptr;
            if (iid != IID_IUnknown && iid != IID_IDropSource) return E_NOINTERFACE;
            *object = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        });
    }
    // Lives on the worker's stack for the whole loop; the count only answers.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override {
        return static_cast<HRESULT>(window_.Send(queryCode_, escapePressed ? 1 : 0, static_cast<LPARAM>(keyState)));
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
        return static_cast<HRESULT>(window_.Send(feedbackCode_, effect, 0));
    }

private:
    const TComponentWindow& window_;
    UINT queryCode_;
    UINT feedbackCode_;
    std::atomic<ULONG> references_{1};
};

std::array<BYTE, 256> CurrentKeys() {
    std::array<BYTE, 256> keys{};
    GetKeyboardState(keys.data());
    return keys;
}

} // namespace

TDropSourceThread::TDropSourceThread(TCustomDropSource& source, DWORD allowedEffects)
    : dataObject_(static_cast<IDataObject*>(&source)),
      window_(source.window_),
      sourceThread_(source.ownerThread_),
      allowedEffects_(allowedEffects),
      keys_(CurrentKeys()),
      started_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      worker_([this] { Run(); }) {}

bool TDropSourceThread::WaitStarted() const { return WaitForSingleObject(started_.get(), kStartTimeout) == WAIT_OBJECT_0; }

DWORD TDropSourceThread::InputThread() const {
    HWND window = GetForegroundWindow();
    if (!window) {
        POINT cursor{};
        GetCursorPos(&cursor);
        window = WindowFromPoint(cursor);
    }
    return window ? GetWindowThreadProcessId(window, nullptr) : sourceThread_;
}

void TDropSourceThread::Run() {
    const DWORD self = GetCurrentThreadId();
    const DWORD input = InputThread();
    const bool attached = input != self && AttachThreadInput(self, input, TRUE);
    // Joining resets the shared key state: the button the drag started with would read as released.
    if (attached) {
        std::array<BYTE, 256> keys = keys_;
        SetKeyboardState(keys.data());
    }
    SetEvent(started_.get());

    HRESULT answer = E_UNEXPECTED;
    DWORD effect = DROPEFFECT_NONE;
    kit::GuardedQuiet(L"TDropSourceThread", [&] {
        const TThreadApartment apartment(TThreadApartment::TKind::Ole);
        answer = apartment.Result();
        if (FAILED(answer)) return;
        const kit::ComPtr<IDataObject> dataObject = dataObject_.Take(answer);
        if (!dataObject) return;
        TThreadDropSource dropSource(window_, TCustomDropSource::kCallQueryContinueDrag,
                                     TCustomDropSource::kCallGiveFeedback);
        answer = DoDragDrop(dataObject.get(), &dropSource, allowedEffects_, &effect);
    });
    if (attached) AttachThreadInput(self, input, FALSE);
    window_.Post(TCustomDropSource::kCallDragEnded, static_cast<WPARAM>(static_cast<ULONG>(answer)),
                 static_cast<LPARAM>(effect));
}

} // namespace dragdrop
