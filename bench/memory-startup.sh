#!/usr/bin/env bash
# The memory and start-up benchmark: the real kestrel-radio against the
# station server, on a private display and sound server, each figure beside
# its peer measured in the same run (medians of several runs):
#  - launch to the first window mapped, beside a bare Qt window and, where
#    installed, Goodvibes (target: at most Goodvibes', or the bare window's
#    + 50 ms);
#  - launch to the stream's request on a fresh profile, which includes the
#    download dialog's fixed second (target: at most 1.25 s), beside mpv;
#  - Play to the first audible sample, beside mpv's request to first sound
#    (target: within 30 ms), the request's time as the server logged it;
#  - PSS of the whole process tree while playing, started hidden (":silent",
#    target: at most 1.5 x mpv's) and started shown with the banner loaded
#    (target: at most 200 MiB), beside mpv; the web engine's helper
#    processes are counted;
#  - how much that PSS grows over each of two further minutes of play,
#    beside mpv's (a tray player plays all day);
#  - CPU while playing, beside mpv (target: at most mpv's);
#  - what the hidden window releases: PSS once the window shown with the
#    banner has been closed to the notification area for longer than the
#    web engine's dormancy delay, beside the same program before it closed.
# Usage: bench/memory-startup.sh [BUILD_DIR] (default: build)
set -euo pipefail
[ -n "${KESTREL_BENCH_TRACE:-}" ] && set -x

source_dir=$(cd "$(dirname "$0")/.." && pwd)
source "$source_dir/bench/measure.sh"
build=$(cd "${1:-$source_dir/build}" && pwd)
run_on_private_display "$0" "$build"

runs=${KESTREL_BENCH_RUNS:-5}
settle_seconds=5
# CPU and the PSS's first growth are read over the same minute of play.
sample_seconds=60
program="$build/kestrel-radio"
bare_window="$build/bench/memory/kestrel-bare-window"
probe="$build/bench/kestrel-audible-probe"
timed_key="$build/bench/radio/kestrel-timed-key"
close_request="$build/bench/memory/kestrel-close-request"
server="$build/kestrel-station-server"
# The web view lets its renderer go once hidden this long (CWebView's
# dormancy delay), and the helper process takes a moment to end.
dormant_seconds=30
require_built "$program" "$bare_window" "$probe" "$timed_key" "$close_request" "$server"
require_commands mpv trayer

begin_bench_run memory
start_session_bus

# The MP3 stream is the first row, for Play Next with nothing selected, and
# the third, the row that a fresh profile plays by itself.
cat >"$work/catalogue.txt" <<'CATALOGUE'
Category,Channel,Stream,Id,Genre,Description,Status
Radio,Kestrel Radio Demo,{server}/streams/kestrel-mp3,kr-103,Instrumental,Station ident and melodies,ON
Radio,Kestrel Vorbis,{server}/streams/kestrel-ogg,kr-101,Instrumental,Plucked melodies,ON
Radio,Kestrel Radio Demo Again,{server}/streams/kestrel-mp3,kr-104,Instrumental,Station ident and melodies,ON
CATALOGUE
start_station_server "$server" "$work"
stream="$KESTREL_RADIO_SERVER/streams/kestrel-mp3"
profile_name="Kestrel Radio by kestrelradio.example"

now_ns() { date +%s%N; }
stream_starts() { grep -c ' /streams/kestrel-mp3 200 .*STREAM-START' "$work/requests.log" 2>/dev/null || true; }
banner_loads() { grep -c ' /banners/kestrel-radio.html 200 ' "$work/requests.log" 2>/dev/null || true; }
window_shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }

# Starts a command in the background with a fresh home; sets launched_pid
# and launched_ns.
launch() {
  local home="$work/home-$RANDOM$RANDOM"
  mkdir -p "$home/config/kestrelradio.example"
  [ -n "${preset:-}" ] && printf '[Settings]\n%s\n' "$preset" >"$home/config/kestrelradio.example/$profile_name.ini"
  launched_ns=$(now_ns)
  XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" "$@" >/dev/null 2>&1 &
  launched_pid=$!
}
finish() {
  kill "$launched_pid" 2>/dev/null || true
  wait "$launched_pid" 2>/dev/null || true
  launched_pid=""
}
# Milliseconds from the launch until the command succeeds (polled).
ms_until() {
  for _ in $(seq 1 2000); do
    if "$@" >/dev/null 2>&1; then awk -v a="$launched_ns" -v b="$(now_ns)" 'BEGIN { printf "%.0f\n", (b - a) / 1e6 }'; return; fi
    sleep 0.005
  done
  echo "timeout"
}
has_window() { [ -n "$(window_shown "$1")" ]; }
stream_started_after() { [ "$(stream_starts)" -gt "$1" ]; }
family_pss_kib() {
  local total=0 member
  for member in $(family "$1"); do total=$((total + $(pss_kib "$member"))); done
  echo "$total"
}
family_size() { family "$1" | wc -l; }
family_ticks() {
  local total=0 member
  for member in $(family "$1"); do total=$((total + $(cpu_ticks "$member" 2>/dev/null || echo 0))); done
  echo "$total"
}
cpu_percent() {
  local before after
  before=$(family_ticks "$1"); sleep "$sample_seconds"; after=$(family_ticks "$1")
  awk -v d=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$sample_seconds" 'BEGIN { printf "%.2f", 100 * d / hz / s }'
}
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
report() { printf '  %-44s %s\n' "$1" "$2"; }

