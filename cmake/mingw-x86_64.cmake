# Cross build for 64-bit Windows (x86_64) with mingw-w64 and a static runtime.
set(KESTREL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
