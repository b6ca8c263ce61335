#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (ASan, UBSan, in build-fuzz/) and runs
# each for SECONDS, one at a time, niced, on one core. New inputs go to build-fuzz/corpus/<target>
# (the committed corpus in tests/fuzz/corpus/<target> is read, not written); crashes, leaks,
# timeouts and out-of-memory inputs to build-fuzz/artifacts/<target>/. Prints per target: runs
# (stat::number_of_executed_units), CPU seconds, coverage (cov, ft) and the crash files.
#
#   bash bench/fuzz.sh [SECONDS_PER_TARGET] [--merge] [TARGET...]    (default 60 s, every target)
#
# --merge then adds to the committed corpus each input found that covers an edge it does not
# (libFuzzer's -merge=1 on edges alone, -use_counters=0, which keeps the corpus small); a crash
# input is copied there by hand, named regression-*, once the fault is fixed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
seconds=60
merge=0
targets=()
for arg in "$@"; do
  case "$arg" in
    --merge) merge=1 ;;
    [0-9]*) seconds=$arg ;;
    *) targets+=("$arg") ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(sed -n 's/^kinetra_fuzz_target(\([a-z0-9_]*\) .*/\1/p' \
    "$root/tests/fuzz/CMakeLists.txt")
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKINETRA_FUZZ=ON -DKINETRA_SANITIZE=ON -DKINETRA_BUILD_BENCH=OFF >/dev/null
fi
nice -n 10 cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}" >/dev/null

printf '%-18s %12s %8s %8s %8s  %s\n' target runs cpu_s cov ft crashes
status=0
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target
  logs=$build/logs/$target
  mkdir -p "$corpus" "$artifacts" "$logs"
  committed=$root/tests/fuzz/corpus/$target
  touch "$logs/.start"
  start_cpu=$(awk '{print $14 + $15 + $16 + $17}' /proc/$$/stat)
  (
    cd "$logs"
    nice -n 10 "$build/tests/fuzz/fuzz_$target" "$corpus" "$committed" -jobs=1 -workers=1 \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" >/dev/null 2>&1 || true
  )
  end_cpu=$(awk '{print $14 + $15 + $16 + $17}' /proc/$$/stat)
  log=$logs/fuzz-0.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  cpu=$(awk -v t="$(( end_cpu - start_cpu ))" -v hz="$(getconf CLK_TCK)" 'BEGIN {printf "%.0f", t / hz}')
  names=$(find "$artifacts" -type f -newer "$logs/.start" -printf '%f ')
  found=$(find "$artifacts" -type f -newer "$logs/.start" | wc -l)
  [ "$found" -gt 0 ] && status=1
  printf '%-18s %12s %8s %8s %8s  %s %s\n' "$target" "${runs:-?}" "$cpu" "${cov:-?}" "${ft:-?}" \
    "$found" "$names"
  if [ "$merge" = 1 ]; then
    "$build/tests/fuzz/fuzz_$target" -merge=1 -use_counters=0 "$committed" "$corpus" >/dev/null 2>&1
  fi
done
exit $status
