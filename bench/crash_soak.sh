#!/usr/bin/env bash
# Crash soak: SIGKILLs a Release kinetra KILLS times while its screens change the training log,
# from outside after a random event and from inside its file writes (KINETRA_TEST_KILL_AT), and
# checks the files after each kill (see tests/crash/crash_kinetra.py). Prints the table of kills,
# acknowledged and lost changes, unreadable files and leftover temporaries.
# Usage: bash bench/crash_soak.sh [KILLS] [SEED]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
build_bench kinetra
python="/usr/bin/python3"
[[ -x "$python" ]] || python="python3"
"$python" "$root/tests/crash/crash_kinetra.py" "$build/src/kinetra" "$root/resources" \
  --kills "${1:-1000}" ${2:+--seed "$2"} --require-kill-switch
