# embed_files(OUTPUT_CPP SYMBOL_PREFIX FILES...): writes a C++ source that holds each file as a
# byte array named <prefix><file stem> with its size in <prefix><file stem>_size, so resources
# are built into the library instead of read from disk at run time.
function(embed_files output prefix)
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
  file(GENERATE OUTPUT ${output} CONTENT "${content}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARGN})
endfunction()
