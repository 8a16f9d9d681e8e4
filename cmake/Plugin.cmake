# add_vst_plugin(NAME SOURCES...): one deliverable as a loadable module named NAME.so that
# exports only its two entry symbols and carries its C++ runtime inside. The linker drops every
# function and data section nothing reaches (the code is compiled with a section each), and
# outside debug builds the static symbol table too: the exports stay in the dynamic one.
set(PLUGIN_EXPORT_MAP "${CMAKE_CURRENT_LIST_DIR}/plugin_exports.map")

set(PLUGIN_EXPORT_DEF "${CMAKE_CURRENT_LIST_DIR}/plugin_exports.def")

function(add_vst_plugin name)
  if(WIN32)
    # NAME.dll: the .def file names the exports; libgcc, libstdc++ and winpthreads are linked
    # in, so the library imports only system DLLs.
    add_library(${name} MODULE ${ARGN} ${PLUGIN_EXPORT_DEF})
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll" OUTPUT_NAME ${name}
      LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/plugins")
    target_link_options(${name} PRIVATE -static -s -Wl,--no-undefined)
    return()
  endif()
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/plugins")
  loadable_library_link_rules(${name} ${PLUGIN_EXPORT_MAP})
endfunction()

# The link rules of every library a host loads on Linux (the plug-ins, the LV2 bundles'
# libraries): only what EXPORT_MAP names is exported, unreached sections are dropped, and outside
# debug builds the static symbol table too.
function(loadable_library_link_rules target export_map)
  target_link_options(${target} PRIVATE
    -Wl,--version-script=${export_map} -Wl,--gc-sections $<$<NOT:$<CONFIG:Debug>>:-s>)
  # A sanitizer build shares the test program's C++ runtime, whose allocator the sanitizer
  # replaces, and (with clang) the sanitizers' entry points, which live in the program; the
  # shipped library carries its own runtime and leaves no symbol unresolved.
  if(NOT SANITIZE)
    target_link_options(${target} PRIVATE -Wl,--no-undefined -Wl,-z,defs
      -static-libstdc++ -static-libgcc)
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${export_map})
endfunction()
