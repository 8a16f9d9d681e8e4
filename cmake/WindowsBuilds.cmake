# WINDOWS_BUILDS: the Windows DLLs and plughost.exe for both architectures, cross-built beside
# this Linux build (in win32/ and win64/ under it, from cmake/toolchains/), with their suites
# counted in this build's CTest run, where they run under Wine in one private prefix.
include(ExternalProject)
set(WINDOWS_SOURCE_PACKAGES "${CMAKE_BINARY_DIR}/windows-sources" CACHE PATH
  "Where tools/setup-windows-tests.sh unpacked the Debian source packages")

set(windows_test_dirs "")
# The plug-in list reaches the Windows builds as one argument.
string(REPLACE ";" "|" windows_plugins "${BUILT_PLUGINS}")
# Under make the trees are built by recursive make, which shares this build's job slots (a plain
# "cmake --build" would run each of them one job at a time).
if(CMAKE_GENERATOR MATCHES "Makefiles")
  set(windows_build $(MAKE))
  set(windows_package $(MAKE) package)
else()
  set(windows_build ${CMAKE_COMMAND} --build <BINARY_DIR>)
  set(windows_package ${CMAKE_COMMAND} --build <BINARY_DIR> --target package)
endif()
foreach(arch win32 win64)
  if(arch STREQUAL win32)
    set(triple i686-w64-mingw32)
  else()
    set(triple x86_64-w64-mingw32)
  endif()
  ExternalProject_Add(windows_${arch}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${arch}
    LIST_SEPARATOR |
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchains/${triple}.cmake
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DPLUGINS=${windows_plugins}
      -DWINE_PREFIX=${CMAKE_BINARY_DIR}/wineprefix
      -DWINDOWS_SOURCE_PACKAGES=${WINDOWS_SOURCE_PACKAGES}
    BUILD_ALWAYS ON
    # The build, then the architecture's ZIP (plugfamily-vst-VERSION-winNN.zip in its tree).
    BUILD_COMMAND ${windows_build} COMMAND ${windows_package}
    INSTALL_COMMAND "")
  string(APPEND windows_test_dirs " \"${CMAKE_BINARY_DIR}/${arch}\"")

  # Every DLL's output against the Linux library's, bit for bit.
  if(BUILD_TOOLS)
    foreach(plugin ${BUILT_PLUGINS})
      add_test(NAME ${arch}.SameSamples.${plugin}
        COMMAND ${CMAKE_COMMAND} -DPLUGHOST=$<TARGET_FILE:plughost>
          -DPLUGIN_SO=$<TARGET_FILE:${plugin}>
          -DPLUGHOST_EXE=${CMAKE_BINARY_DIR}/${arch}/tools/plughost/plughost.exe
          -DPLUGIN_DLL=${CMAKE_BINARY_DIR}/${arch}/plugins/${plugin}.dll
          -DWINE_RUN=${CMAKE_SOURCE_DIR}/tools/wine-run.sh -DWINE_PREFIX=${CMAKE_BINARY_DIR}/wineprefix
          -DWORK_DIR=${CMAKE_BINARY_DIR}/same-samples/${arch}/${plugin}
          -P ${CMAKE_SOURCE_DIR}/tests/tools/windows/same_samples.cmake)
      # Every DLL's editor against the Linux library's, pixel for pixel.
      add_test(NAME ${arch}.SameSnapshot.${plugin}
        COMMAND ${CMAKE_COMMAND} -DPLUGHOST=$<TARGET_FILE:plughost>
          -DPLUGIN_SO=$<TARGET_FILE:${plugin}>
          -DPLUGHOST_EXE=${CMAKE_BINARY_DIR}/${arch}/tools/plughost/plughost.exe
          -DPLUGIN_DLL=${CMAKE_BINARY_DIR}/${arch}/plugins/${plugin}.dll
          -DWINE_RUN=${CMAKE_SOURCE_DIR}/tools/wine-run.sh -DWINE_PREFIX=${CMAKE_BINARY_DIR}/wineprefix
          -DWORK_DIR=${CMAKE_BINARY_DIR}/same-snapshot/${arch}/${plugin}
          -P ${CMAKE_SOURCE_DIR}/tests/tools/windows/same_snapshot.cmake)
    endforeach()
  endif()
endforeach()

# CTest reads the Windows trees' test lists as subdirectories of this one.
file(WRITE ${CMAKE_BINARY_DIR}/windows_tests.cmake "subdirs(${windows_test_dirs})\n")
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES
  ${CMAKE_BINARY_DIR}/windows_tests.cmake)
