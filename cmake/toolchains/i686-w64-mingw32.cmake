# Cross build for 32-bit Windows with Debian's MinGW-w64 (cmake/toolchains/mingw-w64.cmake).
# 32-bit hosts may call the entries with a stack aligned to 4 bytes only: functions that keep
# SSE values on the stack realign it themselves. The C runtime's malloc aligns to 8 bytes here,
# so objects that need more take the aligned new.
set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_EXTRA_FLAGS -mstackrealign)
set(MINGW_EXTRA_CXX_FLAGS -faligned-new=8)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
