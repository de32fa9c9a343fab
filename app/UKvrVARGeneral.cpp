#include "app/UKvrVARGeneral.h"

namespace app {

std::wstring GlobalCommandLine;
unsigned char GlobalWindowsVersion = 0;
TApplicationInit* GlobalApplicationInit = nullptr;
engine::SearchParams::TSearchParams* GlobalSearchParams = nullptr;
engine::TSearchStatistics* GlobalSearchStatistics = nullptr;
engine::TFileTypesGroups* GlobalFileTypesGroups = nullptr;
engine::TFileTypesIFilters* GlobalFileTypesIFilters = nullptr;
engine::TFilterFile* GlobalFilterFile = nullptr;

} // namespace app
