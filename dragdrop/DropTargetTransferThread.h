#pragma once
// The reading of a drop's data in a thread and COM apartment of its own, when the source offers an
// asynchronous transfer.
#include <windows.h>
#include <ole2.h>

#include <functional>

#include "dragdrop/DragDropThreads.h"
#include "dragdrop/DropTarget.h"

namespace dragdrop {

// The worker reaches the drop's data object only through its marshalled interface, runs the reader its target
// gave it, and tells the target's window whether it read anything. The drop itself (OnDrop, the performed
// effect, the end of the source's operation) then runs on the target's thread.
class TDropTargetTransferThread {
public:
    TDropTargetTransferThread(TCustomDropTarget& target, IDataObject* dataObject,
                              std::function<bool(IDataObject*)> reader);
    DWORD ThreadId() const { return worker_.ThreadId(); }

private:
    void Run();

    TMarshalledInterface<IDataObject> dataObject_;
    std::function<bool(IDataObject*)> reader_;
    const TComponentWindow& window_;
    TWorkerThread worker_;  // last: it starts once everything above is made, and ends before it goes
};

} // namespace dragdrop
