# Cross-compiling for Windows with mingw-w64 (x86_64).
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
