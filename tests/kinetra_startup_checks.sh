#!/usr/bin/env bash
# kinetra refuses to start without its catalogue (exit 2, naming the file) and refuses a
# documents folder another kinetra is using (exit 1, naming the folder); neither listens first.
# The lock goes with the process that held it, also when that process is killed.
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

# Waits (a bounded while) until the log file $1 shows kinetra's banner.
wait_banner() {
  for _ in $(seq 1 200); do
    grep -q "Kinetra is running" "$1" && return 0
    sleep 0.05
  done
  return 1
}

# Starts kinetra in the background on $1 (documents) and waits for its banner.
start() {
  "$kinetra" --documents "$1" --resources "$resources" --port 0 >"$work/log.$2" 2>&1 &
  pids+=($!)
  wait_banner "$work/log.$2" && return 0
  cat "$work/log.$2"
  fail "kinetra did not start"
}

# A resources folder without the catalogue, then one with a single list missing, then one
# with an unreadable list.
"$kinetra" --resources "$work" --documents "$work/docs0" --port 0 >"$work/out" 2>&1
status=$?
[ $status -eq 2 ] || fail "no catalogue: exit status $status"
grep -q "Exercises.plist is missing" "$work/out" || fail "no catalogue: $(cat "$work/out")"
grep -q "running" "$work/out" && fail "no catalogue: it served anyway"

mkdir "$work/partial"
cp "$resources"/*.plist "$work/partial/"
rm "$work/partial/Muscles.plist"
echo "not a property list" >"$work/partial/Routines.plist"
"$kinetra" --resources "$work/partial" --documents "$work/docs0" --port 0 >"$work/out" 2>&1
status=$?
[ $status -eq 2 ] || fail "partial catalogue: exit status $status"
grep -q "Muscles.plist is missing" "$work/out" || fail "partial: $(cat "$work/out")"
grep -q "Routines.plist is unreadable" "$work/out" || fail "partial: $(cat "$work/out")"
grep -q "Exercises.plist" "$work/out" && fail "partial: named a list that is there"

# Two on one documents folder: the second exits 1 naming the folder.
start "$work/docs" first
"$kinetra" --documents "$work/docs" --resources "$resources" --port 0 >"$work/out" 2>&1
status=$?
[ $status -eq 1 ] || fail "second process: exit status $status"
grep -q "$work/docs" "$work/out" || fail "second process: $(cat "$work/out")"
grep -q "running" "$work/out" && fail "second process: it served anyway"

# Another folder is no conflict; a killed holder leaves nothing stuck.
start "$work/other" other
kill -9 "${pids[0]}"
wait "${pids[0]}" 2>/dev/null
start "$work/docs" again
# The mail account: its details need a relay and a relay needs a sender (exit 2, the usage); a
# password file that cannot be read stops the start, naming the file. A password given in the
# environment reaches no output line.
for args in "--smtp-from me@example.org" "--smtp-relay smtp.example.org" \
            "--smtp-relay smtp.example.org:0 --smtp-from me@example.org"; do
  # shellcheck disable=SC2086 # the words of $args are separate arguments
  "$kinetra" $args --resources "$resources" --documents "$work/mail" --port 0 >"$work/out" 2>&1
  status=$?
  [ $status -eq 2 ] || fail "mail options $args: exit status $status"
  grep -q "usage: kinetra" "$work/out" || fail "mail options $args: $(cat "$work/out")"
done
"$kinetra" --smtp-relay smtp.example.org --smtp-from me@example.org \
  --smtp-password-file "$work/no-such-file" --resources "$resources" --documents "$work/mail" \
  --port 0 >"$work/out" 2>&1
status=$?
[ $status -eq 2 ] || fail "unreadable password file: exit status $status"
grep -q "password file $work/no-such-file" "$work/out" || fail "password file: $(cat "$work/out")"
KINETRA_SMTP_PASSWORD=never-shown-4711 "$kinetra" --smtp-relay smtp.example.org:2525,587 \
  --smtp-from me@example.org --resources "$resources" --documents "$work/mail" --port 0 \
  >"$work/log.mail" 2>&1 &
pids+=($!)
wait_banner "$work/log.mail"
grep -q "mail: exports go through smtp.example.org as me@example.org" "$work/log.mail" ||
  fail "mail account: $(cat "$work/log.mail")"
grep -q "never-shown-4711" "$work/log.mail" && fail "the password was written out"

# An access token from the environment (a service's way to keep it out of its command line) is
# required and shown in the address; the command line's wins over it; a malformed one stops the
# start before anything listens.
token=Environment-Token-0123456789
KINETRA_TOKEN=$token "$kinetra" --resources "$resources" --documents "$work/token" --port 0 \
  >"$work/log.token" 2>&1 &
pids+=($!)
wait_banner "$work/log.token"
grep -q "Kinetra is running at http://127.0.0.1:[0-9]*/?token=$token\$" "$work/log.token" ||
  fail "token from the environment: $(cat "$work/log.token")"
KINETRA_TOKEN=short "$kinetra" --resources "$resources" --documents "$work/token2" --port 0 \
  >"$work/out" 2>&1
status=$?
[ $status -eq 1 ] || fail "malformed token: exit status $status"
grep -q "running" "$work/out" && fail "malformed token: it served anyway"
KINETRA_TOKEN=short "$kinetra" --token Command-Line-Token-0123456789 --resources "$resources" \
  --documents "$work/token3" --port 0 >"$work/log.token3" 2>&1 &
pids+=($!)
wait_banner "$work/log.token3"
grep -q "?token=Command-Line-Token-0123456789" "$work/log.token3" ||
  fail "command line token: $(cat "$work/log.token3")"

echo "kinetra checks its catalogue, its documents folder and its mail account before serving"
