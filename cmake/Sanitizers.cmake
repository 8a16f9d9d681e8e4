# SANITIZE: a checking build, never shipped. "address" builds everything under AddressSanitizer
# and UndefinedBehaviorSanitizer, "thread" under ThreadSanitizer; empty (the default) is the
# shipped build. Every report stops the program, so a test that triggers one fails.
# An "address" build made with clang also carries libFuzzer's coverage instrumentation, so the
# same tree runs the suites and links the fuzz targets (fuzz/) against libFuzzer (LIBFUZZER).
# Line tables only: enough for the reports' stacks, and the checked code compiles much faster.
set(SANITIZE "" CACHE STRING "Checking build: empty, address (ASan + UBSan) or thread (TSan)")
set(LIBFUZZER OFF)
if(SANITIZE STREQUAL "address")
  set(sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(LIBFUZZER ON)
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
elseif(SANITIZE STREQUAL "thread")
  set(sanitizer_flags -fsanitize=thread)
elseif(NOT SANITIZE STREQUAL "")
  message(FATAL_ERROR "SANITIZE is ${SANITIZE}; use address, thread or leave it empty")
endif()
if(sanitizer_flags)
  add_compile_options(${sanitizer_flags} -fno-omit-frame-pointer -g1)
  add_link_options(${sanitizer_flags})
endif()
