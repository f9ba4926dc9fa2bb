# Cross toolchain: mingw-w64, 32-bit x86 (the program users get).
set(ZQ_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
