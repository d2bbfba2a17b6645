#!/usr/bin/env bash
# Runs a Windows program under the build's throwaway Wine prefix:
#   wine-run.sh PROGRAM.exe [ARGS...]
# The program's folder becomes drive P:, and the program runs as P:\NAME.exe.
# WINE_ROOT defaults to a "wine" folder beside the program's build tree.
set -euo pipefail
prog=$1; shift
export WINE_ROOT=${WINE_ROOT:-$(cd "$(dirname "$prog")" && pwd)/wine}
source "$(dirname "$0")/wine-env.sh"
prog_dir=$(cd "$(dirname "$prog")" && pwd)
# A test run starts on an empty test drive (what a run leaves, links
# included, never reaches the next).
if [ "${SCOURLY_FRESH_TEST_DRIVE:-0}" = 1 ]; then find "$TEST_DRIVE" -mindepth 1 -delete; fi
ln -sfn "$prog_dir" "$WINEPREFIX/dosdevices/p:"
source "$(dirname "$0")/../tests/support/link_maker.sh"
start_link_maker
rc=0
xvfb_pid=""
stop_display() {
  stop_link_maker
  if [ -n "$xvfb_pid" ]; then
    # Wine's processes of this prefix end with the display they were drawing on.
    wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null; then
  # Without a display Wine creates no windows at all (a message box returns
  # at once): give the program a virtual one. Xvfb picks a free display
  # number itself and writes it to the file.
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap stop_display EXIT
  for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$number_file")"
  rm -f "$number_file"
fi
trap stop_display EXIT
wine "P:\\$(basename "$prog")" "$@" || rc=$?
exit $rc