keep_sink_awake

echo "Launch to the first window mapped (ms, median of $runs)"
: >"$work/ours-map"; : >"$work/bare-map"; : >"$work/gv-map"
for _ in $(seq 1 "$runs"); do
  launch "$program"; ms_until has_window '^Kestrel Radio' >>"$work/ours-map"; finish
  launch "$bare_window"; ms_until has_window '^Bare Qt Window$' >>"$work/bare-map"; finish
  if command -v goodvibes >/dev/null; then
    launch goodvibes; ms_until has_window '^Goodvibes' >>"$work/gv-map"; finish
  fi
done
report "kestrel-radio" "$(median <"$work/ours-map")"
report "bare Qt window (target: ours <= this + 50)" "$(median <"$work/bare-map")"
[ -s "$work/gv-map" ] && report "Goodvibes (target: ours <= this)" "$(median <"$work/gv-map")"
if [ -s "$work/gv-map" ]; then
  table_row "launch -> window mapped" "$(median <"$work/ours-map") ms" "<= Goodvibes" \
    "Goodvibes $(median <"$work/gv-map") ms, bare Qt $(median <"$work/bare-map") ms"
else
  table_row "launch -> window mapped" "$(median <"$work/ours-map") ms" "<= bare Qt + 50 ms" \
    "bare Qt window $(median <"$work/bare-map") ms"
fi

echo "Launch to the stream's request, fresh profile (ms, median of $runs)"
: >"$work/ours-req"; : >"$work/mpv-req"
for _ in $(seq 1 "$runs"); do
  before=$(stream_starts); launch "$program"; ms_until stream_started_after "$before" >>"$work/ours-req"; finish
  before=$(stream_starts); launch mpv --no-config --no-video --really-quiet --ao=pulse "$stream"
  ms_until stream_started_after "$before" >>"$work/mpv-req"; finish
done
report "kestrel-radio (includes the dialog's 1 s; target <= 1250)" "$(median <"$work/ours-req")"
report "mpv --no-video" "$(median <"$work/mpv-req")"
table_row "launch -> stream request, fresh profile" "$(median <"$work/ours-req") ms" "<= 1250 ms" \
  "mpv $(median <"$work/mpv-req") ms"

# The wall-clock time, in milliseconds, at which the server logged the
# stream's Nth request.
stream_request_ms() {
  date -d "$(grep ' /streams/kestrel-mp3 200 .*STREAM-START' "$work/requests.log" | sed -n "${1}p" | cut -d' ' -f1)" +%s%3N
}

echo "Play to the first audible sample (ms, median of $runs)"
: >"$work/ours-play"; : >"$work/mpv-sound"
for _ in $(seq 1 "$runs"); do
  preset="AutoPlay=0" launch "$program"
  ms_until has_window '^Kestrel Radio' >/dev/null
  sleep 3
  xdotool windowfocus --sync "$(window_shown '^Kestrel Radio')"
  "$probe" "$timed_key" F9 >>"$work/ours-play" || true
  finish
  before=$(stream_starts)
  sound_ms=$("$probe" --print-wall-clock mpv --no-config --no-video --really-quiet --ao=pulse "$stream") || continue
  [ "$(stream_starts)" -gt "$before" ] || continue
  awk -v a="$sound_ms" -v b="$(stream_request_ms $((before + 1)))" 'BEGIN { printf "%.0f\n", a - b }' >>"$work/mpv-sound"
done
report "kestrel-radio, Play to sound" "$(median <"$work/ours-play")"
report "mpv, request (as the server logged it) to sound" "$(median <"$work/mpv-sound")"
table_row "Play (F9) -> first sound" "$(median <"$work/ours-play") ms" "<= mpv + 30 ms" \
  "mpv request -> sound $(median <"$work/mpv-sound") ms"

# Launches a player and waits until it requests the stream and, for the
# program shown, until the banner loaded too; then lets it settle.
launch_playing() {
  local before banners
  before=$(stream_starts); banners=$(banner_loads); launch "$@"
  ms_until stream_started_after "$before" >/dev/null
  if [ "$1" = "$program" ] && [ "${2:-}" != ":silent" ]; then
    for _ in $(seq 1 200); do [ "$(banner_loads)" -gt "$banners" ] && break; sleep 0.05; done
  fi
  sleep "$settle_seconds"
}
mpv_playing=(mpv --no-config --no-video --really-quiet --ao=pulse "$stream")

