#pragma once
// Resource ids of the executable; shared by the resource script and the code.
#define IDI_MAINICON 1
