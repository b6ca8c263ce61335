#!/usr/bin/env bash
# The screen in Debian's Chromium: page load to the first frame, and a finger's release to the
# frame that answers it, each against its floor on the same loopback (see README.md).
# Usage: bash bench/browser_bench.sh [ROUNDS] [TAPS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
build_bench kinetra
cd "$root"
node bench/browser_bench.mjs --server "$build/src/kinetra" --resources "$root/resources" \
  --rounds "${1:-15}" --taps "${2:-60}"
