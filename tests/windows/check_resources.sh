#!/usr/bin/env bash
# Reads the program file's resources with icoutils' wrestool and icotool (on
# the build machine, not under Wine): one group icon holding five square
# 32-bit images of 128, 96, 64, 48 and 32 pixels, and a version resource in
# Chinese (Simplified). Usage: check_resources.sh <kalvoro.exe>
set -euo pipefail
exe=$1
status=0
fail() { echo "FAIL: $*"; status=1; }

listing=$(wrestool -l "$exe")
echo "$listing"

groups=$(grep -c -- '--type=14 ' <<<"$listing" || true)
[[ $groups == 1 ]] || fail "expected one group icon, found $groups"
grep -q -- '--type=14 --name=1 ' <<<"$listing" || fail "the group icon is not resource 1 (KALVORO_ICON)"

images=$(wrestool -x --type=14 --name=1 "$exe" | icotool -l - | sed -E 's/--index=[0-9]+ //')
echo "$images"
expected=""
for size in 128 96 64 48 32; do
  expected+="--icon --width=$size --height=$size --bit-depth=32 --palette-size=0"$'\n'
done
[[ "$images"$'\n' == "$expected" ]] || fail "icon images differ from the five 32-bit squares 128..32"

# The version resource: language 0x0804 = 2052, and its strings (UTF-16).
grep -q -- '--type=16 --name=1 --language=2052 ' <<<"$listing" || fail "no version resource in 0x0804"
strings=$(wrestool -x --raw --type=16 "$exe" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -c '[:print:]' '\n' | grep -v '^$' || true)
for text in StringFileInfo 080404b0 FileVersion 1.0.0.0 ProductVersion FileDescription \
    ProductName Comments Kalvoro VarFileInfo Translation; do
  grep -qx -- "$text" <<<"$strings" || fail "version resource lacks \"$text\""
done
exit $status
