#include "app/UKvrVARGeneral.h"

namespace app {

std::wstring GlobalCommandLine;
unsigned char GlobalWindowsVersion = 0;
TApplicationInit* GlobalApplicationInit = nullptr;

} // namespace app
