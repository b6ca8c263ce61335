#!/usr/bin/env bash
# Web-shell benchmark: event → next frame over a loopback WebSocket on a 600-row list.
# Usage: bash bench/shell_bench.sh [ITERATIONS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
build_bench bench_shell
"$build/bench/bench_shell" "${1:-500}"
