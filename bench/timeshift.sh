#!/usr/bin/env bash
# The time-shift benchmark: the real kestrel-radio against the station
# server, on a private display, sound server and session bus, driven through
# its desktop media controls (MPRIS: Pause, Play, Seek) as a desktop would.
#  - Pause to silence and Resume to sound (target: at most 100 ms each),
#    and Back 30 s to sound (target: at most 150 ms), timed at the sink
#    from the moment the request is sent (the gdbus process's start counts
#    against us). The station is a tone that sounds for ten seconds and is
#    silent for ten, made here, so that each time starts from a known
#    state: Pause and Resume in the middle of the tone, Back 30 s in the
#    middle of the silence, which lands in the tone.
#  - The stream requests the server logged over those Resumes and Backs
#    (target: none).
#  - A long pause: the buffer's file (the bytes it takes on disk, from its
#    st_blocks, and its length, which is what it would take without giving
#    space back) and the program's PSS, with the profile's 30-minute buffer.
#    The station sends its stream $speed times faster than it plays
#    (--stream-speed), so a second here is $speed seconds of pause: the
#    30-minute buffer fills in 1800/$speed s, and two hours of pause (the
#    target's "paused for 2 hours") pass in 7200/$speed s. The stream, the
#    buffer, the file and the index grow just as they would in real time;
#    only the clock is faster. The PSS is read once the buffer is full (as
#    after half an hour of listening) and over the two hours after
#    (target: grows by at most 5 MiB); the file's largest size over the
#    whole pause (target: within the buffer's bound). The PSS read when the
#    pause begins, two seconds after the stream's start, still holds the
#    start-up's transients, so its growth to the end is no measure of what
#    the buffer's index costs.
# Usage: bench/timeshift.sh [BUILD_DIR] (default: build)
set -euo pipefail
[ -n "${KESTREL_BENCH_TRACE:-}" ] && set -x

source_dir=$(cd "$(dirname "$0")/.." && pwd)
source "$source_dir/bench/measure.sh"
build=$(cd "${1:-$source_dir/build}" && pwd)
run_on_private_display "$0" "$build"

runs=${KESTREL_BENCH_RUNS:-5}
speed=${KESTREL_BENCH_STREAM_SPEED:-32}
buffer_minutes=30
paused_hours=2
program="$build/kestrel-radio"
probe="$build/bench/kestrel-audible-probe"
server="$build/kestrel-station-server"
require_built "$program" "$probe" "$server"
require_commands gdbus sox ffmpeg

begin_bench_run timeshift
start_session_bus
profile_name="Kestrel Radio by kestrelradio.example"

