# Writes the Windows ZIPs' THIRD-PARTY.txt: the notices of cmake/windows/THIRD-PARTY.txt, then
# the embedded fonts' copyrights and licences as the Debian copyright file states them (read
# from it, so both packages carry the same text), then FreeType's licence from the source
# package the DLLs' FreeType was built from.
# cmake -DNOTICES=... -DDEBIAN_COPYRIGHT=... -DFREETYPE_LICENSE=... -DOUTPUT=...
#       -P third_party_notices.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${NOTICES} text)
file(STRINGS ${DEBIAN_COPYRIGHT} lines)

# The copyright file's paragraphs (separated by empty lines), with their continuation lines
# unfolded: a leading space removed, a lone "." an empty line.
set(paragraphs "")
set(paragraph "")
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    if(NOT paragraph STREQUAL "")
      string(REPLACE ";" "\\;" paragraph "${paragraph}")
      list(APPEND paragraphs "${paragraph}")
    endif()
    set(paragraph "")
    continue()
  endif()
  if(line STREQUAL " .")
    set(line "")
  elseif(line MATCHES "^ (.*)$")
    set(line "  ${CMAKE_MATCH_1}")
  endif()
  string(APPEND paragraph "${line}\n")
endforeach()
if(NOT paragraph STREQUAL "")
  list(APPEND paragraphs "${paragraph}")
endif()

set(fonts "")
set(licences "")
foreach(paragraph IN LISTS paragraphs)
  if(paragraph MATCHES "^Files: embedded-fonts/")
    string(APPEND fonts "${paragraph}\n")
  elseif(paragraph MATCHES "^License: (SIL-OFL-1.1|bitstream-vera)\n")
    string(APPEND licences "${paragraph}\n")
  endif()
endforeach()
if(fonts STREQUAL "" OR NOT licences MATCHES "SIL-OFL-1.1" OR NOT licences MATCHES "bitstream-vera")
  message(FATAL_ERROR "${DEBIAN_COPYRIGHT} names no embedded fonts or lacks their licences")
endif()
file(READ ${FREETYPE_LICENSE} freetype)

string(APPEND text "
- The editors' fonts, built into the DLLs (cut down to the glyphs the editors can draw):
  Liberation Sans and DejaVu Sans.

${fonts}${licences}- FreeType, built into the DLLs from Debian's source package, under the FreeType
  License (FTL), whose text follows:

${freetype}")
file(WRITE ${OUTPUT} "${text}")
