# plughost.exe: the commands that need no window (list, info, process, bench, signal), with
# libsndfile compiled for the target from Debian's source package (the version the Linux build
# links; tools/setup-windows-tests.sh unpacks it) without its external codecs: WAV, AIFF, AU,
# CAF, W64 and the other formats libsndfile reads on its own.
file(GLOB sndfile_source LIST_DIRECTORIES true "${WINDOWS_SOURCE_PACKAGES}/libsndfile/libsndfile-*")
list(FILTER sndfile_source EXCLUDE REGEX "\\.(tar|dsc|gz|xz)")
if(NOT sndfile_source)
  message(FATAL_ERROR "plughost.exe needs libsndfile's Debian source package in "
    "${WINDOWS_SOURCE_PACKAGES}/libsndfile: run tools/setup-windows-tests.sh "
    "${WINDOWS_SOURCE_PACKAGES} or set WINDOWS_SOURCE_PACKAGES")
endif()
set(sndfile_prefix ${CMAKE_BINARY_DIR}/sndfile)
ExternalProject_Add(sndfile_build
  SOURCE_DIR ${sndfile_source}
  BINARY_DIR ${CMAKE_BINARY_DIR}/sndfile-build
  INSTALL_DIR ${sndfile_prefix}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DBUILD_SHARED_LIBS=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF
    -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DENABLE_CPACK=OFF
    -DENABLE_PACKAGE_CONFIG=OFF -DINSTALL_PKGCONFIG_MODULE=OFF -DINSTALL_MANPAGES=OFF
  BUILD_BYPRODUCTS ${sndfile_prefix}/lib/libsndfile.a)
file(MAKE_DIRECTORY ${sndfile_prefix}/include)
add_library(sndfile_static STATIC IMPORTED)
set_target_properties(sndfile_static PROPERTIES
  IMPORTED_LOCATION ${sndfile_prefix}/lib/libsndfile.a
  INTERFACE_INCLUDE_DIRECTORIES ${sndfile_prefix}/include)
add_dependencies(sndfile_static sndfile_build)

add_executable(plughost plughost.cpp options.cpp test_signal.cpp audio_file.cpp
  command_info.cpp command_process.cpp command_bench.cpp command_signal.cpp command_list.cpp
  list_probe_win32.cpp)
target_link_libraries(plughost PRIVATE pluginhost sndfile_static)
target_compile_definitions(plughost PRIVATE PLUGHOST_VERSION="${PROJECT_VERSION}")
