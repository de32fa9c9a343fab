#pragma once
// The owner of the program-wide objects (app/UKvrVARGeneral.h): made in their fixed order, freed in the
// reverse order on every way out. The program, the window tests and the benchmarks all start through it.
#include "engine/MessagePump.h"

namespace app {

// The engine's message pump as the program runs it: the message loop's own pumping, throttled or now.
void PumpProgramMessages(engine::TPumpKind kind);

class ProgramObjects {
public:
    // Installs the program's message pump for the engine and makes nothing yet: the program reports a
    // failing settings holder apart from the rest.
    ProgramObjects() = default;
    // Frees whatever was made, the last first. One owner at a time: the globals are its.
    ~ProgramObjects();
    ProgramObjects(const ProgramObjects&) = delete;
    ProgramObjects& operator=(const ProgramObjects&) = delete;

    // The settings holder for this executable. Throws InitializationError when the settings folder cannot
    // be made.
    void CreateSettingsHolder();
    // The criteria model (reset, for the window), the statistics, the file-type groups, their IFilter
    // registry and the matcher. Throws what their constructors throw; what was made before stays owned.
    void CreateSearchObjects();

private:
    engine::ScopedMessagePump pump_{PumpProgramMessages};
};

} // namespace app
