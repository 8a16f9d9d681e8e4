# The Windows build, cross-compiled with MinGW-w64 (cmake/toolchains/): the four plug-ins as
# DLLs (the effect behind the shared entry; no editor yet), plughost.exe, and the frame, effect
# and deliverable suites, which CTest runs under Wine.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(WINDOWS_ARCH win64)
else()
  set(WINDOWS_ARCH win32)
endif()

# Every program carries its C and C++ runtime and winpthreads: nothing but system DLLs is
# needed beside it, on Windows as under Wine.
add_link_options(-static)
# The C runtime's headers name M_PI and the other constants only when asked to.
add_compile_definitions(_USE_MATH_DEFINES)

# Tests run under Wine in a private prefix, made by the first test that needs it.
set(WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "The Wine prefix the tests run in")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run.sh ${WINE_PREFIX})

set(ALL_PLUGINS tloom swirlet grimfold corallis)
set(PLUGINS "${ALL_PLUGINS}" CACHE STRING "The plug-ins to build (a subset of ${ALL_PLUGINS})")

add_subdirectory(frame)
foreach(plugin ${PLUGINS})
  add_subdirectory(plugins/${plugin})
endforeach()
if(BUILD_TOOLS)
  add_subdirectory(tools/plughost)
endif()
if(BUILD_TESTING)
  enable_testing()
  add_subdirectory(tests)
endif()
