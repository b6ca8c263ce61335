#!/usr/bin/env bash
# Swipe benchmark: each event of swipes through a 20-exercise workout's log panels on the
# ten-year logs, to its frame, against the same on a one-day log. Budget: 5 ms median, 20 ms p99.
# Usage: bash bench/swipe_bench.sh [ROUNDS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
log="$(mktemp /tmp/kinetra-bench-build-XXXXXX)"
trap 'rm -f "$log"' EXIT
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKINETRA_BUILD_TESTS=OFF &&
       cmake --build "$build" --target bench_swipe; } >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
"$build/bench/bench_swipe" --resources="$root/resources" "${1:-3}"
