#!/usr/bin/env bash
# History benchmark: opening All Records and a day of the ten-year logs, from the event to the
# frame, against the same on a one-day log. Budget: 10 ms each.
# Usage: bash bench/history_bench.sh [REPETITIONS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
log="$(mktemp /tmp/kinetra-bench-build-XXXXXX)"
trap 'rm -f "$log"' EXIT
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKINETRA_BUILD_TESTS=OFF &&
       cmake --build "$build" --target bench_history; } >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
"$build/bench/bench_history" --resources="$root/resources" \
  --benchmark_repetitions="${1:-5}" --benchmark_report_aggregates_only=true
