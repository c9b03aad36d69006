#!/usr/bin/env bash
# Builds the libFuzzer targets (the `fuzz` preset: clang, ASan, UBSan) and
# runs each for a number of inputs, one after another, starting from the
# corpus in fuzz/corpus/<target> (new finds go to build/fuzz/found/<target>,
# not into the repository).
#   bash tools/fuzz.sh [runs] [target...]     default: 10000000, every target
# KALVORO_FUZZ_LONG_TEXT (bytes) sets the size of the long texts that the
# join_text and row targets build; it defaults to 4096 here (1 MiB when the
# variable is unset in a run of a target by hand). See docs/PERFORMANCE.md.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000000}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(parse_single format_number join_text throw_distance image_size
                               screen_sides)
export KALVORO_FUZZ_LONG_TEXT=${KALVORO_FUZZ_LONG_TEXT:-4096}
bash tools/deps.sh native
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for t in "${targets[@]}"; do
  found=build/fuzz/found/$t
  mkdir -p "$found"
  echo "=== $t: $runs inputs, long texts $KALVORO_FUZZ_LONG_TEXT bytes"
  log=build/fuzz/found/$t.log
  rc=0
  "build/fuzz/fuzz/${t}_fuzz" -runs="$runs" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/found/$t-" "$found" "fuzz/corpus/$t" >"$log" 2>&1 || rc=$?
  grep -E '^(stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|Done)' "$log" || true
  if ((rc != 0)); then
    tail -n 40 "$log"
    echo "$t FAILED (log: $log)"
    exit 1
  fi
done
