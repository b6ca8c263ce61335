#!/usr/bin/env bash
# The test-only kill switch: with KINETRA_TEST_KILL_AT=<step>:<n> kinetra dies of SIGKILL right
# after that call of its saves, leaving the old file whole and at most a temporary file, which
# the next start removes. A malformed value is said once and ignored. The save is the start-up's
# own: the migration of an older single-workout file (Kinetra.plist) into Workouts.plist.
set -u
kinetra=$1
resources=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

old_single='<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><array><string>Squat</string><string>separator</string><string>Push Up</string></array></plist>'
old_workouts='<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><array><array><string>Legs</string><string>Lunge</string></array></array></plist>'

# A documents folder $1 holding the older single workout and a workouts file.
prepare() {
  rm -rf "$1"
  mkdir -p "$1"
  printf '%s\n' "$old_single" >"$1/Kinetra.plist"
  printf '%s\n' "$old_workouts" >"$1/Workouts.plist"
}

# The names in folder $1 that are temporary files of Workouts.plist.
temporaries() { find "$1" -maxdepth 1 -name '.Workouts.plist.tmp-*' -printf '%f\n'; }

# Runs kinetra on $1 (documents) with the kill point $2; it must die of SIGKILL before serving.
run_killed() {
  KINETRA_TEST_KILL_AT=$2 timeout 30 "$kinetra" --documents "$1" --resources "$resources" \
    --port 0 >"$work/out" 2>&1
  local status=$?
  [ $status -eq 137 ] || { cat "$work/out"; fail "$2: exit status $status, not SIGKILL"; }
  grep -q "running" "$work/out" && fail "$2: it served before the save"
  grep -q "test kill switch" "$work/out" || fail "$2: the switch was not announced"
}

# Starts kinetra on $1 without the switch, waits for its banner, then stops it with SIGTERM.
run_clean() {
  # Emptied first: the started process truncates it only once it runs, and until then the last
  # run's banner would be taken for this one's.
  : >"$work/out"
  "$kinetra" --documents "$1" --resources "$resources" --port 0 >>"$work/out" 2>&1 &
  local pid=$!
  pids+=("$pid")
  for _ in $(seq 1 200); do
    grep -q "Kinetra is running" "$work/out" && break
    sleep 0.05
  done
  grep -q "Kinetra is running" "$work/out" || { cat "$work/out"; fail "kinetra did not start"; }
  kill -TERM "$pid"
  wait "$pid" || fail "kinetra did not exit cleanly"
}

# Workouts.plist of $1 must hold the migrated workout once and the old one once.
migrated_once() {
  [ "$(grep -c '<string>Current Workout</string>' "$1/Workouts.plist")" -eq 1 ] ||
    fail "$2: the migrated workout is not there exactly once: $(cat "$1/Workouts.plist")"
  grep -q '<string>Lunge</string>' "$1/Workouts.plist" || fail "$2: the old workout is lost"
  [ -e "$1/Kinetra.plist" ] && fail "$2: the older file is still there"
  [ -z "$(temporaries "$1")" ] || fail "$2: a temporary file is left"
}

# Killed before the rename: the old workouts byte-identical, one temporary left, which the next
# start removes (saying so) before it migrates again.
for point in create:1 write:1 sync:1 close:1; do
  docs="$work/docs-${point%%:*}"
  prepare "$docs"
  run_killed "$docs" "$point"
  [ "$(cat "$docs/Workouts.plist")" = "$old_workouts" ] || fail "$point: Workouts.plist changed"
  [ "$(cat "$docs/Kinetra.plist")" = "$old_single" ] || fail "$point: Kinetra.plist changed"
  [ "$(temporaries "$docs" | wc -l)" -eq 1 ] || fail "$point: not one temporary: $(ls -a "$docs")"
  run_clean "$docs"
  grep -q "removed 1 temporary file" "$work/out" || fail "$point: $(cat "$work/out")"
  migrated_once "$docs" "$point"
done

# Killed right after the rename (and after the folder's sync): the new workouts are whole and
# in place, the older file still there; the next start finishes the migration without doubling.
for point in rename:1 syncdir:1; do
  docs="$work/docs-${point%%:*}"
  prepare "$docs"
  run_killed "$docs" "$point"
  grep -q '</plist>' "$docs/Workouts.plist" || fail "$point: Workouts.plist is not whole"
  grep -q '<string>Current Workout</string>' "$docs/Workouts.plist" ||
    fail "$point: the rename did not happen before the kill"
  [ "$(cat "$docs/Kinetra.plist")" = "$old_single" ] || fail "$point: Kinetra.plist changed"
  [ -z "$(temporaries "$docs")" ] || fail "$point: a temporary file is left"
  run_clean "$docs"
  migrated_once "$docs" "$point"
done

# A count past the start-up's one save: it runs and serves as usual.
docs="$work/docs-later"
prepare "$docs"
KINETRA_TEST_KILL_AT=rename:2 run_clean "$docs"
migrated_once "$docs" "rename:2"

# Malformed: one line naming the value, no switch, the save done.
for value in rename:0 rename fsync:1 "rename:1 "; do
  docs="$work/docs-malformed"
  prepare "$docs"
  KINETRA_TEST_KILL_AT=$value run_clean "$docs"
  [ "$(grep -c "KINETRA_TEST_KILL_AT=$value is not" "$work/out")" -eq 1 ] ||
    fail "malformed '$value': $(cat "$work/out")"
  grep -q "test kill switch" "$work/out" && fail "malformed '$value': armed anyway"
  migrated_once "$docs" "malformed '$value'"
done
echo "kill switch: all checks passed"
