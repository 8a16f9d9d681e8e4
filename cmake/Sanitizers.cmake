# SANITIZE: a checking build, never shipped. "address" builds everything under AddressSanitizer
# and UndefinedBehaviorSanitizer, "thread" under ThreadSanitizer, "fuzzer" (clang only) like
# "address" with libFuzzer's coverage instrumentation, for the fuzz targets (fuzz/); empty (the
# default) is the shipped build. Every report stops the program, so a test that triggers one
# fails.
set(SANITIZE "" CACHE STRING
  "Checking build: empty, address (ASan + UBSan), thread (TSan) or fuzzer (clang: libFuzzer)")
if(SANITIZE STREQUAL "address")
  set(sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(SANITIZE STREQUAL "fuzzer")
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "SANITIZE=fuzzer needs clang (CMAKE_CXX_COMPILER=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
  set(sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(SANITIZE STREQUAL "thread")
  set(sanitizer_flags -fsanitize=thread)
elseif(NOT SANITIZE STREQUAL "")
  message(FATAL_ERROR "SANITIZE is ${SANITIZE}; use address, thread, fuzzer or leave it empty")
endif()
if(sanitizer_flags)
  add_compile_options(${sanitizer_flags} -fno-omit-frame-pointer -g)
  add_link_options(${sanitizer_flags})
endif()
