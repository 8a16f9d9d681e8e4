# plughost.exe list, under Wine, finds each DLL copied into a folder and lists its unique ID,
# and names a file that is no library as not loaded.
# cmake -DWINE_RUN=... -DWINE_PREFIX=... -DPLUGHOST_EXE=... -DLIBRARIES="a.dll;b.dll"
#       -DWORK_DIR=... -P list_finds_plugins.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/plugins)
file(COPY ${LIBRARIES} DESTINATION ${WORK_DIR}/plugins)
file(WRITE ${WORK_DIR}/plugins/readme.dll "not a library")
execute_process(COMMAND ${WINE_RUN} ${WINE_PREFIX} ${PLUGHOST_EXE} list Z:${WORK_DIR}/plugins
  RESULT_VARIABLE status OUTPUT_VARIABLE listing ERROR_VARIABLE errors)
list(LENGTH LIBRARIES count)
set(failures "")
if(NOT status EQUAL 0)
  string(APPEND failures "list failed (${status}): ${errors}\n")
endif()
foreach(id LFtl LFsw LFgf LFco)
  if(NOT listing MATCHES "\n${id}  2/2 ")
    string(APPEND failures "${id} is not listed\n")
  endif()
endforeach()
if(NOT listing MATCHES "readme.dll: [^\n]+" OR NOT listing MATCHES "${count} plug-ins, 1 file not loaded")
  string(APPEND failures "the file that is no library is not named as not loaded\n")
endif()
if(failures)
  message(FATAL_ERROR "${failures}${listing}")
endif()
