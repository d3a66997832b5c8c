#!/usr/bin/env bash
# Load benchmark of comet-score-server with wrk on loopback, while 8 slow clients (a byte every
# 4 s) and 1,000 idle connections are held open: the score page, then handshake and submission
# pairs, at 16 and 256 connections, on an SQLite file; then handshake and submission pairs
# through two instances on one PostgreSQL database (a throwaway cluster, when PostgreSQL is
# installed). Prints wrk's figures, the stored submissions per second, the service's peak
# resident memory, and the processor time the service and PostgreSQL used (on a shared machine,
# the share of the run's processor time they got tells a slow service from a busy machine). The
# rate and connection limits are raised for the run. Each instance answers on half the machine's
# cores (at least one; SCORE_THREADS sets another number): wrk and PostgreSQL share the machine,
# and threads beyond its cores only lengthen the tail of the latencies.
# Usage: bench/score/score-load.sh [BUILD_DIR] [DURATION]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../../build}"
duration="${2:-10}"
server="$build/bin/comet-score-server"
command -v wrk >/dev/null || { echo "wrk is not installed (scripts/install-deps.sh)" >&2; exit 1; }
[ -x "$server" ] || { echo "build comet-score-server first: $server" >&2; exit 1; }
ulimit -n "$(ulimit -Hn)"
threads="${SCORE_THREADS:-$(( $(nproc) / 2 > 1 ? $(nproc) / 2 : 1 ))}"

work="$(mktemp -d)"
chmod 755 "$work"
pids=()
pg_bin=""
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  for file in "$work"/*.pid; do [ -e "$file" ] && kill "$(cat "$file")" 2>/dev/null; done
  if [ -n "$pg_bin" ]; then as_postgres "$pg_bin/pg_ctl" -D "$work/pg/data" -m immediate stop >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
as_postgres() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }

# Starts an instance on the database; its port and process id go to $work/NAME.port and .pid.
start_server() {
  local db=$1 name=$2
  "$server" --port 0 --db "$db" --port-file "$work/$name.port" --submit-rate 0 --handshake-rate 0 \
    --max-connections 8192 --max-connections-per-address 8192 --threads "$threads" \
    >/dev/null 2>"$work/$name.errors" &
  echo $! >"$work/$name.pid"
  for _ in $(seq 200); do [ -s "$work/$name.port" ] && break; sleep 0.05; done
  [ -s "$work/$name.port" ] || { cat "$work/$name.errors" >&2; exit 1; }
}

# Samples the peak resident memory of the processes until the file "$work/stop-rss" appears.
watch_rss() {
  local peak=0
  while [ ! -e "$work/stop-rss" ]; do
    for pid in "$@"; do
      local rss
      rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
      [ "${rss:-0}" -gt "$peak" ] && peak=$rss
    done
    sleep 0.2
  done
  echo "$peak" >"$work/rss"
}

# Processor time (clock ticks) used so far by the processes, and by the PostgreSQL cluster's.
cpu_ticks() {
  local total=0 pid
  for pid in "$@"; do
    total=$((total + $(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo 0)))
  done
  echo "$total"
}
postgres_pids() {
  [ -s "$work/pg/data/postmaster.pid" ] || return 0
  local main
  main=$(head -1 "$work/pg/data/postmaster.pid")
  echo "$main" $(pgrep -P "$main")
}

run_wrk() {
  local label=$1 connections=$2 script=$3; shift 3
  echo "== $label, $duration s, $connections connections"
  local args=(-t2 -c"$connections" -d"${duration}s" --timeout 2s --latency)
  [ -n "$script" ] && args+=(-s "$here/$script")
  if [ $# -eq 1 ]; then
    wrk "${args[@]}" "$1"
  else
    # One wrk per instance, each with half of the connections.
    args[1]="-c$((connections / 2))"
    wrk "${args[@]}" "$1" >"$work/wrk-a.txt" & local a=$!
    wrk "${args[@]}" "$2" >"$work/wrk-b.txt" & local b=$!
    wait $a $b
    cat "$work/wrk-a.txt" "$work/wrk-b.txt"
  fi
}

bench_backend() {
  local label=$1; shift
  local ports=("$@") addresses=() server_pids=()
  for port in "${ports[@]}"; do addresses+=("http://127.0.0.1:$port"); done
  for name in "$work"/*.pid; do server_pids+=("$(cat "$name")"); done
  python3 "$here/hold-connections.py" "${ports[0]}" 1000 8 & local holder=$!
  pids+=($holder)
  sleep 2
  rm -f "$work/stop-rss"
  watch_rss "${server_pids[@]}" & local watcher=$!
  local page="/cgi/version.pl?prg=CometLaneDerby&show&type=0"
  local service_start postgres_start clock_start
  service_start=$(cpu_ticks "${server_pids[@]}")
  postgres_start=$(cpu_ticks $(postgres_pids))
  clock_start=$(date +%s%N)
  for connections in 16 256; do
    if [ ${#addresses[@]} -eq 1 ]; then
      run_wrk "$label: score page (100 rows)" "$connections" "" "${addresses[0]}$page"
      run_wrk "$label: handshake + submission pairs" "$connections" submit.lua "${addresses[0]}"
    else
      run_wrk "$label: handshake + submission pairs" "$connections" submit.lua "${addresses[@]}"
    fi
  done
  local service postgres
  service=$(( $(cpu_ticks "${server_pids[@]}") - service_start ))
  postgres=$(( $(cpu_ticks $(postgres_pids)) - postgres_start ))
  awk -v s="$service" -v p="$postgres" -v hz="$(getconf CLK_TCK)" -v cores="$(nproc)" \
    -v ns="$(( $(date +%s%N) - clock_start ))" -v label="$label" 'BEGIN {
      printf "== %s: processor time over the runs: service %.1f s, PostgreSQL %.1f s, of %.1f s x %d cores\n",
        label, s / hz, p / hz, ns / 1e9, cores }'
  touch "$work/stop-rss"
  wait $watcher
  kill $holder; wait $holder 2>/dev/null || true
  echo "== $label: peak resident memory of the service: $(( $(cat "$work/rss") / 1024 )) MB"
}

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
start_server "$work/scores.db" sqlite
bench_backend "SQLite" "$(cat "$work/sqlite.port")"
kill "$(cat "$work/sqlite.pid")"
rm -f "$work/sqlite.pid"

pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | tail -1 || true)
if [ -z "$pg_bin" ]; then
  echo "PostgreSQL is not installed: two-instance run skipped"
  exit 0
fi
mkdir "$work/pg"
[ "$(id -u)" -eq 0 ] && chown postgres "$work/pg"
as_postgres "$pg_bin/initdb" -D "$work/pg/data" -A trust -U postgres --no-sync >/dev/null
as_postgres "$pg_bin/pg_ctl" -D "$work/pg/data" -l "$work/pg/log" -w \
  -o "-c listen_addresses='' -k $work/pg -c max_connections=100" start >/dev/null
db="postgresql:///postgres?host=$work/pg&user=postgres"
start_server "$db" pg1
start_server "$db" pg2
bench_backend "PostgreSQL, two instances" "$(cat "$work/pg1.port")" "$(cat "$work/pg2.port")"
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
