#!/usr/bin/env bash
# Runs the in-process tests of the Win32 windows under Wine on a virtual
# display of their own.
#   run_gui_tests.sh GUI_TESTS.EXE OUT_DIR
set -euo pipefail
exe=$1 out=$2
top=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$out"
export WINE_ROOT="$(cd "$out" && pwd)/wine"
source "$top/scripts/wine-env.sh"
# Windows open in a Wine desktop window, which also holds the notification
# area the main window's tray icon goes to.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
source "$top/tests/e2e/display.sh"
cleanup() {
  wineserver -k 2>/dev/null || true  # this prefix's server only
  stop_display
}
trap cleanup EXIT
start_display
wine "$exe"
