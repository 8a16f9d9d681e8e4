# plughost.exe: the commands that need no window (list, info, process, bench, signal), with
# libsndfile compiled for the target from Debian's source package (the version the Linux build
# links; tools/setup-windows-tests.sh unpacks it) without its external codecs: WAV, AIFF, AU,
# CAF, W64 and the other formats libsndfile reads on its own.
add_debian_source_library(sndfile_static libsndfile libsndfile.a ""
  -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF
  -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DENABLE_CPACK=OFF
  -DENABLE_PACKAGE_CONFIG=OFF -DINSTALL_PKGCONFIG_MODULE=OFF -DINSTALL_MANPAGES=OFF)

add_executable(plughost plughost.cpp options.cpp test_signal.cpp audio_file.cpp
  command_info.cpp command_process.cpp command_bench.cpp command_signal.cpp command_list.cpp
  list_probe_win32.cpp)
target_link_libraries(plughost PRIVATE pluginhost sndfile_static)
target_compile_definitions(plughost PRIVATE PLUGHOST_VERSION="${PROJECT_VERSION}")
