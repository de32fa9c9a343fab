#include "dragdrop/DragDropRegistration.h"

#include "dragdrop/DragDrop.h"
#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropFormats.h"

namespace dragdrop {

void RegisterDragDropClasses() {
    RegisterDragDropFormatsClasses();
    RegisterDragDropFileClasses();
}

TDragDropLibrary::~TDragDropLibrary() { ShutdownDragDrop(); }

} // namespace dragdrop
