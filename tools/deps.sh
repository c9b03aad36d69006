#!/usr/bin/env bash
# Installs the Debian packages a build needs. Usage: tools/deps.sh native|windows|all
# Skips apt entirely when everything is already there.
set -euo pipefail

native=(cmake ninja-build g++ googletest libgtest-dev libgmp-dev libbenchmark-dev clang
        libclang-rt-dev)
windows=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest
         wine64 xvfb xauth imagemagick icoutils fonts-wqy-microhei fonts-wqy-zenhei fonts-wine)

case "${1:-all}" in
  native) wanted=("${native[@]}") ;;
  windows) wanted=("${windows[@]}") ;;
  all) wanted=("${native[@]}" "${windows[@]}") ;;
  *) echo "usage: $0 native|windows|all" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
