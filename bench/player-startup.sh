#!/usr/bin/env bash
# The player benchmark. Against the station server's demo stream, on a private
# display and sound server, it prints:
#  - the time from setting the player's URL to the first audible sample at
#    the sink, next to `mpv --no-video` started on the same stream (counted
#    from its start); the target is ours at most 1.2 times mpv's;
#  - the memory of the program's player while it plays, without and with the
#    banner's web engine (whose helper processes are counted too);
#  - the processor time while it plays sound (target: under 2% of one core,
#    without the web engine), next to mpv's.
# Usage: bench/player-startup.sh [BUILD_DIR] (default: build)
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
source "$source_dir/bench/measure.sh"
build=$(cd "${1:-$source_dir/build}" && pwd)
run_on_private_display "$0" "$build"

runs=7
play_seconds=14
sample_from=4
sample_to=12
driver="$build/bench/kestrel-player-bench"
probe="$build/bench/kestrel-audible-probe"
server="$build/kestrel-station-server"
require_built "$driver" "$probe" "$server"
require_commands mpv

work=$(mktemp -d /tmp/kestrel-player-bench-XXXXXX)
cleanup() {
  [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$server" --port 0 --music-port 0 --promo-port 0 --ready-file "$work/ready" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do [ -s "$work/ready" ] && break; sleep 0.05; done
port=$(sed -n 's/^station=//p' "$work/ready")
[ -n "$port" ] || { echo "the station server did not start"; exit 1; }
stream="http://127.0.0.1:$port/streams/kestrel-mp3"
banner="http://127.0.0.1:$port/banners/kestrel-radio.html"


keep_sink_awake

echo "Player start-up: setting the URL to the first audible sample ($runs runs each)"
: >"$work/ours"; : >"$work/mpv"
for run in $(seq 1 "$runs"); do
  ours=$("$probe" "$driver" --url "$stream" --seconds 6)
  theirs=$("$probe" mpv --no-config --no-video --really-quiet --ao=pulse --volume=50 "$stream")
  echo "  run $run: ours $ours ms, mpv $theirs ms"
  echo "$ours" >>"$work/ours"; echo "$theirs" >>"$work/mpv"
done
kill "$keeper_pid"; wait "$keeper_pid" 2>/dev/null || true
ours_median=$(median <"$work/ours")
mpv_median=$(median <"$work/mpv")
ratio=$(awk -v a="$ours_median" -v b="$mpv_median" 'BEGIN { printf "%.2f", a / b }')
echo "  median: ours $ours_median ms, mpv $mpv_median ms, ratio $ratio (target <= 1.20)"
table_row "player: URL set -> first sound" "$ours_median ms" "<= 1.2 x mpv" "mpv $mpv_median ms"


# Runs a player for a while and prints: memory of the process (RSS, PSS),
# PSS of the process with its helpers, processor share in percent.
measure() {
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$sample_from"
  local ticks_before
  ticks_before=$(cpu_ticks "$pid")
  sleep $((sample_to - sample_from))
  local ticks_after rss pss family_pss=0
  ticks_after=$(cpu_ticks "$pid")
  rss=$(rss_kib "$pid")
  pss=$(pss_kib "$pid")
  for member in $(family "$pid"); do family_pss=$((family_pss + $(pss_kib "$member"))); done
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  awk -v rss="$rss" -v pss="$pss" -v fam="$family_pss" -v dt=$((ticks_after - ticks_before)) \
      -v hz="$(getconf CLK_TCK)" -v secs=$((sample_to - sample_from)) \
      'BEGIN { printf "%.1f %.1f %.1f %.2f\n", rss / 1024, pss / 1024, fam / 1024, 100 * dt / hz / secs }'
}

echo "Playing sound for $((sample_to - sample_from)) s (measured from second $sample_from):"
read -r rss pss fam cpu < <(measure "$driver" --url "$stream" --seconds "$play_seconds")
echo "  player:            RSS $rss MiB, PSS $pss MiB, CPU $cpu% of one core (target < 2%)"
player_pss=$pss; player_cpu=$cpu
read -r rss pss fam cpu < <(measure "$driver" --url "$stream" --banner "$banner" --seconds "$play_seconds")
echo "  player + banner:   RSS $rss MiB, PSS $pss MiB; with the web engine's helper processes PSS $fam MiB; CPU $cpu% (main process)"
read -r rss pss fam cpu < <(measure mpv --no-config --no-video --really-quiet --ao=pulse --volume=50 "$stream")
echo "  mpv --no-video:    RSS $rss MiB, PSS $pss MiB, CPU $cpu% of one core"
table_row "player alone: PSS while playing" "$player_pss MiB" "-" "mpv $pss MiB"
table_row "player alone: CPU while playing" "$player_cpu %" "< 2 %" "mpv $cpu %"
