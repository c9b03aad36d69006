#!/usr/bin/env bash
# Start-up benchmark under Wine: the time from CreateProcess to the first
# visible window of kalvoro.exe against a minimal Win32 program that only
# shows an empty window (and the same with 36 standard controls), median of
# N starts each (alternating), in the same Wine prefix and X server; and the
# exe sizes. Prints the driver's table; ratios are to the minimal program.
#
# Usage: tools/startup-bench.sh [runs]   (default 31)
# KALVORO_BUILD_DIR selects a configured cross build (default: the
# `windows` preset's build/windows, configured and built here).
# Without $DISPLAY it runs itself again under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-31}

if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a bash "$0" "$@"
fi

build=${KALVORO_BUILD_DIR:-}
if [[ -z $build ]]; then
  build=$root/build/windows
  cmake --preset windows >/dev/null
fi
cmake --build "$build" --target kalvoro minimal_window controls_window startup_driver >/dev/null

wine=/usr/lib/wine/wine64
prefix=$build/bench-prefix
export WINEPREFIX=$prefix WINEDEBUG=-all
# The prefix (window settings, fonts) is made once and kept; its server runs
# for the whole benchmark, as it does for a test run.
[[ -f $prefix/system.reg ]] || bash tools/wine-prefix.sh "$prefix" >/dev/null
trap 'bash tools/wine-prefix.sh "$prefix" stop' EXIT

# Linux path -> Wine's Z: drive.
win() { local p=$1; echo "Z:${p//\//\\}"; }

out=$build/startup-bench.txt
# Wine's output goes to a file, never a pipe (its services inherit it).
"$wine" "$build/tools/startup/startup_driver.exe" "$runs" \
  "$(win "$build/tools/startup/minimal_window.exe")" \
  "$(win "$build/tools/startup/controls_window.exe")" \
  "$(win "$build/app/kalvoro.exe")" >"$out" 2>"$out.err" || {
  cat "$out.err" >&2
  exit 1
}
echo "Wine $("$wine" --version 2>/dev/null), $(nproc) cores, $(uname -m), X server: ${DISPLAY}"
cat "$out"
