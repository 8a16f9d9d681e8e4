# A Windows DLL's editor shows exactly what the Linux library's shows: plughost snapshot of the
# .so (under a private Xvfb) and plughost.exe snapshot of the .dll under Wine, at the default
# program and with one parameter moved, must be the same PNG bytes (both written by the same
# libpng and zlib versions, so equal pixels give equal files).
# cmake -DPLUGHOST=... -DPLUGIN_SO=... -DPLUGHOST_EXE=... -DPLUGIN_DLL=... -DWINE_RUN=...
#       -DWINE_PREFIX=... -DWORK_DIR=... -P same_snapshot.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

include(${CMAKE_CURRENT_LIST_DIR}/run_step.cmake)

set(failures "")
foreach(setting default moved)
  set(options "")
  if(setting STREQUAL moved)
    set(options --set 0=0.9)
  endif()
  set(linux_png ${WORK_DIR}/${setting}-linux.png)
  set(windows_png ${WORK_DIR}/${setting}-windows.png)
  run(${PLUGHOST} snapshot ${PLUGIN_SO} ${linux_png} ${options})
  run(${WINE_RUN} ${WINE_PREFIX} ${PLUGHOST_EXE} snapshot Z:${PLUGIN_DLL} Z:${windows_png}
    ${options})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${linux_png} ${windows_png}
    RESULT_VARIABLE different)
  file(SIZE ${linux_png} size)
  if(different OR size LESS 1000)
    string(APPEND failures "${setting}: the snapshots differ (${WORK_DIR})\n")
  else()
    message(STATUS "${setting}: ${size} bytes, the same pixels")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
