#!/usr/bin/env bash
# The main job: builds the plug-ins and runs each of them on real audio with plughost.
# Usage: tools/run-demo.sh [IN.wav]
#   without an argument the built-in test signal is processed; results go to ./out/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
out="$PWD/out"

bash "$root/tools/setup-debian.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target plughost $(cd "$root/plugins" && ls -d */ | tr -d /) >/dev/null
mkdir -p "$out"

plughost="$build/tools/plughost/plughost"
if [ $# -ge 1 ]; then
  input="$1"
else
  input="$out/test-signal.wav"
  "$plughost" signal "$input" --seconds 4
fi

for plugin in "$build"/plugins/*.so; do
  name="$(basename "$plugin" .so)"
  echo
  echo "== $name"
  "$plughost" info "$plugin"
  "$plughost" process "$plugin" "$input" "$out/$name.wav"
done
