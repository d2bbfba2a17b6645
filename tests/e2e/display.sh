# Sourced: starts a virtual display of our own (Xvfb) and exports DISPLAY;
# stop_display ends it. Needs nothing from the caller's display.
display_pid=""
start_display() {
  local size=${1:-1024x768}
  local n
  for n in $(seq 140 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  display_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}
stop_display() {
  if [ -n "$display_pid" ]; then kill "$display_pid" 2>/dev/null || true; fi
  display_pid=""
}
