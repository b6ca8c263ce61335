#!/usr/bin/env bash
# Progress-graph benchmark: one drawing of the graph of an exercise logged on 2,000 days, for
# each of the four windows, and once more with the PNG encoding the screen adds. Budget: 10 ms
# per drawing. Usage: bash bench/graph_bench.sh [REPETITIONS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
build_bench bench_graph
"$build/bench/bench_graph" --resources="$root/resources" \
  --benchmark_repetitions="${1:-5}" --benchmark_report_aggregates_only=true
