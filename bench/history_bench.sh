#!/usr/bin/env bash
# History benchmark: opening All Records and a day of the ten-year logs, from the event to the
# frame, against the same on a one-day log. Budget: 10 ms each.
# Usage: bash bench/history_bench.sh [REPETITIONS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
build_bench bench_history
"$build/bench/bench_history" --resources="$root/resources" \
  --benchmark_repetitions="${1:-5}" --benchmark_report_aggregates_only=true
