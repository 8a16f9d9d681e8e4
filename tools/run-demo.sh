#!/usr/bin/env bash
# The main job: builds the plug-ins, runs each of them on real audio with plughost and writes
# one page, out/index.html, that shows for each plug-in its panel, its LV2 plug-in's URI, its
# parameters, spectrograms of its input and output and players for both.
# Usage: tools/run-demo.sh [IN.wav]
#   without an argument the built-in test signal is processed; results go to ./out/.
#   DEMO_BUILD=FOLDER uses that already-built build folder: no setup, no build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$PWD/out"

if [ -n "${DEMO_BUILD:-}" ]; then
  build="$(cd "$DEMO_BUILD" && pwd)"
else
  build="$root/build"
  bash "$root/tools/setup-debian.sh"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  plugins="$(cd "$root/plugins" && ls -d */ | tr -d /)"
  cmake --build "$build" -j"$(nproc)" --target plughost $plugins \
    $(for p in $plugins; do echo "${p}_lv2_bundle"; done) >/dev/null
fi
mkdir -p "$out"
plughost="$build/tools/plughost/plughost"

if [ $# -ge 1 ]; then
  extension="${1##*.}"
  [ "$extension" != "$1" ] || extension=wav
  input="$out/input.$extension"
  # The page refers to its own files only: the input is copied next to the results.
  [ "$(realpath "$1")" = "$(realpath -m "$input")" ] || cp "$1" "$input"
else
  input="$out/test-signal.wav"
  "$plughost" signal "$input" --seconds 4 >/dev/null
fi
input_name="$(basename "$input")"

escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1"; }

# RMS level of an audio file in dB full scale (both channels together).
rms_db() {
  sox -V1 "$1" -n stat 2>&1 |
    awk '/^RMS +amplitude/ { if ($3 > 0) printf "%.1f", 20 * log($3) / log(10); else print "-inf" }'
}

# The parameter table of `plughost info` as HTML rows (index, name, value text, label).
parameter_rows() {
  awk '
    /^parameters:$/ { table = 1; next }
    table && /^ +index/ { next }
    table && /^$/ { exit }
    table {
      if (match($0, /^ +[0-9]+  /) == 0) next
      index_text = substr($0, 1, RLENGTH); gsub(/ /, "", index_text)
      rest = substr($0, RLENGTH + 1)
      # name (padded), "label", "display", value
      match(rest, / +"[^"]*" +"[^"]*" +[-+0-9.eE]+$/)
      name = substr(rest, 1, RSTART - 1)
      split(substr(rest, RSTART), quoted, "\"")
      printf "%s\t%s\t%s\t%s\n", index_text, name, quoted[4], quoted[2]
    }' "$1" |
    while IFS=$'\t' read -r number name display label; do
      printf '          <tr><td>%s</td><td>%s</td><td>%s</td><td>%s</td></tr>\n' \
        "$number" "$(escape "$name")" "$(escape "$display")" "$(escape "${label# }")"
    done
}

spectrogram() { # IN.wav OUT.png TITLE
  sox -V1 "$1" -n spectrogram -x 640 -y 257 -c "" -t "$3" -o "$2"
}

spectrogram "$input" "$out/input-spectrogram.png" "input: $input_name"
input_level="$(rms_db "$input")"

sections=""
summary=""
for plugin in "$build"/plugins/*.so; do
  name="$(basename "$plugin" .so)"
  echo "== $name"
  "$plughost" info "$plugin" >"$out/$name-info.txt"
  "$plughost" process "$plugin" "$input" "$out/$name.wav"
  spectrogram "$out/$name.wav" "$out/$name-spectrogram.png" "$name output"
  title="$(sed -n 's/^effect name: *//p' "$out/$name-info.txt")"
  [ -n "$title" ] || title="$name"
  unique_id="$(sed -n 's/^unique ID: *\([^ ]*\).*/\1/p' "$out/$name-info.txt")"
  parameters="$(sed -n 's/^parameters: *\([0-9][0-9]*\)$/\1/p' "$out/$name-info.txt")"
  # The flags line names HasEditor exactly when the record says effFlagsHasEditor.
  if grep -q '^flags: .*(.*\bHasEditor\b' "$out/$name-info.txt"; then
    "$plughost" snapshot "$plugin" "$out/$name-panel.png" >/dev/null
    panel="        <img class=\"panel\" src=\"$name-panel.png\" alt=\"the editor of $name\"/>"
    editor="editor snapshot $name-panel.png"
  else
    panel="        <p class=\"no-editor\">$name has no editor yet: hosts show their own generic controls.</p>"
    editor="no editor"
  fi
  # The LV2 plug-in of the same effect, as an LV2 host finds it in the build's bundles.
  lv2_uri="$(LV2_PATH="$build/lv2" lv2ls 2>/dev/null | grep "/$name\$" || true)"
  if [ -n "$lv2_uri" ]; then
    lv2="      <p class=\"lv2\">Also available as an LV2 plug-in with the same panel: <code>$(escape "$lv2_uri")</code> (bundle $name.lv2).</p>"
  else
    lv2="      <p class=\"lv2\">No LV2 bundle of $name was built.</p>"
  fi
  output_level="$(rms_db "$out/$name.wav")"
  summary+="$(printf '%-9s %-20s %s  %2s parameters  %-34s RMS %s dB in, %s dB out' \
    "$name" "$title" "$unique_id" "$parameters" "$editor" "$input_level" "$output_level")"$'\n'
  sections+="
    <section id=\"$name\">
      <h2>$(escape "$title") <small>($name.so, ID $(escape "$unique_id"))</small></h2>
$panel
$lv2
      <table>
        <thead><tr><th>#</th><th>parameter</th><th>value</th><th>unit</th></tr></thead>
        <tbody>
$(parameter_rows "$out/$name-info.txt")
        </tbody>
      </table>
      <div class=\"pair\">
        <figure>
          <img src=\"input-spectrogram.png\" alt=\"spectrogram of the input\"/>
          <figcaption>input, RMS $input_level dB</figcaption>
          <audio controls=\"controls\" preload=\"none\" src=\"$(escape "$input_name")\"></audio>
        </figure>
        <figure>
          <img src=\"$name-spectrogram.png\" alt=\"spectrogram of the output of $name\"/>
          <figcaption>output of $name, RMS $output_level dB</figcaption>
          <audio controls=\"controls\" preload=\"none\" src=\"$name.wav\"></audio>
        </figure>
      </div>
      <p><a href=\"$name-info.txt\">everything plughost info tells about $name</a></p>
    </section>"
done

cat >"$out/index.html" <<EOF
<!DOCTYPE html>
<html lang="en">
  <head>
    <meta charset="utf-8"/>
    <title>The four effects on one signal</title>
    <style>
      body { font-family: sans-serif; max-width: 1400px; margin: 2em auto; padding: 0 1em; }
      section { border-top: 1px solid #999; padding-top: 1em; margin-top: 2em; }
      img.panel { display: block; margin: 1em 0; }
      .no-editor { font-style: italic; }
      table { border-collapse: collapse; margin: 1em 0; }
      td, th { border: 1px solid #ccc; padding: 0.2em 0.6em; text-align: left; }
      .pair { display: flex; gap: 2em; flex-wrap: wrap; }
      figure { margin: 0; }
      audio { display: block; width: 640px; margin-top: 0.5em; }
    </style>
  </head>
  <body>
    <h1>The four effects on one signal</h1>
    <p>Each plug-in below processed the same input, $(escape "$input_name"), with its first program.
      For each: its panel, its parameters as the host sees them, spectrograms of the input
      and of its output, and players for both.</p>
$sections
  </body>
</html>
EOF

echo
echo "Summary:"
printf '%s' "$summary"
echo "Page: $out/index.html"
