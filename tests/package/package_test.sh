#!/usr/bin/env bash
# The portable release as a Windows user gets it. scripts/package.sh makes
# the zip; it holds exactly the four files, its texts with CR LF line ends.
# Unpacked into a new folder of a Wine prefix of its own (not the build
# folder, so nothing from the build can help), Scourly.exe starts and writes
# settings.ini beside itself, and its command line answers /help and lists.
#   package_test.sh WIN_BUILD_DIR WORK_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
win=$1
work=$2
mkdir -p "$work"
work=$(cd "$work" && pwd)
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

rm -rf "$work/dist"
zip=$(WIN_BUILD_DIR="$win" DIST_DIR="$work/dist" bash "$top/scripts/package.sh" | tail -n1)
part() { sed -n "s/^#define SCOURLY_VERSION_$1 \([0-9][0-9]*\)\$/\1/p" "$top/res/version.h"; }
[ "$(basename "$zip")" = "Scourly-$(part MAJOR).$(part MINOR).$(part PATCH)-win64.zip" ] ||
  fail "the zip is named $(basename "$zip")"
[ -f "$zip" ] || fail "no zip at $zip"

python3 - "$zip" <<'PY' || fail "the zip's contents"
import sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
names = sorted(z.namelist())
assert names == ["LICENSE.txt", "Purgix.dll", "README.txt", "Scourly.exe"], names
for name in ("README.txt", "LICENSE.txt"):
    data = z.read(name)
    assert data.count(b"\n") > 10 and data.count(b"\n") == data.count(b"\r\n"), name + ": not CR LF"
    data.decode("utf-8")
readme = z.read("README.txt").decode("utf-8")
for words in ("settings.ini", "FList.txt", "/list TAB [/out FILE]", "/clean TAB [/permanent] [/out FILE]",
              "unneeded, recent, favorites, dead", "Exit codes"):
    assert words in readme, "README.txt does not mention " + words
assert "@VERSION@" not in readme
assert "Copyright (c) 2026 The Scourly developers" in z.read("LICENSE.txt").decode("utf-8")
assert z.read("Scourly.exe")[:2] == b"MZ" and z.read("Purgix.dll")[:2] == b"MZ"
PY

export WINE_ROOT="$work/wine"
source "$top/scripts/wine-env.sh"
folder="$WINEPREFIX/drive_c/Portable/Scourly"
rm -rf "$folder"
mkdir -p "$folder"
python3 -m zipfile -e "$zip" "$folder"
exe='C:\Portable\Scourly\Scourly.exe'

source "$top/tests/e2e/display.sh"
cleanup() {
  wineserver -k 2>/dev/null || true  # this prefix's server only
  stop_display
}
trap cleanup EXIT
start_display

# The window's first start writes the default settings beside the program.
(cd "$folder" && exec wine "$exe") &
window=$!
for _ in $(seq 300); do
  [ -s "$folder/settings.ini" ] && break
  kill -0 "$window" 2>/dev/null || break
  sleep 0.2
done
[ -s "$folder/settings.ini" ] || fail "Scourly.exe wrote no settings.ini beside itself"
grep -q '^\[options\]' "$folder/settings.ini" || fail "settings.ini holds no options"
wineserver -k 2>/dev/null || true
wait "$window" 2>/dev/null || true

cd "$folder"
status=0
wine "$exe" /help >"$work/help.txt" 2>"$work/help-errors.txt" || status=$?
[ "$status" = 0 ] || fail "/help ended with $status"
grep -q 'Scourly.exe /list TAB \[/out FILE\]' "$work/help.txt" || fail "/help printed no usage"

status=0
wine "$exe" /list recent /out 'C:\Portable\recent.csv' 2>"$work/list-errors.txt" || status=$?
[ "$status" = 0 ] || fail "/list recent ended with $status: $(cat "$work/list-errors.txt")"
head -c 26 "$WINEPREFIX/drive_c/Portable/recent.csv" | grep -q 'name,location,size,time' ||
  fail "/list wrote no report"
echo "package test passed: $zip"
