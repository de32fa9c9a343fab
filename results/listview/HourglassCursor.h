#pragma once
// Shows the hourglass for the life of a long operation (a sort, a prefetch) and puts back the cursor there was.
#include <windows.h>

namespace results {

class HourglassCursor {
public:
    HourglassCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~HourglassCursor() { SetCursor(previous_); }
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
private:
    HCURSOR previous_;
};

} // namespace results
