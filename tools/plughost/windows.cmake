# plughost.exe: every command, with libsndfile compiled for the target from Debian's source
# package (the version the Linux build links; tools/setup-windows-tests.sh unpacks it) without
# its external codecs: WAV, AIFF, AU, CAF, W64 and the other formats libsndfile reads on its
# own; and libpng (with zlib) from Debian's source packages for the snapshots.
add_debian_source_library(sndfile_static libsndfile libsndfile.a ""
  -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF
  -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DENABLE_CPACK=OFF
  -DENABLE_PACKAGE_CONFIG=OFF -DINSTALL_PKGCONFIG_MODULE=OFF -DINSTALL_MANPAGES=OFF)

# zlib's own build wants a resource file that Debian's source leaves out: its library sources
# are compiled here instead. libpng's build needs only zlib's headers.
debian_source_folder(zlib_source zlib)
set(zlib_files adler32.c compress.c crc32.c deflate.c gzclose.c gzlib.c gzread.c gzwrite.c
  infback.c inffast.c inflate.c inftrees.c trees.c uncompr.c zutil.c)
list(TRANSFORM zlib_files PREPEND ${zlib_source}/)
add_library(zlib_static STATIC ${zlib_files})
# The public headers in a folder of their own, zconf.h as the source ships it (zconf.h.in).
configure_file(${zlib_source}/zconf.h.in ${CMAKE_CURRENT_BINARY_DIR}/zlib/zconf.h COPYONLY)
configure_file(${zlib_source}/zlib.h ${CMAKE_CURRENT_BINARY_DIR}/zlib/zlib.h COPYONLY)
target_include_directories(zlib_static SYSTEM PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/zlib
  ${zlib_source})
# Third-party code, compiled as its authors ship it.
target_compile_options(zlib_static PRIVATE -w)
add_debian_source_library(png_static libpng1.6 libpng16.a ""
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
  -DZLIB_LIBRARY=${CMAKE_BINARY_DIR}/zlib-is-linked-by-plughost.a
  -DZLIB_INCLUDE_DIR=${CMAKE_CURRENT_BINARY_DIR}/zlib)
set_property(TARGET png_static APPEND PROPERTY INTERFACE_LINK_LIBRARIES zlib_static)

file(GLOB plughost_commands CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/command_*.cpp)
add_executable(plughost plughost.cpp options.cpp test_signal.cpp audio_file.cpp editor_host.cpp
  host_window_win32.cpp list_probe_win32.cpp ${plughost_commands})
target_link_libraries(plughost PRIVATE pluginhost sndfile_static png_static user32 gdi32)
target_compile_definitions(plughost PRIVATE PLUGHOST_VERSION="${PROJECT_VERSION}")
