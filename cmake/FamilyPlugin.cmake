# add_family_plugin(NAME TOOLKIT older|newer LV2_CLASS CLASS SUMMARY TEXT EFFECT sources...
#                   EDITOR sources...):
# one deliverable of the family, from the folder plugins/NAME (sources relative to it):
#   NAME_effect  the sound, on the frame alone;
#   NAME_editor  the editor, on the toolkit variant named (gui_older or gui_newer);
#   NAME_entry   the entry's objects (entry.cpp), which parse no toolkit header, so that a test
#                can build the same library on another platform back end;
#   NAME         NAME.so (add_vst_plugin): the entry on the X11 back end, with the bitmaps of
#                plugins/NAME/resources built in; in a Windows build NAME.dll, the same on the
#                Win32 back end.
# SUMMARY is the plug-in's line in the package description. The call records NAME in
# FAMILY_PLUGINS and, unless PLUGINS (a list, empty for all) leaves it out, in BUILT_PLUGINS;
# read both with family_plugin_lists(). The global properties FAMILY_SUMMARY_<NAME> and
# FAMILY_RESOURCES_<NAME> (the bitmap folder) hold the rest, built or not.
function(add_family_plugin name)
  cmake_parse_arguments(P "" "TOOLKIT;LV2_CLASS;SUMMARY" "EFFECT;EDITOR" ${ARGN})
  if(NOT P_TOOLKIT MATCHES "^(older|newer)$" OR NOT P_EFFECT OR NOT P_EDITOR OR NOT P_SUMMARY
     OR NOT P_LV2_CLASS)
    message(FATAL_ERROR "add_family_plugin(${name}) needs TOOLKIT older|newer, LV2_CLASS, "
      "SUMMARY, EFFECT and EDITOR")
  endif()
  set_property(GLOBAL APPEND PROPERTY FAMILY_PLUGINS ${name})
  set(folder ${CMAKE_CURRENT_SOURCE_DIR}/${name})
  set_property(GLOBAL PROPERTY FAMILY_SUMMARY_${name} "${P_SUMMARY}")
  set_property(GLOBAL PROPERTY FAMILY_RESOURCES_${name} ${folder}/resources)
  if(PLUGINS AND NOT name IN_LIST PLUGINS)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY BUILT_PLUGINS ${name})

  list(TRANSFORM P_EFFECT PREPEND ${folder}/)
  list(TRANSFORM P_EDITOR PREPEND ${folder}/)
  add_library(${name}_effect STATIC ${P_EFFECT})
  target_link_libraries(${name}_effect PUBLIC frame)
  add_library(${name}_editor STATIC ${P_EDITOR})
  target_link_libraries(${name}_editor PUBLIC ${name}_effect gui_${P_TOOLKIT})
  add_library(${name}_entry OBJECT ${folder}/entry.cpp)
  target_link_libraries(${name}_entry PRIVATE ${name}_effect)

  add_vst_plugin(${name} $<TARGET_OBJECTS:${name}_entry>)
  if(WIN32)
    target_link_libraries(${name} PRIVATE ${name}_editor platform_win32)
    target_sources(${name} PRIVATE $<TARGET_OBJECTS:platform_win32_native_${P_TOOLKIT}>)
  else()
    target_link_libraries(${name} PRIVATE ${name}_editor platform_x11)
  endif()
  embed_bitmap_resources(${name} ${folder}/resources)
  # LV2 hosts of this family are Linux hosts: the Windows builds make no bundles.
  if(NOT WIN32)
    add_lv2_bundle(${name} ${P_LV2_CLASS})
  endif()
endfunction()

# family_plugin_lists(): sets FAMILY_PLUGINS (every plug-in of the list, in its order) and
# BUILT_PLUGINS (those being built) in the caller's scope, once the list has been read.
function(family_plugin_lists)
  get_property(family GLOBAL PROPERTY FAMILY_PLUGINS)
  get_property(built GLOBAL PROPERTY BUILT_PLUGINS)
  set(FAMILY_PLUGINS ${family} PARENT_SCOPE)
  set(BUILT_PLUGINS ${built} PARENT_SCOPE)
endfunction()
