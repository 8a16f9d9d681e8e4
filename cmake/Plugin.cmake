# add_vst_plugin(NAME SOURCES...): one deliverable as a loadable module named NAME.so that
# exports only its two entry symbols and carries its C++ runtime inside.
set(PLUGIN_EXPORT_MAP "${CMAKE_CURRENT_LIST_DIR}/plugin_exports.map")

function(add_vst_plugin name)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/plugins")
  target_link_options(${name} PRIVATE
    -Wl,--version-script=${PLUGIN_EXPORT_MAP} -Wl,--no-undefined -Wl,-z,defs)
  # A sanitizer build shares the test program's C++ runtime, whose allocator the sanitizer
  # replaces; the shipped library carries its own.
  if(NOT SANITIZE)
    target_link_options(${name} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${PLUGIN_EXPORT_MAP})
endfunction()
