# 64-bit build: the one that runs here, under Wine; CTest starts its test programs through tools/wine-run.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KVR_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
