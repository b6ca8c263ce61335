#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (ASan, UBSan, in build-fuzz/) and fuzzes
# each, one at a time, niced, on one core. New inputs go to build-fuzz/corpus/<target> (the
# committed corpus in tests/fuzz/corpus/<target> is read, not written); crashes, leaks, timeouts
# and out-of-memory inputs to build-fuzz/artifacts/<target>/. Prints per target: runs
# (stat::number_of_executed_units), CPU seconds, coverage (cov, ft) and the crash files.
#
#   bash bench/fuzz.sh [SECONDS_PER_TARGET] [--cpu] [--merge] [TARGET...]
#
# Without --cpu each target runs for SECONDS of wall-clock time (default 60). With --cpu, SECONDS
# is the CPU time a target should have had in all: what it had is kept in build-fuzz/ledger/
# (CPU seconds and runs, added up over every run of this script), and the target is fuzzed in
# runs of at most 20 minutes until it has had its share; the table then shows the totals. Two
# copies given disjoint targets use both cores; at nice 19 they yield to anything else
# (their sessions' scheduling groups are niced as well).
#
# An input is reported as a timeout after 60 s of wall-clock time: a fuzzer at nice 19 on a busy
# machine waits its turn, and a shorter limit reported the machine rather than the input.
#
# --merge then adds to the committed corpus each input found that covers an edge it does not
# (libFuzzer's -merge=1 on edges alone, -use_counters=0, which keeps the corpus small); a crash
# input is copied there by hand, named regression-*, once the fault is fixed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
seconds=60
merge=0
cpu_budget=0
nice_level=${KINETRA_FUZZ_NICE:-10}
targets=()
for arg in "$@"; do
  case "$arg" in
    --merge) merge=1 ;;
    --cpu) cpu_budget=1 ;;
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
nice -n "$nice_level" cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}" >/dev/null

# The CPU time of a shell's children that have ended, in clock ticks.
cpu_seconds() { awk '{print $16 + $17}' "/proc/$1/stat"; }

# fuzz TARGET WALL_SECONDS: one libFuzzer run; prints "<cpu seconds> <runs>".
fuzz() {
  local target=$1 wall=$2
  local corpus=$build/corpus/$target artifacts=$build/artifacts/$target logs=$build/logs/$target
  local before after me=$BASHPID
  before=$(cpu_seconds "$me")
  (
    cd "$logs"
    # In a session of its own whose scheduling group is niced too: where the kernel groups
    # processes by session (autogroup), nice alone ranks a process only within its session, and a
    # fuzzer started from another session would take its full share beside a build.
    setsid -w bash -c 'echo "$0" >/proc/self/autogroup 2>/dev/null; exec nice -n "$0" "$@"' \
      "$nice_level" "$build/tests/fuzz/fuzz_$target" "$corpus" "$root/tests/fuzz/corpus/$target" \
      -jobs=1 -workers=1 -max_total_time="$wall" -timeout=60 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$artifacts/" >/dev/null 2>&1 || true
  )
  after=$(cpu_seconds "$me")
  awk -v t="$((after - before))" -v hz="$(getconf CLK_TCK)" -v runs="$(
    sed -n 's/^stat::number_of_executed_units: *//p' "$logs/fuzz-0.log" | tail -1)" \
    'BEGIN {printf "%.0f %d\n", t / hz, runs}'
}

printf '%-18s %12s %8s %8s %8s  %s\n' target runs cpu_s cov ft crashes
status=0
for target in "${targets[@]}"; do
  artifacts=$build/artifacts/$target
  logs=$build/logs/$target
  ledger=$build/ledger/$target
  mkdir -p "$build/corpus/$target" "$artifacts" "$logs" "$build/ledger"
  touch "$logs/.start"
  if [ "$cpu_budget" = 1 ]; then
    [ -f "$ledger" ] || echo "0 0" >"$ledger"
    while read -r had runs <"$ledger" && [ "$had" -lt "$seconds" ]; do
      left=$((seconds - had))
      read -r cpu new_runs < <(fuzz "$target" $((left < 1200 ? left : 1200)))
      echo "$((had + cpu)) $((runs + new_runs))" >"$ledger"
      [ -n "$(find "$artifacts" -type f -newer "$logs/.start")" ] && break
      [ "$cpu" -gt 0 ] || break
    done
    read -r cpu runs <"$ledger"
  else
    read -r cpu runs < <(fuzz "$target" "$seconds")
  fi
  log=$logs/fuzz-0.log
  cov=$(grep -ao 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -ao 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  names=$(find "$artifacts" -type f -newer "$logs/.start" -printf '%f ')
  found=$(find "$artifacts" -type f -newer "$logs/.start" | wc -l)
  [ "$found" -gt 0 ] && status=1
  printf '%-18s %12s %8s %8s %8s  %s %s\n' "$target" "${runs:-?}" "$cpu" "${cov:-?}" "${ft:-?}" \
    "$found" "$names"
  if [ "$merge" = 1 ]; then
    "$build/tests/fuzz/fuzz_$target" -merge=1 -use_counters=0 "$root/tests/fuzz/corpus/$target" \
      "$build/corpus/$target" >/dev/null 2>&1
  fi
done
exit $status
