#!/usr/bin/env bash
# The suites that need no display, built with clang in a folder of their own under a sanitizer
# and run with every report fatal. Clang compiles the checked code several times faster than GCC.
#   address: the unit, deliverable and headless toolkit suites under ASan + UBSan, and the fuzz
#            targets' seed corpora; the fuzz targets are linked with libFuzzer in the same tree,
#            for tools/run-fuzzers.sh.
#   thread:  the tests where host threads call the record while the audio thread processes.
# Usage: tools/run-sanitized-tests.sh address|thread [build-folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
kind="${1:?address or thread}"
build="${2:-$root/build-$kind}"
case "$kind" in
  # The sanitizer build links the C++ and sanitizer runtimes dynamically: the check of the
  # shipped library's run-time dependencies does not apply to it.
  address) targets=sanitized_suites select=(-L '^sanitized$' -E 'NeedsOnlySystemLibraries') ;;
  thread) targets=concurrency_tests select=(-R '/ConcurrentHost\.') ;;
  *) echo "unknown sanitizer $kind" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSANITIZE="$kind" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DBUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target $targets
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
ctest --test-dir "$build" "${select[@]}" --output-on-failure -j"$(nproc)"