# A notification area, as on a desktop: the program lives in it, and
# closing the window hides the window there.
trayer --edge bottom --align right --widthtype request --height 24 >/dev/null 2>&1 &
tray_pid=$!
echo "While playing: PSS of the whole process tree (median of $runs)"
: >"$work/hidden-pss"; : >"$work/shown-pss"; : >"$work/mpv-pss"
for _ in $(seq 1 "$runs"); do
  launch_playing "$program" :silent; family_pss_kib "$launched_pid" >>"$work/hidden-pss"
  hidden_processes=$(family_size "$launched_pid"); finish
  launch_playing "$program"; family_pss_kib "$launched_pid" >>"$work/shown-pss"
  shown_processes=$(family_size "$launched_pid"); finish
  launch_playing "${mpv_playing[@]}"; family_pss_kib "$launched_pid" >>"$work/mpv-pss"; finish
done
hidden_pss=$(median <"$work/hidden-pss"); shown_pss=$(median <"$work/shown-pss"); mpv_pss=$(median <"$work/mpv-pss")

echo "While playing: CPU over $sample_seconds s, and PSS growth over that and the next $sample_seconds s"
# The CPU over a minute, and how much the PSS grew over that minute, then
# over the minute after: sets cpu, growth and later_growth.
read_growth() {
  local from after_one
  from=$(family_pss_kib "$launched_pid"); cpu=$(cpu_percent "$launched_pid")
  after_one=$(family_pss_kib "$launched_pid"); sleep "$sample_seconds"
  growth=$((after_one - from)); later_growth=$(($(family_pss_kib "$launched_pid") - after_one))
}
launch_playing "$program" :silent; read_growth; finish
hidden_cpu=$cpu; hidden_growth=$growth; hidden_later_growth=$later_growth
launch_playing "${mpv_playing[@]}"; read_growth; finish
mpv_cpu=$cpu; mpv_growth=$growth; mpv_later_growth=$later_growth
launch_playing "$program"
before_close_pss=$(family_pss_kib "$launched_pid"); shown_cpu=$(cpu_percent "$launched_pid")
"$close_request" "$(window_shown '^Kestrel Radio')"
sleep $((dormant_seconds + settle_seconds))
closed_visible=$(window_shown '^Kestrel Radio' || true)
released_pss=$(family_pss_kib "$launched_pid"); released_processes=$(family_size "$launched_pid")
finish
kill "$tray_pid" 2>/dev/null; wait "$tray_pid" 2>/dev/null || true; tray_pid=""

report "kestrel-radio :silent ($hidden_processes processes)" "PSS $(mib "$hidden_pss") MiB, CPU $hidden_cpu%"
report "kestrel-radio shown, banner loaded ($shown_processes processes)" "PSS $(mib "$shown_pss") MiB, CPU $shown_cpu%"
report "kestrel-radio closed to the tray after $((dormant_seconds + settle_seconds)) s ($released_processes processes)" \
  "PSS $(mib "$released_pss") MiB, shown before $(mib "$before_close_pss") MiB$([ -n "$closed_visible" ] && echo ' (the window did not hide)')"
report "mpv --no-video" "PSS $(mib "$mpv_pss") MiB, CPU $mpv_cpu%"
report "PSS growth over the next $sample_seconds s of play, then the $sample_seconds s after" \
  "kestrel-radio :silent $(mib "$hidden_growth") + $(mib "$hidden_later_growth") MiB, mpv $(mib "$mpv_growth") + $(mib "$mpv_later_growth") MiB"
awk -v h="$hidden_pss" -v m="$mpv_pss" -v s="$shown_pss" 'BEGIN {
  printf "  :silent PSS / mpv PSS: %.2f (target <= 1.50); shown PSS %.1f MiB (target <= 200)\n", h / m, s / 1024 }'
table_row "PSS while playing, started :silent" "$(mib "$hidden_pss") MiB" "<= 1.5 x mpv" "mpv $(mib "$mpv_pss") MiB"
table_row "PSS while playing, shown, banner loaded" "$(mib "$shown_pss") MiB" "<= 200 MiB" "mpv $(mib "$mpv_pss") MiB"
table_row "PSS while playing, closed to the tray after showing" "$(mib "$released_pss") MiB" "-" \
  "the same program shown: $(mib "$before_close_pss") MiB"
table_row "PSS growth over two further minutes of play, :silent" \
  "$(mib "$hidden_growth") + $(mib "$hidden_later_growth") MiB" "-" "mpv $(mib "$mpv_growth") + $(mib "$mpv_later_growth") MiB"
table_row "CPU while playing (hidden / shown)" "$hidden_cpu % / $shown_cpu %" "<= mpv" "mpv $mpv_cpu %"