# launch_server MOUNT [OPTIONS...]: the station server, in place of the one
# before, with MOUNT in the third row of its catalogue, which a fresh
# profile plays by itself.
launch_server() {
  local mount=$1
  shift
  [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
  rm -f "$work/ready"
  cat >"$work/catalogue.txt" <<CATALOGUE
Category,Channel,Stream,Id,Genre,Description,Status
Radio,Kestrel Vorbis,{server}/streams/kestrel-ogg,kr-101,Instrumental,Plucked melodies,ON
Radio,Kestrel Talk,{server}/streams/kestrel-talk,kr-102,Speech,Talk,ON
Radio,Benchmark Station,{server}/streams/$mount,kr-103,Test,The benchmark's station,ON
CATALOGUE
  start_station_server "$server" "$work" "$@"
}
# launch: the program on a fresh profile with the 30-minute buffer.
launch() {
  local home="$work/home-$RANDOM$RANDOM"
  mkdir -p "$home/config/kestrelradio.example" "$home/cache"
  printf '[Settings]\nTimeShiftMinutes=%s\n' "$buffer_minutes" >"$home/config/kestrelradio.example/$profile_name.ini"
  cache_folder="$home/cache/KestrelRadio/TimeShift"
  XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" "$program" >/dev/null 2>&1 &
  launched_pid=$!
}
finish() {
  kill "$launched_pid" 2>/dev/null || true
  wait "$launched_pid" 2>/dev/null || true
  launched_pid=""
}
stream_starts() { grep -c " /streams/$1 200 .*STREAM-START" "$work/requests.log" 2>/dev/null || true; }
wait_for() {
  for _ in $(seq 1 600); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  return 1
}
started_after() { [ "$(stream_starts "$1")" -gt "$2" ]; }
# The desktop's media controls: mpris METHOD [ARGUMENTS...].
mpris=(gdbus call --session --dest org.mpris.MediaPlayer2.kestrelradio --object-path /org/mpris/MediaPlayer2
  --method)
mpris_ready() { "${mpris[@]}" org.freedesktop.DBus.Peer.Ping; }
# The buffer's file, as the program holds it open: "allocated length" in bytes.
buffer_file_size() {
  local fd target
  for fd in /proc/"$launched_pid"/fd/*; do
    target=$(readlink "$fd" 2>/dev/null) || continue
    case "$target" in
      "$cache_folder"/mpv-cache-*) stat -L -c '%b %B %s' "$fd" | awk '{ print $1 * $2, $3 }'; return ;;
    esac
  done
  echo "0 0"
}
mib() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }
report() { printf '  %-56s %s\n' "$1" "$2"; }

# The tone station: ten seconds of a 440 Hz tone, ten of silence, looped.
mkdir -p "$work/media"
sox -R -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 10 sine 440 gain -12 pad 0 10
ffmpeg -hide_banner -loglevel error -nostdin -y -i "$work/tone.wav" -map_metadata -1 -c:a libmp3lame -b:a 128k \
  "$work/media/bench-tone.mp3"
keep_sink_awake
launch_server bench-tone --media "$work/media"
echo "Pause, Resume and Back 30 s, at the sink ($runs runs each, ms)"
launch
wait_for started_after bench-tone 0
wait_for mpris_ready
: >"$work/pause"; : >"$work/resume"; : >"$work/back"
for run in $(seq 1 "$runs"); do
  pause=$("$probe" --after sound:2000 --until-silent "${mpris[@]}" org.mpris.MediaPlayer2.Player.Pause) || pause="-"
  resume=$("$probe" --after quiet:500 "${mpris[@]}" org.mpris.MediaPlayer2.Player.Play) || resume="-"
  echo "  run $run: pause -> silence $pause, resume -> sound $resume"
  [ "$pause" != "-" ] && echo "$pause" >>"$work/pause"
  [ "$resume" != "-" ] && echo "$resume" >>"$work/resume"
done
# Back 30 s needs 30 s in the buffer, and each run returns to the live edge.
sleep 35
for run in $(seq 1 "$runs"); do
  back=$("$probe" --after silence:2000 "${mpris[@]}" org.mpris.MediaPlayer2.Player.Seek -- "int64 -30000000") || back="-"
  echo "  run $run: back 30 s -> sound $back"
  [ "$back" != "-" ] && echo "$back" >>"$work/back"
  "${mpris[@]}" org.mpris.MediaPlayer2.Player.Seek "int64 3600000000" >/dev/null
done
requests=$(($(stream_starts bench-tone) - 1))
finish
pause_median=$(median <"$work/pause"); resume_median=$(median <"$work/resume"); back_median=$(median <"$work/back")
report "Pause -> silence (median of $(wc -l <"$work/pause"))" "$pause_median ms (target <= 100)"
report "Resume -> sound (median of $(wc -l <"$work/resume"))" "$resume_median ms (target <= 100)"
report "Back 30 s -> sound (median of $(wc -l <"$work/back"))" "$back_median ms (target <= 150)"
report "stream requests over $runs Resumes and $runs Backs" "$requests (target 0)"
table_row "time-shift: Pause -> silence" "$pause_median ms" "<= 100 ms" "-"
table_row "time-shift: Resume -> sound" "$resume_median ms" "<= 100 ms" "-"
table_row "time-shift: Back 30 s -> sound" "$back_median ms" "<= 150 ms" "-"
table_row "time-shift: stream requests on Resume and Back" "$requests" "0" "-"

fill_seconds=$(((buffer_minutes * 60 + 60) / speed))
pause_seconds=$((paused_hours * 3600 / speed))
echo "A long pause: the demo MP3 station (128 kbit/s) sent $speed x faster than it plays, a $buffer_minutes-minute buffer"
echo "  (the buffer fills in ${fill_seconds} s here; ${paused_hours} h of pause pass in ${pause_seconds} s)"
launch_server kestrel-mp3 --stream-speed "$speed"
launch
wait_for started_after kestrel-mp3 0
wait_for mpris_ready
sleep 2
"${mpris[@]}" org.mpris.MediaPlayer2.Player.Pause >/dev/null
pss_paused=$(pss_kib "$launched_pid")
most_allocated=0
# watch_file SECONDS: samples the file each second; sets most_allocated.
watch_file() {
  local end=$((SECONDS + $1)) allocated
  while [ "$SECONDS" -lt "$end" ]; do
    read -r allocated _ < <(buffer_file_size)
    [ "$allocated" -gt "$most_allocated" ] && most_allocated=$allocated
    sleep 1
  done
}
watch_file "$fill_seconds"
pss_full=$(pss_kib "$launched_pid")
watch_file "$pause_seconds"
pss_end=$(pss_kib "$launched_pid")
read -r allocated length < <(buffer_file_size)
requests=$(($(stream_starts kestrel-mp3) - 1))
finish
# The buffer's bound: its 30 minutes of this station's stream.
bound=$((buffer_minutes * 60 * 16000))
report "PSS when paused / buffer full / after ${paused_hours} h more" \
  "$(mib $((pss_paused * 1024))) / $(mib $((pss_full * 1024))) / $(mib $((pss_end * 1024))) MiB"
report "PSS growth over the ${paused_hours} h with the buffer full" "$(mib $(((pss_end - pss_full) * 1024))) MiB (target <= 5)"
report "PSS growth from the pause (start-up's transients too)" "$(mib $(((pss_end - pss_paused) * 1024))) MiB"
report "buffer file on disk: largest over the pause / at its end" "$(mib "$most_allocated") / $(mib "$allocated") MiB"
report "buffer file's length (all the pause's stream)" "$(mib "$length") MiB"
report "the buffer's $buffer_minutes minutes of stream" "$(mib "$bound") MiB"
report "stream requests while paused" "$requests"
table_row "time-shift: PSS growth over ${paused_hours} h paused, ${buffer_minutes}-min buffer full" \
  "$(mib $(((pss_end - pss_full) * 1024))) MiB" "<= 5 MiB" "-"
table_row "time-shift: buffer file on disk, largest over the pause" "$(mib "$most_allocated") MiB" \
  "~ ${buffer_minutes} min of stream ($(mib "$bound") MiB)" "without giving space back: $(mib "$length") MiB"
