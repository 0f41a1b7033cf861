#!/usr/bin/env bash
# Load on the station server over loopback: wrk fetches /stationlist.zip
# over 200 connections while 50 listeners play /streams/kestrel-mp3, both for
# the same stretch of time. Prints requests per second, latency, errors and
# the server's CPU time and peak memory. Exits non-zero when any request or
# listener failed.
#
#   bench/server-load.sh [BUILD_FOLDER] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
seconds=${2:-20}
connections=200
listeners=50
server="$build/kestrel-station-server"
[ -x "$server" ] || { echo "no $server; build first" >&2; exit 1; }
command -v wrk >/dev/null || { echo "wrk is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$server" --port 0 --music-port 0 --promo-port 0 --ready-file "$work/ready" >/dev/null 2>"$work/server.err" &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/ready" ] && break; sleep 0.05; done
[ -s "$work/ready" ] || { echo "the server did not start:" >&2; cat "$work/server.err" >&2; exit 1; }
port=$(sed -n 's/^station=//p' "$work/ready")
base="http://127.0.0.1:$port"

# /proc/PID/stat: utime and stime (fields 14 and 15) in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$server_pid/stat"; }
ticks_per_second=$(getconf CLK_TCK)
ticks_before=$(cpu_ticks)

listener_pids=()
for i in $(seq "$listeners"); do
  curl -s -o /dev/null -H 'Icy-MetaData: 1' --max-time "$seconds" -w '%{http_code} %{size_download}\n' \
    "$base/streams/kestrel-mp3" >"$work/listener-$i" 2>/dev/null &
  listener_pids+=($!)
done

wrk -t 2 -c "$connections" -d "${seconds}s" --latency "$base/stationlist.zip" >"$work/wrk.txt"

for pid in "${listener_pids[@]}"; do wait "$pid" || true; done
ticks_after=$(cpu_ticks)
peak_kib=$(awk '/^VmHWM:/ { print $2 }' "/proc/$server_pid/status")
threads=$(awk '/^Threads:/ { print $2 }' "/proc/$server_pid/status")

requests_per_second=$(awk '/^Requests\/sec:/ { print $2 }' "$work/wrk.txt")
p99=$(awk '$1 == "99%" { print $2 }' "$work/wrk.txt")
requests=$(awk '/requests in/ { print $1 }' "$work/wrk.txt")
socket_errors=$(awk '/Socket errors:/ { gsub(",", ""); print $4 + $6 + $8 + $10 }' "$work/wrk.txt")
non_2xx=$(awk '/Non-2xx or 3xx responses:/ { print $5 }' "$work/wrk.txt")
errors=$(( ${socket_errors:-0} + ${non_2xx:-0} ))

# A listener is well when it got 200 and at least the pace's worth of
# stream: 128 kb/s for the whole time (the burst comes on top).
least_bytes=$(( seconds * 16000 ))
failed_listeners=0
listener_bytes=0
for i in $(seq "$listeners"); do
  read -r status bytes <"$work/listener-$i" || { status=0; bytes=0; }
  bytes=${bytes%.*}
  listener_bytes=$(( listener_bytes + bytes ))
  if [ "$status" != 200 ] || [ "$bytes" -lt "$least_bytes" ]; then
    failed_listeners=$(( failed_listeners + 1 ))
  fi
done

cpu_seconds=$(awk -v t=$(( ticks_after - ticks_before )) -v hz="$ticks_per_second" 'BEGIN { printf "%.2f", t / hz }')
cpu_share=$(awk -v t=$(( ticks_after - ticks_before )) -v hz="$ticks_per_second" -v s="$seconds" \
  'BEGIN { printf "%.0f", 100 * t / hz / s }')

echo "station server load: $connections connections on /stationlist.zip, $listeners stream listeners, ${seconds} s"
echo "  station list requests:   $requests"
echo "  requests per second:     $requests_per_second"
echo "  p99 latency:             $p99"
echo "  request errors:          $errors (socket errors ${socket_errors:-0}, non-2xx ${non_2xx:-0})"
echo "  failed listeners:        $failed_listeners of $listeners ($(( listener_bytes / listeners )) bytes each on average)"
echo "  server CPU time:         $cpu_seconds s ($cpu_share% of one core)"
echo "  server peak memory:      $(( peak_kib / 1024 )) MiB (VmHWM), $threads threads"
echo
echo "wrk:"
sed 's/^/  /' "$work/wrk.txt"

[ "$errors" -eq 0 ] && [ "$failed_listeners" -eq 0 ]
