# Cross toolchain: mingw-w64, x86-64. Builds the Windows tests for machines that run only
# 64-bit code (no IA-32 emulation), where Wine cannot start a 32-bit program.
set(ZQ_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
