#!/usr/bin/env bash
# The radio page benchmark: the real kestrel-radio against the station
# server, on a private display and sound server. It prints:
#  - the time from pressing Play Next (F9) in the channel list with nothing
#    selected, which selects the first row and so runs Play (command 319), to
#    the first audible sample at the sink, next to `mpv --no-video` started on
#    the same stream; the target is ours at most 1.2 times mpv's;
#  - the program's memory while it plays sound, alone and with the web
#    engine's helper processes;
#  - its processor share while it plays sound (target: under 2% of one core;
#    the web engine's helper processes are not counted).
# Usage: bench/radio-startup.sh [BUILD_DIR] (default: build)
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
source "$source_dir/bench/measure.sh"
build=$(cd "${1:-$source_dir/build}" && pwd)
run_on_private_display "$0" "$build"

runs=5
settle_seconds=2
sample_seconds=20
program="$build/kestrel-radio"
probe="$build/bench/kestrel-audible-probe"
timed_key="$build/bench/radio/kestrel-timed-key"
server="$build/kestrel-station-server"
require_built "$program" "$probe" "$timed_key" "$server"
require_commands mpv

work=$(mktemp -d /tmp/kestrel-radio-bench-XXXXXX)
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null || true
  [ -n "${keeper_pid:-}" ] && kill "$keeper_pid" 2>/dev/null || true
  [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The demo stream is the first row, so that Play Next with nothing selected
# plays it. With two rows the row a fresh profile restores (the third) does
# not exist, so nothing plays before the key.
cat >"$work/catalogue.txt" <<'CATALOGUE'
Category,Channel,Stream,Id,Genre,Description,Status
Radio,Kestrel Radio Demo,{server}/streams/kestrel-mp3,kr-103,Instrumental,Station ident and melodies,ON
Radio,Kestrel Vorbis,{server}/streams/kestrel-ogg,kr-101,Instrumental,Plucked melodies,ON
CATALOGUE
start_station_server "$server" "$work"
stream="$KESTREL_RADIO_SERVER/streams/kestrel-mp3"

# Starts the program on a fresh profile, and waits until its list has loaded and its window has the keyboard.
start_program() {
  local home="$work/home-$1"
  local lists_before
  lists_before=$(grep -c ' /stationlist.zip 200 ' "$work/requests.log" 2>/dev/null || true)
  XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" "$program" >/dev/null 2>&1 &
  program_pid=$!
  for _ in $(seq 1 200); do
    [ "$(grep -c ' /stationlist.zip 200 ' "$work/requests.log" 2>/dev/null || true)" -gt "$lists_before" ] && break
    sleep 0.05
  done
  sleep "$settle_seconds"
  local window
  window=$(xdotool search --onlyvisible --name '^Kestrel Radio' | head -n1)
  [ -n "$window" ] || { echo "the program's window did not show"; exit 1; }
  xdotool windowfocus --sync "$window"
}

stop_program() {
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
  program_pid=""
}

keep_sink_awake


echo "Radio page start-up: Play Next with nothing selected (which plays the first row) to the first audible sample ($runs runs each)"
: >"$work/ours"; : >"$work/mpv"
for run in $(seq 1 "$runs"); do
  start_program "$run"
  ours=$("$probe" "$timed_key" F9)
  stop_program
  theirs=$("$probe" mpv --no-config --no-video --really-quiet --ao=pulse --volume=50 "$stream")
  echo "  run $run: ours $ours ms, mpv $theirs ms"
  echo "$ours" >>"$work/ours"; echo "$theirs" >>"$work/mpv"
done
ours_median=$(median <"$work/ours")
mpv_median=$(median <"$work/mpv")
ratio=$(awk -v a="$ours_median" -v b="$mpv_median" 'BEGIN { printf "%.2f", a / b }')
echo "  median: ours $ours_median ms, mpv $mpv_median ms, ratio $ratio (target <= 1.20)"
table_row "program: Play Next (F9) -> first sound" "$ours_median ms" "<= 1.2 x mpv" "mpv $mpv_median ms"
kill "$keeper_pid"; wait "$keeper_pid" 2>/dev/null || true
keeper_pid=""

# The ticks of the process's threads whose names start with the prefix.
thread_ticks() {
  local total=0 task
  for task in /proc/"$1"/task/*; do
    case "$(cat "$task/comm" 2>/dev/null)" in
      "$2"*) total=$((total + $(awk '{ print $14 + $15 }' "$task/stat" 2>/dev/null || echo 0))) ;;
    esac
  done
  echo "$total"
}

echo "Playing sound for $sample_seconds s:"
start_program memory
xdotool key F9
sleep 3
ticks_before=$(cpu_ticks "$program_pid")
player_before=$(thread_ticks "$program_pid" mpv/)
sleep "$sample_seconds"
ticks_after=$(cpu_ticks "$program_pid")
player_after=$(thread_ticks "$program_pid" mpv/)
rss=$(rss_kib "$program_pid")
pss=$(pss_kib "$program_pid")
family_pss=0
helpers=0
for member in $(family "$program_pid"); do
  family_pss=$((family_pss + $(pss_kib "$member")))
  [ "$member" = "$program_pid" ] || helpers=$((helpers + 1))
done
stop_program
awk -v rss="$rss" -v pss="$pss" -v fam="$family_pss" -v helpers="$helpers" -v dt=$((ticks_after - ticks_before)) \
    -v player=$((player_after - player_before)) \
    -v hz="$(getconf CLK_TCK)" -v secs="$sample_seconds" 'BEGIN {
  printf "  kestrel-radio:                    RSS %.1f MiB, PSS %.1f MiB\n", rss / 1024, pss / 1024
  printf "  with the web engine'"'"'s %d helpers:  PSS %.1f MiB\n", helpers, fam / 1024
  printf "  CPU of kestrel-radio:             %.2f%% of one core (target < 2%%)\n", 100 * dt / hz / secs
  printf "    of which the media engine:      %.2f%%\n", 100 * player / hz / secs
}'
