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

# A row of the summary table that scripts/bench.sh prints at its end:
# table_row FIGURE OURS TARGET PEER ("-" where there is none).
table_row() {
  [ -n "${KESTREL_BENCH_TABLE:-}" ] || return 0
  printf '%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$4" >>"$KESTREL_BENCH_TABLE"
}
