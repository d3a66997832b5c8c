#!/usr/bin/env bash
# Load benchmark of comet-score-server with wrk on loopback: the score page, then handshake and
# submission pairs, each for DURATION seconds. Prints requests per second and latency figures.
# Usage: bench/score/score-load.sh [BUILD_DIR] [DURATION] [CONNECTIONS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../../build}"
duration="${2:-10}"
connections="${3:-16}"
server="$build/bin/comet-score-server"
command -v wrk >/dev/null || { echo "wrk is not installed (scripts/install-deps.sh)" >&2; exit 1; }
[ -x "$server" ] || { echo "build comet-score-server first: $server" >&2; exit 1; }

work="$(mktemp -d)"
"$server" --port 0 --db "$work/scores.db" --threads "$connections" --port-file "$work/port" \
  >"$work/server.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
address="http://127.0.0.1:$(cat "$work/port")"

echo "== handshake + submission pairs, $duration s, $connections connections"
wrk -t2 -c"$connections" -d"${duration}s" --latency -s "$here/submit.lua" "$address"

echo "== score page (100 rows), $duration s, $connections connections"
wrk -t2 -c"$connections" -d"${duration}s" --latency \
  "$address/cgi/version.pl?prg=CometLaneDerby&show&type=0"
