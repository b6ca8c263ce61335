#!/usr/bin/env bash
# The shell under load and abuse: 50 browsers of 1,000 events each, a browser that never reads,
# 1,000 idle connections until the shell's deadlines close them, malformed frames and events and
# dripped headers, against a Release kinetra, with one ordinary browser's event-to-frame latency
# (goal: median <= 5 ms, p99 <= 20 ms) and kinetra's peak memory reported
# (see tests/load/load_kinetra.py). Takes a few minutes.
# Usage: bash bench/load.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
build_bench kinetra
python="/usr/bin/python3"
[[ -x "$python" ]] || python="python3"
"$python" "$root/tests/load/load_kinetra.py" "$build/src/kinetra" "$root/resources"
