# The C++ source that holds each file as a byte array named <prefix><file stem>, with its size
# in <prefix><file stem>_size, into the variable named by `out`.
function(embedded_source out prefix)
  set(content "// Generated from resource files; do not edit.\n#include <cstddef>\n")
  foreach(file ${ARGN})
    get_filename_component(stem ${file} NAME_WE)
    string(MAKE_C_IDENTIFIER "${prefix}${stem}" symbol)
    file(READ ${file} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    string(APPEND content "extern const unsigned char ${symbol}[] = {${bytes}};\n")
    string(APPEND content "extern const size_t ${symbol}_size = ${size};\n")
  endforeach()
  set(${out} "${content}" PARENT_SCOPE)
endfunction()

# Run as a script (cmake -DEMBED_OUTPUT=... -DEMBED_PREFIX=... -DEMBED_FILES=a|b -P Embed.cmake):
# the build step of embed_built_files, for files that exist only once the build made them.
if(CMAKE_SCRIPT_MODE_FILE AND DEFINED EMBED_OUTPUT)
  string(REPLACE "|" ";" embed_file_list "${EMBED_FILES}")
  embedded_source(content "${EMBED_PREFIX}" ${embed_file_list})
  file(WRITE "${EMBED_OUTPUT}" "${content}")
  return()
endif()
set(EMBED_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

# embed_files(OUTPUT_CPP SYMBOL_PREFIX FILES...): writes a C++ source that holds each file as a
# byte array named <prefix><file stem> with its size in <prefix><file stem>_size, so resources
# are built into the library instead of read from disk at run time.
function(embed_files output prefix)
  embedded_source(content ${prefix} ${ARGN})
  file(GENERATE OUTPUT ${output} CONTENT "${content}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARGN})
endfunction()

# embed_built_files(OUTPUT_CPP SYMBOL_PREFIX FILES...): embed_files for files that a build step
# makes (custom command outputs): the source is written at build time, after them.
function(embed_built_files output prefix)
  string(REPLACE ";" "|" joined "${ARGN}")
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DEMBED_OUTPUT=${output} -DEMBED_PREFIX=${prefix}
      -DEMBED_FILES=${joined} -P ${EMBED_SCRIPT}
    DEPENDS ${ARGN} ${EMBED_SCRIPT}
    COMMENT "Embedding ${prefix} files"
    VERBATIM)
endfunction()

# embed_bitmap_resources(TARGET RESOURCE_DIR...): builds every RESOURCE_DIR/*.bmp into TARGET
# as the library's bitmap table (gui/platform/common/embedded_resources.h), which
# Bitmap(resourceId) reads. A file's resource number is the leading number of its name: 110.bmp
# or 110_background.bmp. A name
# without a number, a number outside 1..65535 or a number used twice stops the configuration.
function(embed_bitmap_resources target)
  set(files "")
  foreach(dir ${ARGN})
    file(GLOB dir_files CONFIGURE_DEPENDS ${dir}/*.bmp)
    list(SORT dir_files)
    list(APPEND files ${dir_files})
  endforeach()
  string(MAKE_C_IDENTIFIER "bitmap_${target}_" prefix)
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_bitmaps)
  set(declarations "")
  set(entries "")
  set(numbers "")
  foreach(file ${files})
    get_filename_component(name ${file} NAME)
    if(NOT name MATCHES "^0*([0-9]+)(_[A-Za-z0-9_-]*)?\\.bmp$")
      message(FATAL_ERROR "${file}: bitmap file names start with their resource number")
    endif()
    set(number ${CMAKE_MATCH_1})
    if(number LESS 1 OR number GREATER 65535)
      message(FATAL_ERROR "${file}: resource numbers run from 1 to 65535")
    endif()
    if(number IN_LIST numbers)
      message(FATAL_ERROR "${file}: resource number ${number} is used twice")
    endif()
    list(APPEND numbers ${number})
    get_filename_component(stem ${file} NAME_WE)
    string(MAKE_C_IDENTIFIER "${prefix}${stem}" symbol)
    string(APPEND declarations
      "extern const unsigned char ${symbol}[];\nextern const size_t ${symbol}_size;\n")
    string(APPEND entries "    {${number}, ${symbol}, &${symbol}_size},\n")
  endforeach()

  set(table "// Generated bitmap table of ${target}; do not edit.\n")
  string(APPEND table
    "#include \"${CMAKE_SOURCE_DIR}/gui/platform/common/embedded_resources.h\"\n\n${declarations}\n")
  if(files)
    string(APPEND table "namespace {\nconst EmbeddedResource entries[] = {\n${entries}};\n")
    string(APPEND table "const ResourceTable table = {entries, sizeof entries / sizeof entries[0]};\n")
    string(APPEND table "} // namespace\n\n")
    string(APPEND table "const ResourceTable* embeddedBitmapTable() { return &table; }\n")
    embed_files(${out_dir}/data.cpp ${prefix} ${files})
    target_sources(${target} PRIVATE ${out_dir}/data.cpp)
  else()
    string(APPEND table "const ResourceTable* embeddedBitmapTable() { return nullptr; }\n")
  endif()
  file(GENERATE OUTPUT ${out_dir}/table.cpp CONTENT "${table}")
  target_sources(${target} PRIVATE ${out_dir}/table.cpp)
endfunction()
