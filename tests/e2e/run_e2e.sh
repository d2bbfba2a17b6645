#!/usr/bin/env bash
# Runs end-to-end tests: the real Scourly.exe under Wine on a virtual
# display of its own, driven by a test driver from another process.
#   run_e2e.sh SCOURLY.EXE DRIVER.EXE OUT_DIR DPI [SHOTS]
# OUT_DIR holds the Wine prefix (reused between runs), the test drive T:,
# the Recycle Bin (the XDG trash) and the screenshots
# (OUT_DIR/SHOTS/*.png; SHOTS is "screenshots" unless given).
set -euo pipefail
# A step that fails says which, so a failed run on a clean machine can be read.
trap 'echo "run_e2e.sh: line $LINENO failed (exit $?): $BASH_COMMAND" >&2' ERR
exe=$1 driver=$2 out=$3 dpi=${4:-96} shots=${5:-screenshots}
top=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)

export WINE_ROOT="$out/wine"
source "$top/scripts/wine-env.sh"

# The prefix's DPI, and a Wine desktop window that draws frames and
# captions (there is no window manager on the virtual display).
# A run that starts while the prefix's previous server is still going away
# can see a registry call fail: the settings are tried again, and a last
# failure shows what Wine said.
set_prefix() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f &&
    wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f &&
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f &&
    wineserver -w
}
# Set once per prefix (the marker names the DPI); a later run only waits
# until the previous run's server has gone.
marker="$WINEPREFIX/.scourly-e2e-settings-$dpi"
if [ ! -f "$marker" ]; then
  for attempt in 1 2 3; do
    if set_prefix >"$out/prefix.log" 2>&1; then break; fi
    if [ "$attempt" = 3 ]; then
      cat "$out/prefix.log" >&2
      exit 1
    fi
    echo "run_e2e.sh: the prefix's settings failed, trying again" >&2
    wineserver -k 2>/dev/null || true
    sleep 2
  done
  touch "$marker"
fi
wineserver -w

# A fresh test drive, Recycle Bin and program folder for every run.
find "$TEST_DRIVE" -mindepth 1 -delete
rm -rf "$XDG_DATA_HOME/Trash"
app_dir="$WINEPREFIX/drive_c/ScourlyE2E"
shots_dir="$WINEPREFIX/drive_c/e2e-shots"
shots_out="$out/$shots"
rm -rf "$app_dir" "$shots_dir"
rm -f "$shots_out"/*.png
mkdir -p "$app_dir" "$shots_dir" "$shots_out"
cp "$exe" "$app_dir/"
purgix="$(dirname "$exe")/Purgix.dll"
if [ -f "$purgix" ]; then cp "$purgix" "$app_dir/"; fi
cp "$driver" "$app_dir/"

# A display of our own.
source "$top/tests/e2e/display.sh"
watch_pid=""
source "$top/tests/support/link_maker.sh"
cleanup() {
  stop_link_maker
  if [ -n "$watch_pid" ]; then kill "$watch_pid" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true  # this prefix's server only
  stop_display
}
trap cleanup EXIT
start_display 1024x768
start_link_maker

# The driver asks for a screenshot by creating NAME.req; this loop takes it
# and deletes the request.
(
  while true; do
    for req in "$shots_dir"/*.req; do
      [ -e "$req" ] || continue
      name=$(basename "$req" .req)
      import -window root "$shots_out/$name.png" 2>/dev/null || true
      rm -f "$req"
    done
    nap 0.1
  done
) &
watch_pid=$!

rc=0
wine "C:\\ScourlyE2E\\$(basename "$driver")" "C:\\ScourlyE2E\\Scourly.exe" "$dpi" "C:\\e2e-shots" || rc=$?
echo "Screenshots: $shots_out"
exit $rc
