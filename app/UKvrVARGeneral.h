#pragma once
// The program-wide objects. The main block creates them before the main window and frees them after
// the message loop; everything else reaches them through these globals.
#include <string>

namespace app {
class TApplicationInit;
}
namespace engine {
namespace SearchParams {
class TSearchParams;
}
class TSearchStatistics;
class TFileTypesGroups;
class TFileTypesIFilters;
class TFilterFile;
}

namespace app {

// Every command-line parameter in double quotes; kept for the run.
extern std::wstring GlobalCommandLine;
// The OS version the dialogs size themselves by (a TWindowsVersion value); 0 until first stored.
extern unsigned char GlobalWindowsVersion;

extern TApplicationInit* GlobalApplicationInit;
extern engine::SearchParams::TSearchParams* GlobalSearchParams;
extern engine::TSearchStatistics* GlobalSearchStatistics;
extern engine::TFileTypesGroups* GlobalFileTypesGroups;
extern engine::TFileTypesIFilters* GlobalFileTypesIFilters;
extern engine::TFilterFile* GlobalFilterFile;

} // namespace app
