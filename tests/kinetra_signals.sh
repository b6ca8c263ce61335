#!/usr/bin/env bash
# kinetra starts on an empty documents directory, writes nothing there but its lock file, and
# exits 0 on SIGINT and on SIGTERM; a malformed command line exits 2.
set -u
kinetra=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$kinetra" --no-such-option 2>/dev/null
[ $? -eq 2 ] || { echo "malformed command line did not exit 2"; exit 1; }

for signal in INT TERM; do
  : >"$work/log"  # emptied first, so that the last run's banner is not taken for this one's
  "$kinetra" --documents "$work/docs" --port 0 >>"$work/log" 2>&1 &
  pid=$!
  for _ in $(seq 1 200); do
    grep -q "Kinetra is running" "$work/log" && break
    sleep 0.05
  done
  grep -q "Kinetra is running" "$work/log" || { echo "kinetra did not start"; kill -9 $pid; exit 1; }
  kill -$signal $pid
  wait $pid
  status=$?
  [ $status -eq 0 ] || { echo "SIG$signal: exit status $status"; exit 1; }
done

written=$(ls -A "$work/docs")
[ "$written" = ".kinetra.lock" ] || { echo "a first start wrote: $written"; exit 1; }
echo "kinetra exits 0 on SIGINT and SIGTERM"
