# A Windows DLL sounds exactly like the Linux library of the same plug-in: the test signal, as a
# WAV and as an AIFF file, goes through Linux plughost with the .so and through plughost.exe
# under Wine with the .dll, at the default program and with one parameter moved; the two
# outputs, headerless 32-bit float (a WAV header holds a time stamp), must be the same bytes.
# cmake -DPLUGHOST=... -DPLUGIN_SO=... -DPLUGHOST_EXE=... -DPLUGIN_DLL=... -DWINE_RUN=...
#       -DWINE_PREFIX=... -DWORK_DIR=... -P same_samples.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

include(${CMAKE_CURRENT_LIST_DIR}/run_step.cmake)

set(failures "")
foreach(input in.wav in.aiff)
  run(${PLUGHOST} signal ${WORK_DIR}/${input} --seconds 3 --rate 48000)
  foreach(setting default moved)
    set(options "")
    if(setting STREQUAL moved)
      set(options --set 1=0.8)
    endif()
    set(linux_out ${WORK_DIR}/${input}-${setting}-linux.raw)
    set(windows_out ${WORK_DIR}/${input}-${setting}-windows.raw)
    run(${PLUGHOST} process ${PLUGIN_SO} ${WORK_DIR}/${input} ${linux_out} ${options})
    run(${WINE_RUN} ${WINE_PREFIX} ${PLUGHOST_EXE} process Z:${PLUGIN_DLL} Z:${WORK_DIR}/${input}
      Z:${windows_out} ${options})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${linux_out} ${windows_out}
      RESULT_VARIABLE different)
    file(SIZE ${linux_out} size)
    if(different OR size LESS 1000)
      string(APPEND failures "${input}, ${setting}: the outputs differ\n")
    else()
      message(STATUS "${input}, ${setting}: ${size} bytes, the same bit for bit")
    endif()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
