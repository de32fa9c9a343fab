# 32-bit build: compiled and linked to keep the code 32-bit clean; it cannot run on this machine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KVR_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
