#include "app/ProgramObjects.h"

#include "app/ApplicationSetup.h"
#include "app/UKvrVARGeneral.h"
#include "engine/FileTypesGroups.h"
#include "engine/FileTypesIFilters.h"
#include "engine/FilterFile.h"
#include "engine/SearchParams.h"
#include "engine/SearchStatistics.h"
#include "kit/Files.h"
#include "kit/MessageLoop.h"

namespace app {
namespace {

template <typename T>
void FreeGlobal(T*& global) {
    delete global;
    global = nullptr;
}

} // namespace

void PumpProgramMessages(engine::TPumpKind kind) {
    if (kind == engine::TPumpKind::Now) kit::ProcessMessagesNow();
    else kit::ProcessMessages();
}

ProgramObjects::~ProgramObjects() {
    FreeGlobal(GlobalFilterFile);
    FreeGlobal(GlobalFileTypesIFilters);
    FreeGlobal(GlobalFileTypesGroups);
    FreeGlobal(GlobalSearchStatistics);
    FreeGlobal(GlobalSearchParams);
    FreeGlobal(GlobalApplicationInit);
}

void ProgramObjects::CreateSettingsHolder() { GlobalApplicationInit = new TApplicationInit(kit::ExecutablePath()); }

void ProgramObjects::CreateSearchObjects() {
    GlobalSearchParams = new engine::SearchParams::TSearchParams();
    GlobalSearchParams->Reset();
    GlobalSearchParams->OperativeMode = engine::omUserGraphicInterface;
    GlobalSearchStatistics = new engine::TSearchStatistics();
    GlobalFileTypesGroups = new engine::TFileTypesGroups();
    GlobalFileTypesIFilters = new engine::TFileTypesIFilters(*GlobalFileTypesGroups);  // arms its registry scan
    GlobalFilterFile = new engine::TFilterFile(*GlobalFileTypesGroups);
}

} // namespace app
