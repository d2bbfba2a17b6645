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
ln -sfn "$prog_dir" "$WINEPREFIX/dosdevices/p:"
rc=0
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  # Without a display Wine creates no windows at all (a message box returns
  # at once): give the program a virtual one, and let Wine's processes of
  # that display end with it.
  xvfb-run -a -s "-screen 0 1024x768x24" \
    sh -c 'wine "$@"; rc=$?; wineserver -k 2>/dev/null; exit $rc' wine "P:\\$(basename "$prog")" "$@" \
    || rc=$?
else
  wine "P:\\$(basename "$prog")" "$@" || rc=$?
fi
exit $rc
