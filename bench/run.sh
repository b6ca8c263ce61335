#!/usr/bin/env bash
# Property-list benchmark: Kinetra's layer against Python's plistlib on a one-year and a
# ten-year synthetic strength log; then the application's start-up on the ten-year strength and
# aerobic logs against plistlib loading the same two files; then adding a set to the ten-year
# strength log against the bare durable write of the same bytes. Usage: bash bench/run.sh [REPETITIONS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
log="$(mktemp /tmp/kinetra-bench-build-XXXXXX)"
trap 'rm -f "$log"' EXIT
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKINETRA_BUILD_TESTS=OFF &&
       cmake --build "$build" --target bench_plist plist_generate_log bench_startup bench_add_set; } >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
# Debian's python3, whose plistlib is the reference.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" "$root/bench/plist_bench.py" "$build" "${1:-9}"
echo
"$python" "$root/bench/startup_bench.py" "$build" "$root/resources" "${1:-9}"
echo
# Adding a set: the folder is under the build tree so that the writes reach a real disk.
add_set_dir="$build/add-set-documents"
rm -rf "$add_set_dir"
"$build/bench/bench_add_set" --documents="$add_set_dir" --resources="$root/resources" \
  --repetitions="${1:-15}"
rm -rf "$add_set_dir"
