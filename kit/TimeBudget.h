#pragma once
// A span of time from now on the interaction's clock (kit/Interaction.h), for work whose size another program
// decides: it stops once the span has passed. Tests set the clock, so no test waits on it.
#include <windows.h>

#include "kit/Interaction.h"

namespace kit {

class TimeBudget {
public:
    explicit TimeBudget(DWORD milliseconds) : start_(UserInteraction().TickCount()), milliseconds_(milliseconds) {}

    // True once more than the span has passed since the budget was made.
    bool Spent() const { return UserInteraction().TickCount() - start_ > milliseconds_; }

private:
    DWORD start_;
    DWORD milliseconds_;
};

} // namespace kit
