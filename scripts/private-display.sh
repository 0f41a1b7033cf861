# Sourced by scripts that need a display of their own.
#
# start_private_display WORK: starts Xvfb on a free display, logging to
# WORK/xvfb.log, and exports DISPLAY and a private XDG_RUNTIME_DIR under
# WORK. Sets xvfb_pid for the caller's clean-up.
start_private_display() {
  local work=$1
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  [ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; return 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
}
