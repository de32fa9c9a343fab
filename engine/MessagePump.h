#pragma once
// The engine's one way to the message loop. Long work on the window's thread (the walker at every entry, the
// text search at every chunk, the drive check, the IFilter scan) pumps through here so the window stays alive
// and its Pause and Stop buttons act. The program installs the pump that does the work; with none installed
// nothing is pumped, so the engine runs without a window and a test can count the calls.
#include <functional>
#include <utility>

namespace engine {

enum class TPumpKind {
    WhenDue,  // the per-step call: cheap unless the loop has not run for a while
    Now,      // whatever the time since the loop last ran
};
using TMessagePump = std::function<void(TPumpKind kind)>;

// Installs `pump` (empty: none) and returns the one it replaces.
TMessagePump SetMessagePump(TMessagePump pump);

void PumpMessages();
void PumpMessagesNow();

// Installs a pump for its lifetime, then puts the previous one back.
class ScopedMessagePump {
public:
    explicit ScopedMessagePump(TMessagePump pump) : previous_(SetMessagePump(std::move(pump))) {}
    ~ScopedMessagePump() { SetMessagePump(std::move(previous_)); }
    ScopedMessagePump(const ScopedMessagePump&) = delete;
    ScopedMessagePump& operator=(const ScopedMessagePump&) = delete;

private:
    TMessagePump previous_;
};

} // namespace engine
