#include "dragdrop/DragDropRegistration.h"

#include "dragdrop/DragDrop.h"
#include "dragdrop/DragDropFile.h"
#include "dragdrop/DragDropFileVirtual.h"
#include "dragdrop/DragDropFormats.h"
#include "dragdrop/DragDropPIDL.h"
#include "dragdrop/DragDropText.h"

namespace dragdrop {

void RegisterDragDropClasses() {
    RegisterDragDropFormatsClasses();
    RegisterDragDropFileClasses();
    RegisterDragDropFileVirtualClasses();
    RegisterDragDropPIDLClasses();
    RegisterDragDropTextClasses();
}

TDragDropLibrary::~TDragDropLibrary() { ShutdownDragDrop(); }

} // namespace dragdrop
