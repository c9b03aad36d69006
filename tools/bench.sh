#!/usr/bin/env bash
# Builds and runs the benchmarks (the `bench` preset: optimised as the program
# is, without tests) and prints the table of docs/PERFORMANCE.md: the usual
# Google Benchmark table, then the ratios against the C library and the time
# per click of each row. Extra arguments go to the benchmark program, e.g.
#   bash tools/bench.sh --benchmark_repetitions=5
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh native
cmake --preset bench >/dev/null
cmake --build --preset bench --target kalvoro_bench
exec build/bench/bench/kalvoro_bench --benchmark_color=false "$@"
