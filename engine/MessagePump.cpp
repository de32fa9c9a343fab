#include "engine/MessagePump.h"

#include <utility>

namespace engine {
namespace {

TMessagePump& Installed() {
    static TMessagePump pump;
    return pump;
}

void Pump(TPumpKind kind) {
    if (const TMessagePump& pump = Installed()) pump(kind);
}

} // namespace

TMessagePump SetMessagePump(TMessagePump pump) { return std::exchange(Installed(), std::move(pump)); }

void PumpMessages() { Pump(TPumpKind::WhenDue); }
void PumpMessagesNow() { Pump(TPumpKind::Now); }

} // namespace engine
