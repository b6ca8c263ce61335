#!/usr/bin/env bash
# Web-shell benchmark: event → next frame over a loopback WebSocket on a 600-row list.
# Usage: bash bench/shell_bench.sh [ITERATIONS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
log="$(mktemp /tmp/kinetra-bench-build-XXXXXX)"
trap 'rm -f "$log"' EXIT
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKINETRA_BUILD_TESTS=OFF &&
       cmake --build "$build" --target bench_shell; } >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
"$build/bench/bench_shell" "${1:-500}"
