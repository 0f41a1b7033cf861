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
# $KESTREL_DEMO_SECONDS seconds (default 15).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"

work=$(mktemp -d /tmp/kestrel-demo-XXXXXX)
server_pid=""
program_pid=""
xvfb_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null || true
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

if [ -n "${DISPLAY:-}" ]; then
  build/kestrel-radio "$@" &
  program_pid=$!
  wait "$program_pid" || true
  program_pid=""
  exit 0
fi

# No display: a private one, and a screenshot to show what it drew.
source "$root/scripts/private-display.sh"
start_private_display "$work"
export QT_QPA_PLATFORM=xcb

screenshot=${KESTREL_DEMO_SCREENSHOT:-$root/build/demo-screenshot.png}
seconds=${KESTREL_DEMO_SECONDS:-15}
build/kestrel-radio "$@" &
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
