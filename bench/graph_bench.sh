#!/usr/bin/env bash
# Progress-graph benchmark: one drawing of the graph of an exercise logged on 2,000 days, for
# each of the four windows, and once more with the PNG encoding the screen adds. Budget: 10 ms
# per drawing. Usage: bash bench/graph_bench.sh [REPETITIONS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
log="$(mktemp /tmp/kinetra-bench-build-XXXXXX)"
trap 'rm -f "$log"' EXIT
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKINETRA_BUILD_TESTS=OFF &&
       cmake --build "$build" --target bench_graph; } >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
"$build/bench/bench_graph" --resources="$root/resources" \
  --benchmark_repetitions="${1:-5}" --benchmark_report_aggregates_only=true
