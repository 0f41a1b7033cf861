#!/usr/bin/env bash
# The TV benchmark: the CPU that the demo TV channel costs the real
# kestrel-radio, whose player draws the pictures itself with libmpv's
# software renderer, beside mpv showing the same stream in its own X11
# window (--vo=x11, also drawn by the CPU) with the picture at the same
# size, in the same run, on a private display and sound server (target: at
# most 1.5 x mpv's). It also tells whether a GL driver came into the program
# for the pictures (it must not: the program has none in it without them),
# and the PSS of the program playing TV beside the same program playing
# radio.
# Usage: bench/tv-cpu.sh [BUILD_DIR] (default: build)
set -euo pipefail
[ -n "${KESTREL_BENCH_TRACE:-}" ] && set -x

source_dir=$(cd "$(dirname "$0")/.." && pwd)
source "$source_dir/bench/measure.sh"
build=$(cd "${1:-$source_dir/build}" && pwd)
run_on_private_display "$0" "$build"

settle_seconds=5
sample_seconds=${KESTREL_BENCH_TV_SECONDS:-30}
program="$build/kestrel-radio"
server="$build/kestrel-station-server"
require_built "$program" "$server"
require_commands mpv xdotool import convert

begin_bench_run tv
start_session_bus

# A fresh profile plays the third row it shows.
cat >"$work/catalogue.txt" <<'CATALOGUE'
Category,Channel,Stream,Id,Genre,Description,Status
Radio,Kestrel Vorbis,{server}/streams/kestrel-ogg,kr-101,Instrumental,Plucked melodies,ON
Radio,Kestrel Talk,{server}/streams/kestrel-talk,kr-102,Speech,Talk,ON
TV,Kestrel TV,{server}/streams/kestrel-tv,kr-201,Test card,Colour bars with a tone,ON
Radio,Kestrel Radio Demo,{server}/streams/kestrel-mp3,kr-103,Instrumental,Station ident and melodies,ON
CATALOGUE
start_station_server "$server" "$work"
tv_stream="$KESTREL_RADIO_SERVER/streams/kestrel-tv"
profile_name="Kestrel Radio by kestrelradio.example"

tv_starts() { grep -c ' /streams/kestrel-tv 200 .*STREAM-START' "$work/requests.log" 2>/dev/null || true; }
window_shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
wait_for() {
  for _ in $(seq 1 400); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  return 1
}
has_window() { [ -n "$(window_shown "$1")" ]; }
started_after() { [ "$(tv_starts)" -gt "$1" ]; }

# launch PRESET COMMAND...: a fresh home with the profile's Settings lines.
launch() {
  local preset=$1 home="$work/home-$RANDOM$RANDOM"
  shift
  mkdir -p "$home/config/kestrelradio.example"
  printf '[Settings]\n%s\n' "$preset" >"$home/config/kestrelradio.example/$profile_name.ini"
  XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" "$@" >/dev/null 2>&1 &
  launched_pid=$!
}
finish() {
  kill "$launched_pid" 2>/dev/null || true
  wait "$launched_pid" 2>/dev/null || true
  launched_pid=""
}
cpu_percent() {
  local before after
  before=$(cpu_ticks "$1"); sleep "$sample_seconds"; after=$(cpu_ticks "$1")
  awk -v d=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$sample_seconds" 'BEGIN { printf "%.1f", 100 * d / hz / s }'
}
gl_driver_loaded() { grep -qE '_dri\.so|libLLVM|libgallium' "/proc/$1/maps" && echo yes || echo no; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
report() { printf '  %-52s %s\n' "$1" "$2"; }

# The size of the picture on the screen, from the test card's bars: the
# yellow bar is the second of seven equal bars across the picture, the blue
# one the last, and the bars fill two thirds of its height.
picture_size() {
  import -window root "$work/screen.png"
  local yellow blue
  yellow=$(convert "$work/screen.png" -fuzz 12% -fill black +opaque 'rgb(191,191,0)' -trim -format '%w %h %X' info:)
  blue=$(convert "$work/screen.png" -fuzz 12% -fill black +opaque 'rgb(0,0,191)' -trim -format '%w %h %X' info:)
  awk -v y="$yellow" -v b="$blue" 'BEGIN {
    split(y, Y, " "); split(b, B, " ")
    w = (B[3] + B[1] - Y[3]) * 7 / 6; h = Y[2] * 3 / 2
    printf "%dx%d\n", w + 0.5, h + 0.5 }'
}

keep_sink_awake

# measure_pair [WxH]: the program with its window at that size (its own
# first-run size without one), then mpv with its picture at the same size;
# sets size, mpv_size, ours_cpu, ours_pss, ours_gl and mpv_cpu.
measure_pair() {
  local before
  before=$(tv_starts)
  launch "DisplayTVChannels=1" "$program"
  wait_for has_window '^Kestrel Radio'
  wait_for started_after "$before"
  if [ -n "${1:-}" ]; then
    xdotool windowsize --sync "$(window_shown '^Kestrel Radio')" "${1%x*}" "${1#*x}"
  fi
  sleep "$settle_seconds"
  size=$(picture_size)
  ours_cpu=$(cpu_percent "$launched_pid")
  ours_pss=$(pss_kib "$launched_pid")
  ours_gl=$(gl_driver_loaded "$launched_pid")
  finish

  before=$(tv_starts)
  launch "" mpv --no-config --vo=x11 --ao=pulse --really-quiet --no-border --geometry="$size" --loop-file=inf "$tv_stream"
  wait_for started_after "$before"
  sleep "$settle_seconds"
  mpv_size=$(picture_size)
  mpv_cpu=$(cpu_percent "$launched_pid")
  finish
}

launch "DisplayTVChannels=1
LastChannelIndex=3" "$program"
wait_for has_window '^Kestrel Radio'
sleep "$settle_seconds"
radio_pss=$(pss_kib "$launched_pid")
finish
report "kestrel-radio, radio channel shown" "PSS $(mib "$radio_pss") MiB"

for window_size in "" 1260x1000; do
  echo "The demo TV channel in the program's window (${window_size:-first-run size}), then in mpv at the same picture size ($sample_seconds s each)"
  measure_pair "$window_size"
  report "picture on the screen: kestrel-radio / mpv" "$size / $mpv_size"
  report "kestrel-radio, TV channel shown (its own process)" "CPU $ours_cpu%, PSS $(mib "$ours_pss") MiB, GL driver loaded: $ours_gl"
  report "mpv --no-config --vo=x11" "CPU $mpv_cpu%"
  awk -v o="$ours_cpu" -v m="$mpv_cpu" 'BEGIN { printf "  CPU / mpv CPU: %.2f (target <= 1.50)\n", (m > 0 ? o / m : 0) }'
  table_row "CPU playing the demo TV channel shown, picture $size" "$ours_cpu %" "<= 1.5 x mpv" "mpv --vo=x11 $mpv_cpu %"
  table_row "GL driver loaded for TV pictures, picture $size" "$ours_gl" "no" "-"
done
