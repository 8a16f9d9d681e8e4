# add_debian_source_library(TARGET PACKAGE LIBRARY INCLUDE_SUBDIR [CMAKE_ARGS...]): TARGET, an
# imported static library (lib/LIBRARY), compiled for the Windows target from the Debian source
# package PACKAGE that tools/setup-windows-tests.sh unpacked (Debian's patches applied) under
# WINDOWS_SOURCE_PACKAGES, with the extra CMake arguments given; its headers are
# include/INCLUDE_SUBDIR of its install folder.
include(ExternalProject)

# debian_source_folder(OUT_VAR PACKAGE): the folder the source package PACKAGE was unpacked to.
function(debian_source_folder out package)
  file(GLOB source LIST_DIRECTORIES true "${WINDOWS_SOURCE_PACKAGES}/${package}/${package}-*")
  list(FILTER source EXCLUDE REGEX "\\.(tar|dsc|gz|xz|asc|bz2)")
  if(NOT source)
    message(FATAL_ERROR "the Windows build needs ${package}'s Debian source package in "
      "${WINDOWS_SOURCE_PACKAGES}/${package}: run tools/setup-windows-tests.sh "
      "${WINDOWS_SOURCE_PACKAGES} or set WINDOWS_SOURCE_PACKAGES")
  endif()
  set(${out} ${source} PARENT_SCOPE)
endfunction()

function(add_debian_source_library target package library include_subdir)
  debian_source_folder(source ${package})
  set(prefix ${CMAKE_BINARY_DIR}/${package})
  ExternalProject_Add(${target}_build
    SOURCE_DIR ${source}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${package}-build
    INSTALL_DIR ${prefix}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
      -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
      -DBUILD_SHARED_LIBS=OFF
      ${ARGN}
    BUILD_BYPRODUCTS ${prefix}/lib/${library})
  file(MAKE_DIRECTORY ${prefix}/include/${include_subdir})
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${prefix}/lib/${library}
    INTERFACE_INCLUDE_DIRECTORIES ${prefix}/include/${include_subdir})
  add_dependencies(${target} ${target}_build)
endfunction()
