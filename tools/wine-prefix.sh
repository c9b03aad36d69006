#!/usr/bin/env bash
# Creates a fresh Wine prefix for one test run and leaves its wineserver
# running, so that every test program of the run starts in well under a
# second. Usage: tools/wine-prefix.sh <prefix-dir> [stop]
# With "stop" it only ends the prefix's wineserver (the run's cleanup).
#
# Wine's output goes to <prefix-dir>.log: its background services inherit
# stdout and stderr, and a pipe (ctest's) would stay open as long as they run.
set -euo pipefail

prefix=$(realpath -m "$1")
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
log=$prefix.log

# Any server of an earlier run on this prefix goes first.
"$wineserver" -k >/dev/null 2>&1 || true
[[ ${2:-} == stop ]] && exit 0

rm -rf "$prefix"
mkdir -p "$prefix"
: >"$log"
# A server that stays up until the cleanup stops it.
"$wineserver" -p </dev/null >>"$log" 2>&1
"$wine" wineboot -i </dev/null >>"$log" 2>&1

# Without a window manager Wine waits 2 s whenever a window closes, unless
# it manages the windows itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >>"$log" 2>&1

# The Chinese faces the window asks for, mapped to fonts that are installed.
bash "$(dirname "$0")/wine-fonts.sh" "$prefix"

echo "wine prefix ready: $prefix"
