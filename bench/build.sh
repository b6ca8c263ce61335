# Sourced by the benchmark scripts: `build_bench TARGET...` builds the targets in a Release tree
# of their own (build-bench/, tests left out) and sets `build`; on failure it prints the build's
# output and exits.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"

build_bench() {
  local log
  log="$(mktemp /tmp/kinetra-bench-build-XXXXXX)"
  if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKINETRA_BUILD_TESTS=OFF &&
         cmake --build "$build" --target "$@"; } >"$log" 2>&1; then
    cat "$log"
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
}
