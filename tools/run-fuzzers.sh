#!/usr/bin/env bash
# The fuzz targets (fuzz/), built with clang and libFuzzer under AddressSanitizer and UBSan in the
# address sanitizer job's folder (tools/run-sanitized-tests.sh; its build is reused, or made if
# it is missing), each run for a bounded time from its committed seed corpus. A crash, a
# leak, a timeout, running out of memory or any sanitizer report fails the run; libFuzzer then
# leaves the input that did it in <build>/artifacts/. New inputs go to <build>/corpus/, never
# into the source tree. Prints, per target, the executions per second and the coverage reached.
# Usage: tools/run-fuzzers.sh [build-folder] [seconds-per-target (default 10)]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-address}"
seconds="${2:-10}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSANITIZE=address \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DBUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

mkdir -p "$build/artifacts" "$build/logs"
summary=()
for seeds in "$root"/fuzz/corpus/*/; do
  target="$(basename "$seeds")"
  corpus="$build/corpus/$target"
  log="$build/logs/$target.log"
  mkdir -p "$corpus"
  echo "fuzzing $target for ${seconds}s"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=4096 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
      "$corpus" "$seeds" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "FAILED: $target (its input is in $build/artifacts/)" >&2
    exit 1
  fi
  # The last status line: "#runs DONE cov: N ft: N corp: N/Nb ... exec/s: N rss: NMb".
  status="$(grep -E '^#[0-9]+' "$log" | tail -n 1)"
  cov="$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$status")"
  ft="$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$status")"
  rate="$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+).*/\1/p' "$log")"
  runs="$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log")"
  summary+=("$(printf '%-26s %9s runs %7s exec/s  cov %5s  ft %6s' "$target" "$runs" "$rate" "$cov" "$ft")")
done
printf '%s\n' "${summary[@]}"
echo "${#summary[@]} passed, 0 failed"
