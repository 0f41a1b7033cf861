#!/usr/bin/env bash
# Load on the station server over loopback, with a catalogue of real size:
# a Radio Browser dump of STATIONS made-up stations (100,000 by default) is
# imported, then the server runs three times, each for SECONDS:
#   list      wrk fetches /stationlist.zip as the program does (no gzip) over
#             200 connections while 50 listeners play /streams/kestrel-mp3
#   gzip      the same with Accept-Encoding: gzip
#   slow      gzip again, while 310 slow clients send a request head one line
#             a second and open a new connection whenever one is cut
# For each run it prints requests per second, p99 latency, errors, failed
# listeners, the server's CPU time and its peak memory; for the slow run
# also how many slow connections were cut (408) at the head deadline. Exits
# non-zero when any request or listener failed.
#
#   bench/server-load.sh [BUILD_FOLDER] [SECONDS] [STATIONS]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/measure.sh

build=${1:-build}
seconds=${2:-20}
stations=${3:-100000}
connections=200
listeners=50
slow_clients=310
header_timeout=10
server="$build/kestrel-station-server"
[ -x "$server" ] || { echo "no $server; build first" >&2; exit 1; }
command -v wrk >/dev/null || { echo "wrk is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
server_pid=""
slow_pid=""
stop_server() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  server_pid=""
}
cleanup() {
  [ -n "$slow_pid" ] && kill "$slow_pid" 2>/dev/null
  stop_server
  rm -rf "$work"
}
trap cleanup EXIT

# A dump in the directory's format: every 50th station carries video, every
# 7th failed its last check, every 11th has a comma in its name.
awk -v n="$stations" 'BEGIN {
  printf "[\n"
  for (i = 1; i <= n; i++) {
    name = sprintf("Station %d%s", i, i % 11 == 0 ? ", the second" : "")
    codec = i % 50 == 0 ? "AAC,H.264" : "MP3"
    printf "{\"stationuuid\":\"00000000-0000-4000-8000-%012d\",\"name\":\"%s\",", i, name
    printf "\"url\":\"http://stream%d.example.org/live/%d.pls\",", i % 97, i
    printf "\"url_resolved\":\"http://stream%d.example.org/live/%d\",", i % 97, i
    printf "\"homepage\":\"https://station%d.example.org/\",\"favicon\":\"\",", i
    printf "\"tags\":\"pop,rock,news,talk\",\"country\":\"Country %d\",\"countrycode\":\"C%d\",", i % 200, i % 200
    printf "\"language\":\"language %d\",\"votes\":%d,\"codec\":\"%s\",\"bitrate\":128,\"hls\":0,", i % 90, i, codec
    printf "\"lastcheckok\":%d,\"clickcount\":%d}%s\n", i % 7 != 0, i % 1000, i < n ? "," : ""
  }
  printf "]\n"
}' >"$work/stations.json"
import_start=$(date +%s.%N)
"$server" import "$work/stations.json" --catalogue "$work/catalogue.txt" 2>"$work/import.txt"
import_seconds=$(awk -v s="$import_start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.2f", e - s }')

# /proc/PID/stat: utime and stime (fields 14 and 15) in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$server_pid/stat"; }
ticks_per_second=$(getconf CLK_TCK)

start_server() {
  rm -f "$work/ready" "$work/requests.log"
  # Every client of the benchmark comes from 127.0.0.1, as all clients do
  # behind a reverse proxy: no limit per address.
  "$server" --catalogue "$work/catalogue.txt" --port 0 --music-port 0 --promo-port 0 \
    --connections-per-address 0 --header-timeout "$header_timeout" \
    --ready-file "$work/ready" --request-log "$work/requests.log" >/dev/null 2>"$work/server.err" &
  server_pid=$!
  for _ in $(seq 600); do [ -s "$work/ready" ] && break; sleep 0.05; done
  [ -s "$work/ready" ] || { echo "the server did not start:" >&2; cat "$work/server.err" >&2; exit 1; }
  port=$(sed -n 's/^station=//p' "$work/ready")
  base="http://127.0.0.1:$port"
}

# Slow clients: each sends a request line, then one header line a second,
# and never ends its head; a connection that the server cuts is opened again.
slow_clients() {
  trap '' PIPE
  local fds=() i opened=0
  open_slow() {
    exec {fd}<>"/dev/tcp/127.0.0.1/$port" || return 0
    printf 'GET /stationlist.zip HTTP/1.1\r\nHost: 127.0.0.1\r\n' >&"$fd" 2>/dev/null || true
    fds[$1]=$fd
    opened=$((opened + 1))
  }
  for i in $(seq "$slow_clients"); do open_slow "$i"; done
  while :; do
    sleep 1
    for i in "${!fds[@]}"; do
      if ! printf 'X-Slow: %s\r\n' "$SECONDS" >&"${fds[$i]}" 2>/dev/null; then
        fd=${fds[$i]}
        exec {fd}>&-
        open_slow "$i"
      fi
    done
    echo "$opened" >"$work/slow-opened"
  done
}

