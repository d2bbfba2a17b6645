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
wine "P:\\$(basename "$prog")" "$@" || rc=$?
exit $rc
