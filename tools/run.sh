#!/usr/bin/env bash
# Builds kalvoro.exe (the `windows` preset: MinGW-w64 cross build) and starts
# it under Wine, installing what is missing first (as root, via apt-get).
#
# With a display ($DISPLAY set) the program simply runs until its window is
# closed. Without one it runs under Xvfb: once the window is up, a
# screenshot of the screen is saved to build/windows/kalvoro-screenshot.png
# (or $KALVORO_SCREENSHOT) and the program is closed again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/deps.sh windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target kalvoro

exe=$root/build/windows/app/kalvoro.exe
prefix=$root/build/windows/run-prefix
shot=${KALVORO_SCREENSHOT:-$root/build/windows/kalvoro-screenshot.png}
wine=/usr/lib/wine/wine64
export WINEPREFIX=$prefix WINEDEBUG=-all

if [[ -n ${DISPLAY:-} && -z ${KALVORO_UNDER_XVFB:-} ]]; then
  # The prefix (fonts, window settings) is made once and kept.
  [[ -f $prefix/system.reg ]] || bash tools/wine-prefix.sh "$prefix" >/dev/null
  trap 'bash tools/wine-prefix.sh "$prefix" stop' EXIT
  echo "starting $exe"
  "$wine" "$exe" >"$prefix.run.log" 2>&1
  exit 0
fi

# No display: the same under a virtual X server of 1024 x 768.
if [[ -z ${KALVORO_UNDER_XVFB:-} ]]; then
  export KALVORO_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
# xvfb-run sets DISPLAY; this part runs inside it. A prefix made on another
# display would keep a server bound to it, so it is made afresh here.
bash tools/wine-prefix.sh "$prefix" >/dev/null
trap 'bash tools/wine-prefix.sh "$prefix" stop' EXIT
"$wine" "$exe" >"$prefix.run.log" 2>&1 &
program=$!

# Step 1: wait until the window is on the screen: its caption, which Wine
# draws itself without a window manager, is the first thing that is not the
# black of the empty screen at the window's centred place (top edge at
# (768 - 228) / 2 = 270; the caption 10 pixels below it).
for _ in $(seq 150); do
  pixel=$(import -window root -crop 1x1+512+280 txt:- 2>/dev/null | tail -n 1 || true)
  [[ -n $pixel && $pixel != *"#000000"* ]] && break
  sleep 0.1
done
sleep 0.5  # the controls' first painting
# Step 2: the screenshot.
import -window root "$shot"
echo "screenshot saved: $shot"
# Step 3: end the program: stopping the prefix's Wine server ends every
# program in it.
bash tools/wine-prefix.sh "$prefix" stop
wait "$program" 2>/dev/null || true
