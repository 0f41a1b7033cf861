# Sourced by the benchmarks that play sound: figures read from /proc and the
# sound server.

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A sink that nobody plays to sleeps, and waking it costs the sound server up
# to two seconds at random; a stream of silence keeps it awake, so that the
# times are the players' own. Sets keeper_pid.
keep_sink_awake() {
  pacat -p --raw --format=s16le --rate=44100 --channels=2 --latency-msec=10 </dev/zero &
  keeper_pid=$!
  sleep 1
}

# The process and every process it started, for the web engine's helpers.
family() {
  local pid=$1
  echo "$pid"
  for child in $(ps -o pid= --ppid "$pid"); do family "$child"; done
}
pss_kib() { awk '/^Pss:/ { print $2 }' "/proc/$1/smaps_rollup" 2>/dev/null || echo 0; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Runs the calling benchmark again on a private display and sound server,
# unless it already is on one: run_on_private_display "$0" BUILD_DIR.
run_on_private_display() {
  if [ -z "${KESTREL_BENCH_DISPLAY:-}" ]; then
    KESTREL_BENCH_DISPLAY=1 exec "$source_dir/tests/support/with-display.sh" "$1" "$2"
  fi
}

# A private session bus, as a desktop has: Goodvibes will not start without
# one, and the program offers its media controls on it; a private one keeps
# them off the desktop of whoever runs the benchmark. Sets bus_pid for the
# caller's clean-up.
start_session_bus() {
  local started
  started=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  export DBUS_SESSION_BUS_ADDRESS
  DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$started")
  bus_pid=$(sed -n 2p <<<"$started")
}

# A row of the summary table that scripts/bench.sh prints at its end:
# table_row FIGURE OURS TARGET PEER ("-" where there is none).
table_row() {
  [ -n "${KESTREL_BENCH_TABLE:-}" ] || return 0
  printf '%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$4" >>"$KESTREL_BENCH_TABLE"
}

# Starts the station server on free loopback ports with the catalogue
# WORK/catalogue.txt, logging requests to WORK/requests.log, and points the
# program at it (KESTREL_RADIO_SERVER and the two sites). Sets server_pid
# for the caller's clean-up: start_station_server SERVER WORK [OPTIONS...],
# the options the server's own.
start_station_server() {
  local server=$1 work=$2
  shift 2
  "$server" --port 0 --music-port 0 --promo-port 0 --catalogue "$work/catalogue.txt" \
    --ready-file "$work/ready" --request-log "$work/requests.log" "$@" >/dev/null 2>&1 &
  server_pid=$!
  for _ in $(seq 1 100); do grep -q '^promo=' "$work/ready" 2>/dev/null && break; sleep 0.05; done

  port_of_site() { sed -n "s/^$1=//p" "$work/ready"; }
  [ -n "$(port_of_site promo)" ] || { echo "the station server did not start"; return 1; }
  export KESTREL_RADIO_SERVER="http://127.0.0.1:$(port_of_site station)"
  export KESTREL_MUSIC_SITE="http://127.0.0.1:$(port_of_site music)"
  export KESTREL_PROMO_SITE="http://127.0.0.1:$(port_of_site promo)"
}

# A work folder for one benchmark run ($work), and, when the script exits,
# the end of every process it started (the program, the sink keeper, the
# tray host, the station server, the session bus) and of the folder.
begin_bench_run() {
  work=$(mktemp -d "/tmp/kestrel-$1-bench-XXXXXX")
  launched_pid=""
  trap end_bench_run EXIT
}
end_bench_run() {
  [ -n "$launched_pid" ] && kill "$launched_pid" 2>/dev/null && wait "$launched_pid" 2>/dev/null || true
  [ -n "${keeper_pid:-}" ] && kill "$keeper_pid" 2>/dev/null || true
  [ -n "${tray_pid:-}" ] && kill "$tray_pid" 2>/dev/null || true
  [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
  [ -n "${bus_pid:-}" ] && kill "$bus_pid" 2>/dev/null || true
  rm -rf "$work"
}

# require_built FILE...: stops unless each of the build's programs is there.
require_built() {
  local tool
  for tool in "$@"; do
    [ -x "$tool" ] || { echo "missing $tool: build the project first"; exit 1; }
  done
}

# require_commands COMMAND...: stops unless each tool that
# scripts/install-deps.sh installs is on the PATH.
require_commands() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
  done
}
