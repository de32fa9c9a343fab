#pragma once
// The library's start and end. The process-wide format map and class registry are filled by one explicit call
// at program start, not by the order of static initialisation; OLE itself is started by the program.

namespace dragdrop {

// Registers every unit's data-format classes and their clipboard formats. Call once, after OLE has started.
void RegisterDragDropClasses();

// For the program's start: registers at construction; at destruction the library stops (the map and the
// registry are freed, later registrations are ignored).
class TDragDropLibrary {
public:
    TDragDropLibrary() { RegisterDragDropClasses(); }
    ~TDragDropLibrary();
    TDragDropLibrary(const TDragDropLibrary&) = delete;
    TDragDropLibrary& operator=(const TDragDropLibrary&) = delete;
};

} // namespace dragdrop
