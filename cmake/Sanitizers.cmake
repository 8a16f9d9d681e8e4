# SANITIZE: a checking build, never shipped. "address" builds everything under AddressSanitizer
# and UndefinedBehaviorSanitizer, "thread" under ThreadSanitizer; empty (the default) is the
# shipped build. Every report stops the program, so a test that triggers one fails.
set(SANITIZE "" CACHE STRING "Checking build: empty, address (ASan + UBSan) or thread (TSan)")
if(SANITIZE STREQUAL "address")
  set(sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(SANITIZE STREQUAL "thread")
  set(sanitizer_flags -fsanitize=thread)
elseif(NOT SANITIZE STREQUAL "")
  message(FATAL_ERROR "SANITIZE is ${SANITIZE}; use address, thread or leave it empty")
endif()
if(sanitizer_flags)
  add_compile_options(${sanitizer_flags} -fno-omit-frame-pointer -g)
  add_link_options(${sanitizer_flags})
endif()
