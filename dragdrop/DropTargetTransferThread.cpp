#include "dragdrop/DropTargetTransferThread.h"

#include "kit/Guard.h"

namespace dragdrop {

TDropTargetTransferThread::TDropTargetTransferThread(TCustomDropTarget& target, IDataObject* dataObject,
                                                     std::function<bool(IDataObject*)> reader)
    : dataObject_(dataObject), reader_(std::move(reader)), window_(target.window_), worker_([this] { Run(); }) {}

void TDropTargetTransferThread::Run() {
    bool read = false;
    kit::GuardedQuiet(L"TDropTargetTransferThread", [&] {
        const TThreadApartment apartment(TThreadApartment::TKind::Com);
        if (FAILED(apartment.Result())) return;
        HRESULT hr = S_OK;
        const kit::ComPtr<IDataObject> dataObject = dataObject_.Take(hr);
        if (dataObject) read = reader_(dataObject.get());
    });
    window_.Post(TCustomDropTarget::kCallTransferEnded, read ? 1 : 0, 0);
}

} // namespace dragdrop
