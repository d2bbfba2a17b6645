#!/usr/bin/env bash
# Runs a Windows program under the build's throwaway Wine prefix:
#   wine-run.sh PROGRAM.exe [ARGS...]
# WINE_ROOT defaults to a "wine" folder beside the program's build tree.
set -euo pipefail
prog=$1; shift
export WINE_ROOT=${WINE_ROOT:-$(cd "$(dirname "$prog")" && pwd)/wine}
source "$(dirname "$0")/wine-env.sh"
rc=0
wine "$prog" "$@" || rc=$?
exit $rc
