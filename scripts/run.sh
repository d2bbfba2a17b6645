#!/usr/bin/env bash
# Builds Scourly and starts it under Wine: on the current display, or on a
# virtual one (Xvfb) when there is none. Scourly.exe and Purgix.dll are
# installed into C:\Scourly\ of a throwaway Wine prefix inside the build
# folder (settings.ini and FList.txt are written there); the host's root
# folder is not mapped as a drive. A screenshot of the window is saved and
# its path printed. Runs until Scourly is closed or Ctrl-C.
#   BUILD_ROOT  build folder (default: build/ in the repository)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$top/build}

bash "$top/scripts/deps.sh"
# Only what running needs: Scourly.exe and Purgix.dll (the tests are built by
# scripts/test.sh).
cmake -S "$top" -B "$build/win" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/win" -j2 --target Scourly

export WINE_ROOT="$build/win/wine-run"
source "$top/scripts/wine-env.sh"
install_dir="$WINEPREFIX/drive_c/Scourly"
mkdir -p "$install_dir"
cp "$build/win/bin/Scourly.exe" "$install_dir/"
if [ -f "$build/win/bin/Purgix.dll" ]; then cp "$build/win/bin/Purgix.dll" "$install_dir/"; fi

xvfb_pid=""
wine_pid=""
cleanup() {
  trap - INT TERM EXIT
  if [ -n "$wine_pid" ] && kill -0 "$wine_pid" 2>/dev/null; then
    wineserver -k 2>/dev/null || true  # this prefix's server only
  fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup INT TERM EXIT

if [ -z "${DISPLAY:-}" ]; then
  source "$top/tests/e2e/display.sh"
  start_display 1280x900
  xvfb_pid=$display_pid
  echo "No display: Scourly runs on the virtual display $DISPLAY"
fi

if [ -n "$xvfb_pid" ]; then
  # No window manager on the virtual display: a Wine desktop window draws
  # the frames and captions.
  (cd "$install_dir" && exec wine explorer /desktop=Scourly,1280x900 'C:\Scourly\Scourly.exe') &
else
  (cd "$install_dir" && exec wine 'C:\Scourly\Scourly.exe') &
fi
wine_pid=$!

# Wait for the main window, then take its picture.
shot="$build/win/screenshot-run.png"
window=""
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name '^Scourly( - Wine desktop)?$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$wine_pid" 2>/dev/null || break
  sleep 0.2
done
if [ -n "$window" ]; then
  sleep 1.5
  import -window "$window" "$shot" && echo "Screenshot: $shot"
else
  echo "The Scourly window did not appear" >&2
fi
echo "Scourly is running (Ctrl-C to stop)."
wait "$wine_pid" || true
wine_pid=""
