#!/usr/bin/env bash
# Runs one test program on a private Xvfb display, with a private PulseAudio
# whose null sink "kestrel_test" receives whatever the program plays.
set -euo pipefail

work=$(mktemp -d /tmp/kestrel-display-XXXXXX)
# Keeps the test's exit status; the sound server and the display are waited
# for, so that they are not still removing their files while the folder goes.
cleanup() {
  local status=$?
  if [ -n "${pulse_started:-}" ]; then
    pactl exit >/dev/null 2>&1 || true
    for _ in $(seq 1 100); do pulseaudio --check 2>/dev/null || break; sleep 0.05; done
  fi
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work" 2>/dev/null || { sleep 0.5; rm -rf "$work" || true; }
  exit "$status"
}
trap cleanup EXIT

exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
if command -v pulseaudio >/dev/null; then
  pulseaudio -n --daemonize=yes --exit-idle-time=-1 --system=false \
    -L "module-null-sink sink_name=kestrel_test" -L module-native-protocol-unix \
    >"$work/pulse.log" 2>&1 && pulse_started=1
  export PULSE_SINK=kestrel_test
fi

export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_QPA_PLATFORM=xcb
"$@"
