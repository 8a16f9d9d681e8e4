#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix, as CTest's emulator for the Windows
# builds. Usage: wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# The first call makes the prefix (wineboot, Wine's null graphics driver, so no X server is
# needed); later calls reuse it. The program's output goes through files, not pipes: Wine's
# service processes would inherit a pipe and keep the caller (CTest) waiting after the
# program has ended.
set -uo pipefail
prefix="$1"
shift
# With Wine's debugger switched off, a program that crashes ends with its exception code
# instead of waiting for a debugger session nobody attends.
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" DISPLAY=
made="null graphics"
if [ "$(cat "$prefix/.made" 2>/dev/null)" != "$made" ]; then
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
  if [ "$(cat "$prefix/.made" 2>/dev/null)" != "$made" ]; then
    wineserver -k 2>/dev/null
    rm -rf "$prefix"
    { wineboot -i &&
      wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f &&
      wineserver -w; } >"$prefix.log" 2>&1 ||
      { echo "wine-run: cannot make $prefix (see $prefix.log)" >&2; exit 1; }
    echo "$made" >"$prefix/.made"
  fi
  exec 9>&-
fi
output=$(mktemp)
errors=$(mktemp)
wine "$@" >"$output" 2>"$errors" </dev/null
status=$?
# 139: Wine's own loader died of SIGSEGV, a fault Wine could not turn into a Windows exception
# (a crash of the program itself ends with its exception code instead). The 32-bit loader does
# this now and then while a program that has passed is being torn down; such a run is made once
# more, and a second loader crash counts.
if [ $status -eq 139 ]; then
  echo "wine-run: Wine's loader crashed (SIGSEGV); running $1 once more" >&2
  wine "$@" >"$output" 2>"$errors" </dev/null
  status=$?
fi
cat "$output"
cat "$errors" >&2
rm -f "$output" "$errors"
exit $status
