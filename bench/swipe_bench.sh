#!/usr/bin/env bash
# Swipe benchmark: each event of swipes through a 20-exercise workout's log panels on the
# ten-year logs, to its frame, against the same on a one-day log. Budget: 5 ms median, 20 ms p99.
# Usage: bash bench/swipe_bench.sh [ROUNDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
build_bench bench_swipe
"$build/bench/bench_swipe" --resources="$root/resources" "${1:-3}"
