# The Windows build, cross-compiled with MinGW-w64 (cmake/toolchains/): the four plug-ins as
# DLLs (effect and editor, the toolkit on its Win32 back end), plughost.exe, and the frame,
# effect, deliverable, toolkit and editor suites, which CTest runs under Wine.
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

set(PLUGINS "" CACHE STRING "The plug-ins to build (empty: every one in plugins/CMakeLists.txt)")

# FreeType for the Windows editors' text: built statically from Debian's source package of the
# version the Linux build links (tools/setup-windows-tests.sh unpacks it, Debian's patches
# applied), so both draw the same glyph pixels. Only TrueType rendering is needed: none of its
# optional compressors or shapers. Target freetype_static.
include(cmake/DebianSourceLibrary.cmake)
set(WINDOWS_SOURCE_PACKAGES "${CMAKE_BINARY_DIR}/windows-sources" CACHE PATH
  "Where tools/setup-windows-tests.sh unpacked the Debian source packages")
add_debian_source_library(freetype_static freetype libfreetype.a freetype2
  -DFT_DISABLE_ZLIB=TRUE -DFT_DISABLE_BZIP2=TRUE -DFT_DISABLE_PNG=TRUE
  -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE)

add_subdirectory(frame)
add_subdirectory(bmp)
add_subdirectory(gui)
add_subdirectory(plugins)
family_plugin_lists()
if(BUILD_TOOLS)
  add_subdirectory(tools/plughost)
endif()
if(BUILD_TESTING)
  enable_testing()
  add_subdirectory(tests)
  if(BUILD_TOOLS AND BUILT_PLUGINS STREQUAL FAMILY_PLUGINS)
    foreach(plugin ${BUILT_PLUGINS})
      list(APPEND plugin_files $<TARGET_FILE:${plugin}>)
    endforeach()
    add_test(NAME ${WINDOWS_ARCH}.Plughost.ListFindsThePluginsInAFolder
      COMMAND ${CMAKE_COMMAND} -DWINE_RUN=${CMAKE_SOURCE_DIR}/tools/wine-run.sh
        -DWINE_PREFIX=${WINE_PREFIX} -DPLUGHOST_EXE=$<TARGET_FILE:plughost>
        "-DLIBRARIES=${plugin_files}" -DWORK_DIR=${CMAKE_BINARY_DIR}/list-test
        -P ${CMAKE_SOURCE_DIR}/tests/tools/windows/list_finds_plugins.cmake)
  endif()
endif()

# One ZIP per architecture (cpack -G ZIP, or the package target): the four DLLs in a folder
# named for the architecture, with the README, the licence and the notices of the code the
# libraries carry.
install(TARGETS ${BUILT_PLUGINS} LIBRARY DESTINATION ${WINDOWS_ARCH} RUNTIME DESTINATION ${WINDOWS_ARCH})
# The notices: cmake/windows/THIRD-PARTY.txt with the fonts' licences from the Debian copyright
# file and FreeType's from its source package, put together at build time.
debian_source_folder(freetype_source freetype)
set(third_party_notices ${CMAKE_BINARY_DIR}/THIRD-PARTY.txt)
add_custom_command(OUTPUT ${third_party_notices}
  COMMAND ${CMAKE_COMMAND} -DNOTICES=${CMAKE_CURRENT_LIST_DIR}/windows/THIRD-PARTY.txt
    -DDEBIAN_COPYRIGHT=${CMAKE_CURRENT_LIST_DIR}/debian/copyright
    -DFREETYPE_LICENSE=${freetype_source}/docs/FTL.TXT -DOUTPUT=${third_party_notices}
    -P ${CMAKE_CURRENT_LIST_DIR}/windows/third_party_notices.cmake
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/windows/THIRD-PARTY.txt
    ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${freetype_source}/docs/FTL.TXT
    ${CMAKE_CURRENT_LIST_DIR}/windows/third_party_notices.cmake
  COMMENT "Writing THIRD-PARTY.txt" VERBATIM)
add_custom_target(third_party_notices ALL DEPENDS ${third_party_notices})
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE ${third_party_notices}
  DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME plugfamily-vst)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME plugfamily-vst-${PROJECT_VERSION}-${WINDOWS_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
