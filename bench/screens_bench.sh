#!/usr/bin/env bash
# The real screens end to end: `kinetra` on the ten-year logs driven over the WebSocket as the
# browser client drives it; each event's median and p99 from event to frame, the frame sizes,
# and the process's peak resident memory against the logs' size.
# Usage: bash bench/screens_bench.sh [ROUNDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
build_bench kinetra bench_startup
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" "$root/bench/screens_bench.py" "$build/src/kinetra" "$build/bench/bench_startup" \
  "$root/resources" "${1:-10}"
