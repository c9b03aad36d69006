#!/usr/bin/env bash
# Runs every test: the native core and model tests (with the fuzz corpus
# replays), the same under ASan and UBSan, then the Windows program
# and its tests under Wine and Xvfb. Installs what it needs first.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh all || exit 1

passed=0
failed=0
status=0
# run_suite <name> <command...>: runs one ctest invocation and adds its
# closing counts to the totals.
run_suite() {
  local name=$1 log
  shift
  log=$(mktemp)
  echo "=== $name"
  "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [[ $line =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[1]))
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  fi
  [[ $rc -eq 0 ]] || status=1
  rm -f "$log"
}

build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }

if build native; then
  run_suite native ctest --preset native
else
  echo "native build failed"; status=1
fi

# The same native suites, corpus replays included, under ASan and UBSan:
# any report or leak fails its test.
if build sanitize; then
  run_suite sanitize ctest --preset sanitize
else
  echo "sanitize build failed"; status=1
fi

if build windows; then
  run_suite windows xvfb-run -a ctest --preset windows
else
  echo "windows build failed"; status=1
fi

echo
echo "total: $passed passed, $failed failed"
exit $status
