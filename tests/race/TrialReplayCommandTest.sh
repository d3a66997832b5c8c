#!/usr/bin/env bash
# Time trials of every track on the command line: race-sim --time-trial records an autopilot
# run, and both race-sim --replay and the game's --replay play it to the time and best lap the
# run had: "player place 1 time M:SS:HH best-lap M:SS:HH", one line, nothing else.
#   TrialReplayCommandTest.sh RACE_SIM GAME DATA_DIR
set -euo pipefail
sim=$1
game=$2
data=$(cd "$3" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for slot in $(seq 0 11); do
  car=$((slot % 5))
  "$sim" --track "$slot" --car "$car" --autopilot --time-trial --data-dir "$data" \
    --save-replay "$work/trial-$slot.rpl" >"$work/run-$slot.txt"
  grep -q "time trial" "$work/run-$slot.txt" || fail "track $slot: not run as a time trial"
  # The run's own table: "place  player  type  time  laps  best lap".
  read -r place _ _ time _ best < <(grep -E '^ +[0-9]+ +player ' "$work/run-$slot.txt")
  expected="player place $place time $time best-lap $best"
  [ "$place" = 1 ] || fail "track $slot: the player alone finished in place $place"

  "$sim" --replay "$work/trial-$slot.rpl" --data-dir "$data" >"$work/sim-$slot.txt"
  [ "$(cat "$work/sim-$slot.txt")" = "$expected" ] ||
    fail "track $slot: race-sim's replay printed $(cat "$work/sim-$slot.txt"), the run $expected"

  mkdir -p "$work/config-$slot"
  "$game" --null-display --unpaced --data-dir "$data" --config-dir "$work/config-$slot" \
    --replay "$work/trial-$slot.rpl" >"$work/game-$slot.txt"
  [ "$(cat "$work/game-$slot.txt")" = "$expected" ] ||
    fail "track $slot: the game's replay printed $(cat "$work/game-$slot.txt"), the run $expected"
  # Playing saves nothing: no progress, best time, record or ghost.
  for saved in Config.cfg Configdat.cfg ghosts replays; do
    [ ! -e "$work/config-$slot/$saved" ] || fail "track $slot: the replay wrote $saved"
  done
  echo "track $slot: $expected"
done
echo "PASS"
