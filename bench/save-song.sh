#!/usr/bin/env bash
# The save benchmark: saving a 4-minute song from the time-shift buffer, with
# the program's player control and song recorder against the station server,
# on a private display and sound server. The station announces a title every
# four minutes of stream and sends its stream $speed times faster than it
# plays (--stream-speed), so that a whole song is in the buffer within
# 480/$speed s; play is moved to just before each title and crosses it, as
# a listener's does. The song is then saved from the buffer $runs times,
# each timed from the request to the report that the file is saved (target:
# under 1 s), and each file is checked: its audio frames are one contiguous,
# byte-identical run of the station's source file, and it lasts the song's
# 240 s within a second.
# Usage: bench/save-song.sh [BUILD_DIR] (default: build)
set -euo pipefail
[ -n "${KESTREL_BENCH_TRACE:-}" ] && set -x

source_dir=$(cd "$(dirname "$0")/.." && pwd)
source "$source_dir/bench/measure.sh"
build=$(cd "${1:-$source_dir/build}" && pwd)
run_on_private_display "$0" "$build"

runs=${KESTREL_BENCH_RUNS:-5}
speed=${KESTREL_BENCH_STREAM_SPEED:-16}
song_seconds=240
driver="$build/bench/kestrel-save-song-bench"
server="$build/kestrel-station-server"
media="$build/server-media"
require_built "$driver" "$server"
[ -f "$media/kestrel-mp3.mp3" ] || { echo "missing $media/kestrel-mp3.mp3: build the project first"; exit 1; }

begin_bench_run save-song
cat >"$work/catalogue.txt" <<CATALOGUE
Category,Channel,Stream,Id,Genre,Description,Status
Radio,Benchmark Station,{server}/streams/kestrel-mp3,kr-103,Test,The benchmark's station,ON
CATALOGUE
start_station_server "$server" "$work" --media "$media" --stream-speed "$speed" --title-interval "$song_seconds"
# A fresh profile, with the default 30-minute buffer, and a music folder of
# its own.
home="$work/home"
mkdir -p "$home/config" "$home/cache" "$home/data" "$home/music"
printf 'XDG_MUSIC_DIR="%s"\n' "$home/music" >"$home/config/user-dirs.dirs"

echo "Saving a $song_seconds s song from the time-shift buffer ($runs runs; the station $speed x faster than it plays)"
status=0
XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/data" \
  "$driver" --url "$KESTREL_RADIO_SERVER/streams/kestrel-mp3" --source "$media/kestrel-mp3.mp3" \
  --song-seconds "$song_seconds" --runs "$runs" >"$work/out" 2>"$work/err" || status=$?
grep -v '^result ' "$work/out" || true
result=$(sed -n 's/^result //p' "$work/out")
if [ -z "$result" ]; then
  echo "  no song was saved"
  tail -n 20 "$work/err"
  exit 1
fi
read -r save_median saved whole <<<"$result"
printf '  %-56s %s\n' "save request -> saved (median of $saved)" "$save_median ms (target < 1000)"
printf '  %-56s %s\n' "files of the station's own frames, whole and contiguous" "$whole of $runs (target $runs of $runs)"
table_row "save a ${song_seconds} s song: request -> saved" "$save_median ms" "< 1000 ms" "-"
table_row "save a ${song_seconds} s song: files of the station's contiguous frames" "$whole of $runs" "all" "-"
exit "$status"
