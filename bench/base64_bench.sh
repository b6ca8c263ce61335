#!/usr/bin/env bash
# Base64 throughput on the same 10 MB of random bytes: the mail codec (bench_base64) against
# coreutils' base64 and base64 -d, each a whole process reading a file and writing to
# /dev/null, best of 7 runs. Prints MB/s and our time as a multiple of coreutils' (goal: <= 3).
#   bash bench/base64_bench.sh [build-dir]     (default: build-bench, as bench/run.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKINETRA_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target bench_base64 >/dev/null
tool="$build/bench/bench_base64"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
size=$((10 * 1024 * 1024))
head -c "$size" /dev/urandom >"$work/data.bin"
base64 "$work/data.bin" >"$work/coreutils.b64"
"$tool" encode "$work/data.bin" >"$work/ours.b64"

# Both encoders agree (ours writes no line breaks) and both decoders restore the bytes.
cmp -s <(tr -d '\n' <"$work/coreutils.b64") "$work/ours.b64" || { echo "encodings differ"; exit 1; }
cmp -s <("$tool" decode "$work/coreutils.b64") "$work/data.bin" || { echo "decode differs"; exit 1; }
cmp -s <(base64 -d "$work/ours.b64") "$work/data.bin" || { echo "round trip differs"; exit 1; }

# Best wall-clock nanoseconds of 7 runs of the command.
best() {
  local best_ns=0 start end
  for _ in 1 2 3 4 5 6 7; do
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    if [ "$best_ns" -eq 0 ] || [ $((end - start)) -lt "$best_ns" ]; then best_ns=$((end - start)); fi
  done
  echo "$best_ns"
}

ours_encode=$(best "$tool" encode "$work/data.bin")
core_encode=$(best base64 "$work/data.bin")
ours_decode=$(best "$tool" decode "$work/coreutils.b64")
core_decode=$(best base64 -d "$work/coreutils.b64")

awk -v size="$size" -v oe="$ours_encode" -v ce="$core_encode" -v od="$ours_decode" \
    -v cd="$core_decode" 'BEGIN {
  mb = size / 1e6
  printf "Base64 on %d bytes (best of 7, whole process, file in, /dev/null out)\n", size
  printf "encode: ours %7.1f MB/s  coreutils base64    %7.1f MB/s  time ratio ours/coreutils %.2fx\n", mb / (oe / 1e9), mb / (ce / 1e9), oe / ce
  printf "decode: ours %7.1f MB/s  coreutils base64 -d %7.1f MB/s  time ratio ours/coreutils %.2fx\n", mb / (od / 1e9), mb / (cd / 1e9), od / cd
  verdict = (oe / ce <= 3 && od / cd <= 3) ? "within" : "NOT within"
  printf "goal: within 3x of coreutils: %s\n", verdict
}'
