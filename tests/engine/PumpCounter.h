#pragma once
// Stands in for the program's message pump while it lives: counts the engine's calls by kind and runs an
// optional action at each, as a window's buttons would act during a pump.
#include "engine/MessagePump.h"

#include <functional>

namespace pumpfixture {

class PumpCounter {
public:
    int whenDue = 0;
    int now = 0;
    std::function<void()> onPump;

private:
    engine::ScopedMessagePump installed_{[this](engine::TPumpKind kind) {
        ++(kind == engine::TPumpKind::Now ? now : whenDue);
        if (onPump) onPump();
    }};
};

} // namespace pumpfixture
