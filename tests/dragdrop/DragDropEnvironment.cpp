// The drag-and-drop classes, registered once per test program as the program does at its start. Built into each
// test program that drags or takes drops (the main window's tests too).
#include <gtest/gtest.h>

#include "dragdrop/DragDrop.h"
#include "dragdrop/DragDropRegistration.h"

namespace {

class DragDropEnvironment : public testing::Environment {
public:
    void SetUp() override { dragdrop::RegisterDragDropClasses(); }
    void TearDown() override { dragdrop::ShutdownDragDrop(); }
};
testing::Environment* const g_dragDrop = testing::AddGlobalTestEnvironment(new DragDropEnvironment);

} // namespace
