# Sourced: starts a virtual display of our own (Xvfb) and exports DISPLAY;
# stop_display ends it. Xvfb picks a free display number itself (-displayfd),
# so runs side by side never share a display.
display_pid=""
start_display() {
  local size=${1:-1024x768}
  local numfile
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  display_pid=$!
  local n=""
  for _ in $(seq 100); do
    n=$(head -n1 "$numfile" 2>/dev/null || true)
    [ -n "$n" ] && break
    sleep 0.1
  done
  rm -f "$numfile"
  if [ -z "$n" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$n"
}
stop_display() {
  if [ -n "$display_pid" ]; then kill "$display_pid" 2>/dev/null || true; fi
  display_pid=""
}
