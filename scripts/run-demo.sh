#!/usr/bin/env bash
# Runs Kestrel Radio against its own station server on this machine.
#
#   scripts/run-demo.sh [program arguments...]
#
# Installs what is missing, builds, starts the local station server with the
# demo catalogue on free loopback ports, and starts the program pointed at
# it. On a desktop the program opens on your display and the server stops
# when you end the program. Without a display ($DISPLAY empty) it runs on a
# private Xvfb display, saves a screenshot of the window (to
# build/demo-screenshot.png, or $KESTREL_DEMO_SCREENSHOT) and ends after
# $KESTREL_DEMO_SECONDS seconds (default 15); it also plays into a private
# sound server and saves the first seconds of what it played (to
# build/demo-audio.wav, or $KESTREL_DEMO_AUDIO).
#
# With $KESTREL_DEMO_PAGES set to a folder, the headless run then also
# photographs each of the four pages there (page-0.png ... page-3.png), each
# opened by a start with a private profile whose last page is that one.
#
# The terminal shows the script's lines and the program's own; the build and
# the libraries' chatter (the web engine, the sound system) go to
# build/demo.log.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
mkdir -p build
log=$root/build/demo.log
: >"$log"
echo "Building (details in $log)..."
scripts/install-deps.sh >>"$log" 2>&1
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >>"$log" 2>&1
cmake --build build --parallel "$(nproc)" >>"$log" 2>&1 || { echo "The build failed; see $log"; exit 1; }

# The program's own messages carry their category (kestrel.*); everything
# else it prints comes from libraries and goes to the log only.
export QT_MESSAGE_PATTERN='%{category}: %{message}'
program_output() { tee -a "$log" | grep --line-buffered '^kestrel' || true; }

work=$(mktemp -d /tmp/kestrel-demo-XXXXXX)
server_pid=""
program_pid=""
xvfb_pid=""
recorder_pid=""
pulse_started=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null || true
  [ -n "$recorder_pid" ] && kill "$recorder_pid" 2>/dev/null && wait "$recorder_pid" 2>/dev/null || true
  [ -n "$pulse_started" ] && pactl exit >/dev/null 2>&1 || true
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The station server, on free ports; it writes them to the ready file once
# all three sites listen.
build/kestrel-station-server --listen 127.0.0.1 --port 0 --music-port 0 --promo-port 0 \
  --ready-file "$work/ready" >"$work/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 1 200); do
  [ -s "$work/ready" ] && grep -q '^promo=' "$work/ready" && break
  kill -0 "$server_pid" 2>/dev/null || { echo "The station server did not start:"; cat "$work/server.log"; exit 1; }
  sleep 0.1
done
[ -s "$work/ready" ] || { echo "The station server did not get ready in time."; exit 1; }
port_of() { sed -n "s/^$1=//p" "$work/ready"; }
export KESTREL_RADIO_SERVER="http://127.0.0.1:$(port_of station)"
export KESTREL_MUSIC_SITE="http://127.0.0.1:$(port_of music)"
export KESTREL_PROMO_SITE="http://127.0.0.1:$(port_of promo)"
echo "Station server: $KESTREL_RADIO_SERVER (music site $KESTREL_MUSIC_SITE, promotion site $KESTREL_PROMO_SITE)"

# The web pages' engine refuses to run as root with its sandbox on.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1

echo "Program log: $log"
if [ -n "${DISPLAY:-}" ]; then
  build/kestrel-radio "$@" > >(program_output) 2>&1 &
  program_pid=$!
  wait "$program_pid" || true
  program_pid=""
  exit 0
fi

# No display: a private one, and a screenshot to show what it drew.
source "$root/scripts/private-display.sh"
start_private_display "$work"
export QT_QPA_PLATFORM=xcb

# ... and a private sound server whose null sink records what it plays.
audio=${KESTREL_DEMO_AUDIO:-$root/build/demo-audio.wav}
if pulseaudio -n --daemonize=yes --exit-idle-time=-1 --system=false \
    -L "module-null-sink sink_name=kestrel_demo" -L module-native-protocol-unix >>"$log" 2>&1; then
  pulse_started=1
  export PULSE_SINK=kestrel_demo
  parecord -d kestrel_demo.monitor --file-format=wav "$audio" >>"$log" 2>&1 &
  recorder_pid=$!
fi

screenshot=${KESTREL_DEMO_SCREENSHOT:-$root/build/demo-screenshot.png}
seconds=${KESTREL_DEMO_SECONDS:-15}
build/kestrel-radio "$@" > >(program_output) 2>&1 &
program_pid=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Kestrel Radio' >/dev/null 2>&1 || true
# Give the page time to fetch its station list and draw; the download dialog,
# which carries the title too, has gone by then.
sleep 6
window=$(xdotool search --onlyvisible --name '^Kestrel Radio' 2>/dev/null | head -n1 || true)
if [ -n "$window" ]; then
  import -window "$window" "$screenshot"
else
  import -window root "$screenshot"
fi
echo "Screenshot of the window: $screenshot"
sleep "$((seconds > 6 ? seconds - 6 : 0))"
kill -TERM "$program_pid" 2>/dev/null || true
wait "$program_pid" || true
program_pid=""
if [ -n "$recorder_pid" ]; then
  kill "$recorder_pid" 2>/dev/null || true
  wait "$recorder_pid" 2>/dev/null || true
  recorder_pid=""
  echo "What it played: $audio"
fi

if [ -n "${KESTREL_DEMO_PAGES:-}" ]; then
  mkdir -p "$KESTREL_DEMO_PAGES"
  domain=$(sed -n 's/.*kMakerDomain\[\] = "\(.*\)";/\1/p' build/generated/BuildConfig.h)
  for page in 0 1 2 3; do
    export XDG_CONFIG_HOME="$work/pages/config" XDG_DATA_HOME="$work/pages/data"
    mkdir -p "$XDG_CONFIG_HOME/$domain"
    printf '[Settings]\nLastCategory=%s\n' "$page" >"$XDG_CONFIG_HOME/$domain/Kestrel Radio by $domain.ini"
    build/kestrel-radio > >(program_output) 2>&1 &
    program_pid=$!
    timeout 30 xdotool search --sync --onlyvisible --name '^Kestrel Radio' >/dev/null 2>&1 || true
    sleep 7
    window=$(xdotool search --onlyvisible --name '^Kestrel Radio' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && import -window "$window" "$KESTREL_DEMO_PAGES/page-$page.png"
    kill -TERM "$program_pid" 2>/dev/null || true
    wait "$program_pid" || true
    program_pid=""
  done
  echo "The four pages: $KESTREL_DEMO_PAGES/page-[0-3].png"
fi