run() {
  local name=$1 encoding=$2 with_slow=$3
  start_server
  local ticks_before listener_pids=() failed_listeners=0 listener_bytes=0
  ticks_before=$(cpu_ticks)
  if [ "$with_slow" = yes ]; then
    slow_clients 2>/dev/null &
    slow_pid=$!
    sleep 1
  fi
  for i in $(seq "$listeners"); do
    curl -s -o /dev/null -H 'Icy-MetaData: 1' --max-time "$seconds" -w '%{http_code} %{size_download}\n' \
      "$base/streams/kestrel-mp3" >"$work/listener-$i" 2>/dev/null &
    listener_pids+=($!)
  done
  local wrk_headers=()
  [ "$encoding" = gzip ] && wrk_headers=(-H 'Accept-Encoding: gzip')
  list_size=$(curl -s -o /dev/null "${wrk_headers[@]}" -w '%{size_download}' "$base/stationlist.zip")
  wrk -t 2 -c "$connections" -d "${seconds}s" --timeout 30s --latency "${wrk_headers[@]}" \
    "$base/stationlist.zip" >"$work/wrk-$name.txt"
  for pid in "${listener_pids[@]}"; do wait "$pid" || true; done
  if [ -n "$slow_pid" ]; then
    kill "$slow_pid" 2>/dev/null; wait "$slow_pid" 2>/dev/null || true
    slow_pid=""
  fi

  local ticks_after peak_kib threads
  ticks_after=$(cpu_ticks)
  peak_kib=$(awk '/^VmHWM:/ { print $2 }' "/proc/$server_pid/status")
  threads=$(awk '/^Threads:/ { print $2 }' "/proc/$server_pid/status")
  stop_server

  # A listener is well when it got 200 and at least the pace's worth of
  # stream: 128 kb/s for the whole time (the burst comes on top).
  local least_bytes=$(( seconds * 16000 )) status bytes
  for i in $(seq "$listeners"); do
    read -r status bytes <"$work/listener-$i" || { status=0; bytes=0; }
    bytes=${bytes%.*}
    listener_bytes=$(( listener_bytes + bytes ))
    if [ "$status" != 200 ] || [ "$bytes" -lt "$least_bytes" ]; then
      failed_listeners=$(( failed_listeners + 1 ))
    fi
  done

  local wrk_out="$work/wrk-$name.txt" requests rps p99 socket_errors non_2xx errors cpu_seconds
  requests=$(awk '/requests in/ { print $1 }' "$wrk_out")
  rps=$(awk '/^Requests\/sec:/ { print $2 }' "$wrk_out")
  p99=$(awk '$1 == "99%" { print $2 }' "$wrk_out")
  socket_errors=$(awk '/Socket errors:/ { gsub(",", ""); print $4 + $6 + $8 + $10 }' "$wrk_out")
  non_2xx=$(awk '/Non-2xx or 3xx responses:/ { print $5 }' "$wrk_out")
  errors=$(( ${socket_errors:-0} + ${non_2xx:-0} ))
  total_errors=$(( total_errors + errors + failed_listeners ))
  cpu_seconds=$(awk -v t=$(( ticks_after - ticks_before )) -v hz="$ticks_per_second" 'BEGIN { printf "%.1f", t / hz }')

  printf '  %-6s %8s MiB %9s %12s %8s %7s %12s %9s s %8s MiB %6s\n' "$name" \
    "$(awk -v b="$list_size" 'BEGIN { printf "%.1f", b / 1048576 }')" "$requests" "$rps" "$p99" "$errors" \
    "$failed_listeners/$listeners" "$cpu_seconds" "$(( peak_kib / 1024 ))" "$threads"
  if [ "$with_slow" = yes ]; then
    slow_summary="  slow clients: $(cat "$work/slow-opened" 2>/dev/null || echo 0) connections opened by $slow_clients clients,"
    slow_summary+=" $(grep -c ' 408 ' "$work/requests.log" || true) cut with 408 at the ${header_timeout} s head deadline"
  fi
  cp "$wrk_out" "$work/wrk-$name.kept"
  table_row "server, $stations stations, $name run" \
    "$rps req/s, p99 $p99, $errors errors, $failed_listeners listeners failed, $(( peak_kib / 1024 )) MiB" \
    "0 errors, 0 failed" "-"
}

total_errors=0
slow_summary=""
echo "station server load: $stations-station catalogue, $connections list clients, $listeners stream listeners, ${seconds} s a run"
sed 's/^kestrel-station-server: /  import: /' "$work/import.txt"
echo "  import took $import_seconds s; catalogue $(( $(stat -c %s "$work/catalogue.txt") / 1024 / 1024 )) MiB of UTF-8"
echo
printf '  %-6s %12s %9s %12s %8s %7s %12s %11s %12s %6s\n' run "list size" requests "requests/s" p99 errors \
  listeners-bad "CPU time" "peak memory" threads
run list identity no
run gzip gzip no
run slow gzip yes
echo "$slow_summary"
echo
for name in list gzip slow; do
  echo "wrk, $name run:"
  sed 's/^/  /' "$work/wrk-$name.kept"
done

[ "$total_errors" -eq 0 ]
