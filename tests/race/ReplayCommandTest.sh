#!/usr/bin/env bash
# race-sim's replay commands: --save-replay records an autopilot race, --replay plays it back
# and prints one line per car, the player first, with the places and times the race had;
# --replay of a damaged file fails with a message.
#   ReplayCommandTest.sh RACE_SIM DATA_DIR
set -euo pipefail
sim=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$sim" --track 4 --car 2 --autopilot --seed 11 --data-dir "$data" --save-replay "$work/race.rpl" \
  >"$work/race.txt"
[ -s "$work/race.rpl" ] || fail "no replay written"
"$sim" --replay "$work/race.rpl" --data-dir "$data" >"$work/replay.txt"
cat "$work/replay.txt"

time='[0-9]+:[0-9]{2}:[0-9]{2}'
head -1 "$work/replay.txt" | grep -qE "^player place [0-9]+ time $time best-lap $time$" ||
  fail "the first line is not the player's"
opponents=$(grep -cE "^opponent [0-9]+ place [0-9]+ time $time best-lap $time$" "$work/replay.txt")
[ "$opponents" -eq $(($(wc -l <"$work/replay.txt") - 1)) ] || fail "a line is not an opponent's"

# The race's own table: "place  player  type  time  laps  best lap".
read -r place _ _ time _ best < <(grep -E '^ +[0-9]+ +player ' "$work/race.txt")
grep -qx "player place $place time $time best-lap $best" "$work/replay.txt" ||
  fail "the replay's player line differs from the race: $place $time $best"

head -c 100 "$work/race.rpl" >"$work/cut.rpl"
if "$sim" --replay "$work/cut.rpl" --data-dir "$data" 2>"$work/err.txt"; then
  fail "a cut replay was played"
fi
grep -q "cut short" "$work/err.txt" || fail "no message for a cut replay: $(cat "$work/err.txt")"
echo "PASS"
