#!/usr/bin/env bash
# Starts the real kinetra COUNT times (default 10,000), each on a fresh documents folder holding
# one hostile user file, a few at a time, and prints: started, served, kept aside, reported,
# failures (tests/hostile/hostile_files.py; the test suite runs 100 of them).
#   bash bench/hostile.sh [COUNT] [JOBS]        (uses build/default's kinetra; builds it if needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-10000}
jobs=${2:-3}
build=$root/build/default
if [ ! -f "$build/CMakeCache.txt" ]; then
  (cd "$root" && cmake --preset default >/dev/null)
fi
cmake --build "$build" -j2 --target kinetra >/dev/null
exec /usr/bin/python3 "$root/tests/hostile/hostile_files.py" "$build/src/kinetra" \
  "$root/resources" --count "$count" --jobs "$jobs" --seed "${SEED:-20261207}"
