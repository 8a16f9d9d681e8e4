# add_lv2_bundle(NAME CLASS TOOLKIT): the LV2 bundle of plug-in NAME, built into
# build/lv2/NAME.lv2/ from the plug-in's own targets:
#   NAME.so        the plug-in (lv2/lv2_plugin.cpp over the effect alone: no toolkit, no X11);
#   NAME_ui.so     its X11 UI (lv2/lv2_ui.cpp over the effect with its editor, on the X11 back
#                  end, with the editor's bitmaps built in);
#   manifest.ttl, NAME.ttl   written by lv2_turtle_NAME (lv2/generate_turtle.cpp) from the effect.
# CLASS is the LV2 plug-in class (PhaserPlugin, ...). Target NAME_lv2_bundle builds all of it.
# Both libraries carry their C++ runtime and export only their descriptor function.
set(LV2_URI_BASE "https://lumenforge.example/lv2/")
set(LV2_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/../lv2")


function(add_lv2_bundle name lv2_class)
  set(bundle "${CMAKE_BINARY_DIR}/lv2/${name}.lv2")
  string(SUBSTRING ${name} 0 1 initial)
  string(SUBSTRING ${name} 1 -1 rest)
  string(TOUPPER ${initial} initial)
  set(effect_class ${initial}${rest}Effect)
  set(editor_factory create${initial}${rest}Editor)

  set(entry ${CMAKE_CURRENT_BINARY_DIR}/${name}_lv2_entry.cpp)
  file(GENERATE OUTPUT ${entry} CONTENT "// Generated entry of the ${name} LV2 bundle; do not edit.
#include \"frame/host_entry.h\"
#include \"lv2/lv2_entry.h\"
#include \"plugins/${name}/${name}_effect.h\"

const char* const kLv2PluginUri = \"${LV2_URI_BASE}${name}\";
const char* const kLv2UiUri = \"${LV2_URI_BASE}${name}#ui\";

AEffect* createLv2Effect(audioMasterCallback hostCallback) {
    return runHostEntry<${effect_class}>(hostCallback, nullptr);
}
")
  set(ui_entry ${CMAKE_CURRENT_BINARY_DIR}/${name}_lv2_ui_entry.cpp)
  file(GENERATE OUTPUT ${ui_entry} CONTENT "// Generated entry of the ${name} LV2 UI; do not edit.
#include \"frame/host_entry.h\"
#include \"lv2/lv2_entry.h\"
#include \"plugins/${name}/${name}_effect.h\"

EditorInterface* ${editor_factory}(EffectBase& effect);

AEffect* createLv2EditorEffect(audioMasterCallback hostCallback) {
    return runHostEntry<${effect_class}>(hostCallback, ${editor_factory});
}
")
  add_library(${name}_lv2_entry OBJECT ${entry})
  target_link_libraries(${name}_lv2_entry PRIVATE ${name}_effect)

  add_library(${name}_lv2 MODULE ${LV2_SOURCE_DIR}/lv2_plugin.cpp
    $<TARGET_OBJECTS:${name}_lv2_entry>)
  target_link_libraries(${name}_lv2 PRIVATE ${name}_effect lv2_ports)
  set_target_properties(${name}_lv2 PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${bundle})
  loadable_library_link_rules(${name}_lv2 ${LV2_SOURCE_DIR}/lv2_exports.map)

  add_library(${name}_lv2ui MODULE ${LV2_SOURCE_DIR}/lv2_ui.cpp ${ui_entry}
    $<TARGET_OBJECTS:${name}_lv2_entry>)
  target_link_libraries(${name}_lv2ui PRIVATE ${name}_editor platform_x11 lv2_ports)
  get_property(resources GLOBAL PROPERTY FAMILY_RESOURCES_${name})
  embed_bitmap_resources(${name}_lv2ui ${resources})
  set_target_properties(${name}_lv2ui PROPERTIES PREFIX "" OUTPUT_NAME ${name}_ui
    LIBRARY_OUTPUT_DIRECTORY ${bundle})
  loadable_library_link_rules(${name}_lv2ui ${LV2_SOURCE_DIR}/lv2ui_exports.map)

  add_executable(lv2_turtle_${name} ${LV2_SOURCE_DIR}/generate_turtle.cpp
    ${LV2_SOURCE_DIR}/parameter_steps.cpp $<TARGET_OBJECTS:${name}_lv2_entry>)
  target_link_libraries(lv2_turtle_${name} PRIVATE ${name}_effect lv2_ports)
  add_custom_command(OUTPUT ${bundle}/manifest.ttl ${bundle}/${name}.ttl
    COMMAND ${CMAKE_COMMAND} -E make_directory ${bundle}
    COMMAND lv2_turtle_${name} ${bundle} ${name} ${lv2_class} ${name}.so ${name}_ui.so
    DEPENDS lv2_turtle_${name}
    COMMENT "Describing the ${name} LV2 bundle" VERBATIM)
  add_custom_target(${name}_lv2_bundle ALL DEPENDS ${bundle}/manifest.ttl ${bundle}/${name}.ttl)
  add_dependencies(${name}_lv2_bundle ${name}_lv2 ${name}_lv2ui)
endfunction()
