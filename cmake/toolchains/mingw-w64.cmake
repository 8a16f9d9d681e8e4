# What both MinGW-w64 cross builds share; the toolchain file of each target sets MINGW_TRIPLE
# and CMAKE_SYSTEM_PROCESSOR, then includes this. Debian's posix thread variant of the
# compilers is used, whose libstdc++ has std::thread and std::mutex. cmake/Windows.cmake runs
# the programs built here under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_AR ${MINGW_TRIPLE}-gcc-ar-posix)
set(CMAKE_RANLIB ${MINGW_TRIPLE}-gcc-ranlib-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 arithmetic in single precision, as on x86-64 Linux: no x87 excess precision, so every
# build computes the same samples.
string(JOIN " " CMAKE_C_FLAGS_INIT -msse2 -mfpmath=sse ${MINGW_EXTRA_FLAGS})
string(JOIN " " CMAKE_CXX_FLAGS_INIT -msse2 -mfpmath=sse ${MINGW_EXTRA_FLAGS} ${MINGW_EXTRA_CXX_FLAGS})
