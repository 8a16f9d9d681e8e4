#!/usr/bin/env bash
# The whole test suite: installs what it needs, builds everything and runs every test through
# CTest, then the suites that need no display under AddressSanitizer and UBSan, the concurrent
# host test under ThreadSanitizer, and the fuzz targets for a bounded time.
# Usage: tools/run-tests.sh [build-folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"

bash "$root/tools/setup-debian.sh"
# The Windows builds and their tests under Wine: cross compilers, Wine, Debian source packages.
bash "$root/tools/setup-windows-tests.sh" "$build/windows-sources"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWINDOWS_BUILDS=ON \
  -DWINDOWS_SOURCE_PACKAGES="$build/windows-sources"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
# The display-free suites again, built beside it under AddressSanitizer and UBSan.
bash "$root/tools/run-sanitized-tests.sh" address "$build-address"
# Host threads against the audio thread, once per plug-in, under ThreadSanitizer.
bash "$root/tools/run-sanitized-tests.sh" thread "$build-thread"
# The fuzz targets with libFuzzer, linked in the address job's tree, 10 s each from their seeds.
bash "$root/tools/run-fuzzers.sh" "$build-address" 10
