#pragma once
// The drag loop of an asynchronous Execute, in a thread and OLE apartment of its own.
#include <windows.h>
#include <ole2.h>

#include <array>

#include "dragdrop/DragDropThreads.h"
#include "dragdrop/DropSource.h"
#include "kit/Handles.h"

namespace dragdrop {

// The worker reaches its source in two ways only: the data object, marshalled into the worker's apartment,
// and the source's window, which carries QueryContinueDrag and GiveFeedback to the source's thread (the
// drop-source interface is local: OLE has no proxy for it) and is told the loop's answer at the end. The
// worker's input is joined to the foreground thread's, whose key state and mouse the loop follows; the key
// state the drag began with is put back after the join, which resets it.
class TDropSourceThread {
public:
    // Marshals the data object on the source's thread and starts the worker.
    TDropSourceThread(TCustomDropSource& source, DWORD allowedEffects);
    // True once the worker has joined the input and is about to run the loop (at most 10 s).
    bool WaitStarted() const;
    DWORD ThreadId() const { return worker_.ThreadId(); }

private:
    void Run();
    // The thread whose input the loop follows: the foreground window's, the one under the cursor, else the
    // source's own.
    DWORD InputThread() const;

    TMarshalledInterface<IDataObject> dataObject_;
    const TComponentWindow& window_;
    const DWORD sourceThread_;
    const DWORD allowedEffects_;
    const std::array<BYTE, 256> keys_;  // the source thread's key state when the drag began
    kit::UniqueHandle started_;
    TWorkerThread worker_;  // last: it starts once everything above is made, and ends before it goes
};

} // namespace dragdrop
